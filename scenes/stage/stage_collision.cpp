// Tile collision: an actor that moved one sub-step is pushed out of the
// solid cells of the play map edge by edge, its contact flags, floor cell
// and fall state are kept, and a deadly cell reports 2. The hero is also
// kept inside a view that scrolls by itself.
//
// Collision kinds compare as signed bytes, the larger winning: 0 passable,
// 1 solid, 2 solid for stage characters and deadly for the hero.
//
// Boxes reaching past the map's margin read the cells there as empty (one
// report line per stage) instead of closing the game.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "base/report.h"
#include "game/core/numeric.h"
#include "game/objects/map_cell_run.h"
#include "model/definitions/flow.h"
#include "model/stage/stage.h"
#include "scenes/stage/stage_scene.h"

namespace {

enum eFlyingVariant { FLY_THROUGH = 0, FLY_STOPPED = 1, FLY_KILLED = 2 };

bool FliesThrough(const cGameObject& actor) { return actor.m_bFlying && actor.m_nBlockMode == FLY_THROUGH; }
bool FliesAndStops(const cGameObject& actor) { return actor.m_bFlying && actor.m_nBlockMode == FLY_STOPPED; }
bool FliesAndDies(const cGameObject& actor) { return actor.m_bFlying && actor.m_nBlockMode == FLY_KILLED; }

// The definition's size scale as a signed byte, at least 1.
int SizeScale(const cActor& actor) { return std::max<int>(static_cast<std::int8_t>(actor.m_Chara.m_nScale), 1); }

// The best of several sampled cells: the larger kind wins; among equal
// kinds the first, or with a middle the one nearest to it.
struct sBestCell {
  cMapCell* pCell = nullptr;
  int nKind = INT_MIN;
  int nDistance = INT_MAX;

  void Offer(cMapCell& cell, int nKind, int nDistance = 0) {
    if (nKind > this->nKind || (nKind == this->nKind && nDistance < this->nDistance)) {
      pCell = &cell;
      this->nKind = nKind;
      this->nDistance = nDistance;
    }
  }
};

}  // namespace

cMapCell& cStageScene::CellAt(int nColumn, int nRow) {
  if (nColumn >= 0 && nColumn < m_ScrollX.m_nPitch && nRow >= 0 && nRow < m_ScrollY.m_nPitch) {
    const std::size_t index = static_cast<std::size_t>(MapIndex(nColumn, nRow));
    if (index < m_vPlayMap.size()) return m_vPlayMap[index];
  }
  if (!m_bOutsideCellReported) {
    ReportF("A box reaches past the map at cell (%d, %d): cells there count as empty", nColumn, nRow);
    m_bOutsideCellReported = 1;
  }
  // Fresh every time: nothing a caller marks on it outlives the call.
  m_OutsideCell = cMapCell();
  m_OutsideCell.m_Block.m_nGraphicNo = 0;
  m_OutsideCell.m_Block.m_nCollision = 0;
  return m_OutsideCell;
}

cMapCell& cStageScene::CellAtPixel(int px, int py) { return CellAt(px >> 5, py >> 5); }

int cStageScene::CollisionAt(cMapCell& cell, const cGameObject& object) {
  return GetCollision(cell, object.m_nTeam);
}

cMapCell& cStageScene::FindEdgeCell(cActor& actor, int x1, int y1, int x2, int y2) {
  const int n = SizeScale(actor) + 1;
  sBestCell best;
  if (x1 == x2) {
    for (int i = 0, y = y1; i < n; ++i, y += actor.m_nBaseHeight - 1) {
      cMapCell& cell = CellAtPixel(x1, y);
      best.Offer(cell, CollisionAt(cell, actor));
    }
  } else if (y1 == y2) {
    const int middle = (x1 + x2) >> 1;
    for (int i = 0, x = x1; i < n; ++i, x += actor.m_nBaseWidth - 1) {
      cMapCell& cell = CellAtPixel(x, y1);
      best.Offer(cell, CollisionAt(cell, actor), std::abs(x - middle));
    }
  }
  return best.pCell ? *best.pCell : CellAt(0, 0);
}

