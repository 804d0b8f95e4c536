#include "game/commands/effect_position.h"

#include "game/core/numeric.h"
#include "game/objects/actor.h"
#include "game/stage/stage_play.h"

namespace {

sMapPoint CentreOn(const cGameObject& object, int vx, int vy, int hw, int hh, int dx, int dy) {
  const cSpriteRect& r = object.m_SpriteRect;
  return {dx + r.m_nLeft + r.m_nDrawW / 2 + vx - hw, dy + r.m_nTop + r.m_nDrawH / 2 + vy - hh};
}

}  // namespace

sMapPoint GetEffectPosition(int w, int h, const cActor& actor, int nMode, int nColumn, int nRow, int dx, int dy) {
  const cStagePlay& stage = *g_pStageScene;
  const int vx = TruncToInt(stage.m_ScrollX.m_dPos);
  const int vy = TruncToInt(stage.m_ScrollY.m_dPos);
  const int hw = w / 2;
  const int hh = h / 2;
  switch (nMode) {
    case EFFECTPOS_SCREEN_CENTRE: return {dx + vx + 320 - hw, dy + vy + 240 - hh};
    case EFFECTPOS_ACTOR_CENTRE: return CentreOn(actor, vx, vy, hw, hh, dx, dy);
    case EFFECTPOS_HERO_CENTRE:
      if (stage.m_pHero) return CentreOn(*stage.m_pHero, vx, vy, hw, hh, dx, dy);
      break;
    case EFFECTPOS_SCREEN_CELL: return {vx + nColumn * kTileSize + dx, nRow * kTileSize + vy + dy};
    case EFFECTPOS_STAGE_CELL:
      return {(nColumn + stage.m_ScrollX.m_nMargin) * kTileSize + dx, (nRow + stage.m_ScrollY.m_nMargin) * kTileSize + dy};
  }
  return {dx, dy};
}
