#include "game/objects/map_cell_run.h"

#include "game/draw/graphic_source.h"
#include "game/stage/stage_play.h"
#include "model/stage/map_cell.h"

std::int8_t GetCollision(cMapCell& cell, int nTeam) {
  const cEdBlock& block = cell.m_Block;
  if (!block.m_vCondition.empty() && !g_pStageScene->CheckBlockCondition(cell)) return 0;
  if (static_cast<std::int8_t>(block.m_nPassTeam) == nTeam) return 0;
  return block.m_nCollision;
}

void DrawMapCell(const cMapCell& cell, cDrawTarget& target, sSurface dst, int x, int y) {
  const cEdBlock& block = cell.m_Block;
  sGraphicSource src;
  GetGraphicSource(target, src, 0, block.m_nGraphicKind, block.m_nGraphicNo, block.m_nGraphicSub, nullptr, 0);
  target.Blt(dst, x, y, 32, 32, src.main, src.x, src.y, kColourKey);
  if (block.m_bOverlay == 1) {
    const int n = block.m_nOverlayCell;
    target.Blt(dst, x, y, 32, 32, {SURFACES_IMAGE, IMAGE_MARKS}, (n / 15) * 32, (n % 15) * 32, kColourKey);
  }
}