cMapCell& cStageScene::FindFloorCellCentred(cActor& actor) {
  const int s = SizeScale(actor);
  const int count = s % 2 != 0 ? s + 2 : s + 1;
  const int step = actor.m_nWidth / (count - 1);
  const int left = TruncToInt(actor.m_dX), right = TruncToInt(actor.m_dRight);
  const int y = TruncToInt(actor.m_dBottom);
  const int middle = (left + right) >> 1;
  sBestCell best;
  for (int i = 0, x = left; i < count; ++i, x += step) {
    const int sx = i == count - 1 ? right : x;
    cMapCell& cell = CellAtPixel(sx, y);
    best.Offer(cell, CollisionAt(cell, actor), std::abs(sx - middle));
  }
  return *best.pCell;
}

cMapCell& cStageScene::FindCornerCell(int nLeft, int nTop, int nRight, int nBottom, int nTeam) {
  sBestCell best;
  for (const auto& [column, row] : {std::pair{nLeft, nTop}, std::pair{nRight, nTop}, std::pair{nLeft, nBottom},
                                    std::pair{nRight, nBottom}}) {
    cMapCell& cell = CellAt(column, row);
    best.Offer(cell, GetCollision(cell, nTeam));
  }
  return *best.pCell;
}

bool cStageScene::TileRectCollides(const cGameObject& object) {
  cMapCell& cell =
      FindCornerCell(object.m_nCellLeft, object.m_nCellTop, object.m_nCellRight, object.m_nCellBottom, object.m_nTeam);
  return CollisionAt(cell, object) != 0;
}

int cStageScene::CollideTileSide(cActor& actor, bool bRight) {
  if (FliesThrough(actor)) return 0;
  const int edge = TruncToInt(bRight ? actor.m_dRight : actor.m_dX);
  cMapCell& cell = FindEdgeCell(actor, edge, TruncToInt(actor.m_dY), edge, TruncToInt(actor.m_dBottom));
  const int kind = CollisionAt(cell, actor);
  if (kind == 2 && !IsStageCharacter(actor)) return 2;
  if (kind != 1 && kind != 2) return 0;
  if (FliesAndDies(actor)) return 2;
  if (bRight) {
    actor.m_bHitRight = 1;
    actor.m_dAccelX = 0;
    actor.m_dX -= (edge & 31) + 1;
  } else {
    actor.m_bHitLeft = 1;
    actor.m_dAccelX = 0;
    actor.m_dX += 32 - (edge & 31);
  }
  actor.ConstrainX();
  actor.m_nWallSide = bRight ? 1 : 0;
  actor.FireTrigger(TRIGGER_HIT_BLOCK);
  actor.FireTrigger(TRIGGER_BLOCK_LEFT_RIGHT);
  actor.FireTrigger(bRight ? TRIGGER_BLOCK_RIGHT : TRIGGER_BLOCK_LEFT);
  return 0;
}

int cStageScene::CollideTileLeft(cActor& actor) { return CollideTileSide(actor, false); }

int cStageScene::CollideTileRight(cActor& actor) { return CollideTileSide(actor, true); }

int cStageScene::CollideTilesX(cActor& actor) {
  if (FliesThrough(actor)) return 0;
  const bool rightFirst = FliesAndStops(actor) || actor.m_dVX > 0;
  const int first = CollideTileSide(actor, rightFirst);
  if (first != 0) return first;
  return CollideTileSide(actor, !rightFirst);
}

int cStageScene::RecheckTilesX(cActor& actor) {
  if (FliesThrough(actor)) return 0;
  const int right = CollideTileRight(actor);
  if (right != 0) return right;
  return CollideTileLeft(actor);
}

int cStageScene::CollideTileTop(cActor& actor) {
  if (FliesThrough(actor)) return 0;
  const int y = TruncToInt(actor.m_dY);
  cMapCell& cell = FindEdgeCell(actor, TruncToInt(actor.m_dX), y, TruncToInt(actor.m_dRight), y);
  const int kind = CollisionAt(cell, actor);
  if (kind == 2 && !IsStageCharacter(actor)) return 2;
  if (kind != 1 && kind != 2) return 0;
  if (FliesAndDies(actor)) return 2;
  actor.HitCeiling();
  return 0;
}

cMapCell& cStageScene::BottomEdgeCell(cActor& actor) {
  const int y = TruncToInt(actor.m_dBottom);
  return FindEdgeCell(actor, TruncToInt(actor.m_dX), y, TruncToInt(actor.m_dRight), y);
}

