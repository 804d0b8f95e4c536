#include "game/commands/effect_position.h"

#include "game/objects/actor.h"
#include "game/stage/stage_play.h"

namespace {

sMapPoint CentreOn(const cGameObject& object, double vx, double vy, int hw, int hh, int dx, int dy) {
  const cSpriteRect& r = object.m_SpriteRect;
  return {dx + (r.m_nLeft + r.m_nDrawW / 2) + vx - hw, dy + (r.m_nTop + r.m_nDrawH / 2) + vy - hh};
}

}  // namespace

sMapPoint GetEffectPosition(int w, int h, const cActor& actor, int nMode, int nColumn, int nRow, int dx, int dy) {
  const cStagePlay& stage = *g_pStageScene;
  const double vx = stage.m_ScrollX.m_dPos;
  const double vy = stage.m_ScrollY.m_dPos;
  const int hw = w / 2;
  const int hh = h / 2;
  switch (nMode) {
    case EFFECTPOS_SCREEN_CENTRE: return {dx + vx + 320 - hw, dy + vy + 240 - hh};
    case EFFECTPOS_ACTOR_CENTRE: return CentreOn(actor, vx, vy, hw, hh, dx, dy);
    case EFFECTPOS_HERO_CENTRE:
      if (stage.m_pHero) return CentreOn(*stage.m_pHero, vx, vy, hw, hh, dx, dy);
      break;
    case EFFECTPOS_SCREEN_CELL:
      return {vx + static_cast<double>(nColumn) * kTileSize + dx, static_cast<double>(nRow) * kTileSize + vy + dy};
    case EFFECTPOS_STAGE_CELL:
      return {(static_cast<double>(nColumn) + stage.m_ScrollX.m_nMargin) * kTileSize + dx,
              (static_cast<double>(nRow) + stage.m_ScrollY.m_nMargin) * kTileSize + dy};
  }
  return {static_cast<double>(dx), static_cast<double>(dy)};
}
