// Block changes of the running map (the block-summon command) and who
// stands in a changed cell.
#include <algorithm>

#include "base/checked_access.h"
#include "game/core/numeric.h"
#include "game/objects/character.h"
#include "game/objects/map_cell_run.h"
#include "model/stage/common_palette.h"
#include "scenes/stage/stage_scene.h"

namespace {

enum eBlockChange { BLOCK_PLACE = 0, BLOCK_REMOVE = 1, BLOCK_TOGGLE_ONCE = 2 };

// The box of the actor overlaps the cell rectangle (edges count).
bool Overlaps(const cActor& actor, double left, double top, double right, double bottom) {
  return actor.m_dX <= right && actor.m_dRight >= left && actor.m_dY <= bottom && actor.m_dBottom >= top;
}

}  // namespace

void cStageScene::ChangeBlock(double x, double y, int, const cEdShot& shot, const cEdBlock& block) {
  const int column = TruncToInt(x + 16.5) >> 5;
  const int row = TruncToInt(y + 16.5) >> 5;
  // A point outside the map changes nothing (a column past the row would
  // reach into the next row).
  if (column < 0 || column >= m_ScrollX.m_nCells || row < 0 || row >= m_ScrollY.m_nCells) return;
  const int index = MapIndex(column, row);
  cMapCell& cell = CheckedAt(m_vPlayMap, index);
  if (cell.m_Block.m_bFixed) return;

  const auto place = [&]() -> bool {
    const cMapCell old = cell;
    cell.m_Block = block;
    cell.m_bAppeared = 0;
    if (CheckCellOccupants(index, column, row, shot) == 0) return true;
    cell = old;
    return false;
  };
  switch (shot.m_nBlockMode) {
    case BLOCK_PLACE:
      place();
      break;
    case BLOCK_REMOVE:
      cell.m_Block = CheckedAt(g_CommonPalette.m_vBlocks, 0);
      cell.m_bAppeared = 0;
      break;
    case BLOCK_TOGGLE_ONCE:
      if (std::find(m_vChangedCells.begin(), m_vChangedCells.end(), index) != m_vChangedCells.end()) return;
      if (cell.m_Block.m_nGraphicNo != 0 && CheckBlockCondition(cell)) {
        cell.m_Block = CheckedAt(g_CommonPalette.m_vBlocks, 0);
        cell.m_bAppeared = 0;
      } else if (!place()) {
        return;
      }
      m_vChangedCells.push_back(index);
      break;
    default:
      break;
  }
}

int cStageScene::CheckCellOccupants(int nIndex, int nColumn, int nRow, const cEdShot& shot) {
  cMapCell& cell = CheckedAt(m_vPlayMap, nIndex);
  const double left = nColumn * 32.0, right = nColumn * 32.0 + 32 - 0.1;
  const double top = nRow * 32.0, bottom = nRow * 32.0 + 32 - 0.1;
  const auto squeezed = [&](cActor& actor) {
    if (GetCollision(cell, actor.m_nTeam) == 0 || !Overlaps(actor, left, top, right, bottom)) return false;
    actor.m_nCrushGrace = 2;
    return true;
  };
  if (m_pHero && !m_pHero->m_bDying && squeezed(*m_pHero) && shot.m_bProtectPlayer) return 1;
  for (cCharacter& chara : m_CharacterList) {
    if (chara.m_bDying || !chara.m_bAppeared) continue;
    if (squeezed(chara) && shot.m_bProtectCharas) return 1;
  }
  return 0;
}