int cStageScene::LandOnFloorCell(cActor& actor, int nKind) {
  if (nKind == 1 && FliesAndDies(actor)) return 2;
  // The hero stands on the cell under its middle among equal kinds.
  if (!IsStageCharacter(actor)) actor.m_pFloorCell = &FindFloorCellCentred(actor);
  actor.m_pLandedCell = actor.m_pFloorCell;
  if (nKind == 2 && (!IsStageCharacter(actor) || FliesAndDies(actor))) return 2;
  actor.LandOnBlock();
  return 0;
}

int cStageScene::CollideTileBottom(cActor& actor) {
  if (FliesThrough(actor)) return 0;
  cMapCell& cell = BottomEdgeCell(actor);
  actor.m_pFloorCell = &cell;
  const int kind = CollisionAt(cell, actor);
  if (kind == 0) {
    actor.m_pFloorCell = nullptr;
    // Counted up to the fall delay and kept there.
    if (actor.m_nFallCount < g_LoadedStage.m_nSubSteps8) ++actor.m_nFallCount;
    if (actor.m_nFallCount >= g_LoadedStage.m_nSubSteps8) {
      if (IsStageCharacter(actor)) {
        actor.m_bFalling = 1;
      } else if (!actor.m_bOnCharacter) {
        actor.m_bInAir = 1;
        actor.m_bFalling = 1;
      }
    }
    return 0;
  }
  if (kind != 1 && kind != 2) return 0;
  return LandOnFloorCell(actor, kind);
}

int cStageScene::CollideTilesY(cActor& actor) {
  if (FliesThrough(actor)) return 0;
  actor.m_pFloorCell = nullptr;
  const bool bottomFirst = FliesAndStops(actor) || actor.m_dVY > 0;
  const int first = bottomFirst ? CollideTileBottom(actor) : CollideTileTop(actor);
  if (first != 0) return first;
  return bottomFirst ? CollideTileTop(actor) : CollideTileBottom(actor);
}

int cStageScene::RecheckTilesY(cActor& actor) {
  if (FliesThrough(actor)) return 0;
  cMapCell& cell = BottomEdgeCell(actor);
  const int kind = CollisionAt(cell, actor);
  if (kind == 1 || kind == 2) {
    actor.m_pFloorCell = &cell;
    if (LandOnFloorCell(actor, kind) != 0) return 2;
  }
  return CollideTileTop(actor);
}

void cStageScene::KeepPlayerInViewX(cPlayer& player) {
  if (!m_ScrollX.m_bAuto && !player.m_bFlying) return;
  player.UpdateScreenRectForScroll();
  const cSpriteRect& rect = player.m_SpriteRect;
  if (rect.m_nLeft + rect.m_nOffX < 0) {
    player.m_bHitLeft = 1;
    player.m_dX = m_ScrollX.m_dPos;
    player.ConstrainX();
  } else if (rect.m_nRight - rect.m_nOffX + 1 >= 640) {
    player.m_bHitRight = 1;
    player.m_dX = m_ScrollX.m_dPos + 640 - player.m_nWidth - 1;
    player.ConstrainX();
  }
}

int cStageScene::KeepPlayerInViewY(cPlayer& player) {
  if (!m_ScrollY.m_bAuto && !player.m_bFlying) return 0;
  player.UpdateScreenRectForScroll();
  const cSpriteRect& rect = player.m_SpriteRect;
  if (rect.m_nTop + rect.m_nOffY < 0) {
    player.m_bHitTop = 1;
    player.m_dY = m_ScrollY.m_dPos;
    player.ConstrainY();
  } else if (rect.m_nBottom - rect.m_nOffY + 1 >= 480) {
    player.m_bHitBottom = 1;
    player.m_dY = m_ScrollY.m_dPos + 480 - player.m_nHeight - 1;
    player.ConstrainY();
    if (!player.m_bFlying) return 2;
  }
  return 0;
}

int cStageScene::IsCharacterBlocked(cActor& actor) {
  if (FliesThrough(actor)) return 0;
  if (TileRectCollides(actor)) return 1;
  return OverlapsBlockCharacterBox(actor);
}
