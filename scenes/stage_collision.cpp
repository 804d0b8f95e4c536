// Tile collision: an actor that moved one sub-step is pushed out of the
// solid cells of the play map edge by edge, its contact flags, floor cell
// and fall state are kept, and a deadly cell reports 2. The hero is also
// kept inside a view that scrolls by itself.
//
// Boxes reaching past the map's margin read the cells there as empty (one
// report line per stage) instead of closing the game.
#include <climits>
#include <cstdlib>

#include "game/core/numeric.h"
#include "game/objects/map_cell_run.h"
#include "model/definitions/flow.h"
#include "model/stage/stage.h"
#include "scenes/stage_scene.h"
#include "shell/report.h"

namespace {

enum eFlyingVariant { FLY_THROUGH = 0, FLY_STOPPED = 1, FLY_KILLED = 2 };

bool FliesThrough(const cActor& actor) { return actor.m_bFlying && actor.m_nBlockMode == FLY_THROUGH; }
bool FliesAndDies(const cActor& actor) { return actor.m_bFlying && actor.m_nBlockMode == FLY_KILLED; }

int SizeScale(const cActor& actor) { return std::max<int>(static_cast<std::int8_t>(actor.m_Chara.m_nScale), 1); }

}  // namespace

cMapCell& cStageScene::CellAtPixel(int px, int py) {
  const int column = px >> 5, row = py >> 5;
  if (column >= 0 && column < m_ScrollX.m_nCells && row >= 0 && row < m_ScrollY.m_nCells)
    return m_vPlayMap[static_cast<std::size_t>(MapIndex(column, row))];
  if (!m_bReportedOutsideCell) {
    ReportF("A box reached past the map at cell (%d, %d): cells there count as empty", column, row);
    m_bReportedOutsideCell = 1;
  }
  m_OutsideCell = cMapCell();
  m_OutsideCell.m_Block.m_nGraphicNo = 0;
  m_OutsideCell.m_Block.m_nCollision = 0;
  return m_OutsideCell;
}

cMapCell& cStageScene::FindEdgeCell(cActor& actor, int x1, int y1, int x2, int y2) {
  const int n = SizeScale(actor) + 1;
  cMapCell* best = &CellAtPixel(x1, y1);
  if (x1 == x2) {
    int bestKind = INT_MIN;
    for (int i = 0, y = y1; i < n; ++i, y += actor.m_nBaseHeight - 1) {
      cMapCell& cell = CellAtPixel(x1, y);
      const int kind = GetCollision(cell, actor.m_nTeam);
      if (kind > bestKind) {
        bestKind = kind;
        best = &cell;
      }
    }
  } else if (y1 == y2) {
    int bestKind = INT_MIN;
    int bestDistance = INT_MAX;
    const int middle = (x1 + x2) >> 1;
    for (int i = 0, x = x1; i < n; ++i, x += actor.m_nBaseWidth - 1) {
      cMapCell& cell = CellAtPixel(x, y1);
      const int kind = GetCollision(cell, actor.m_nTeam);
      const int distance = std::abs(x - middle);
      if (kind > bestKind || (kind == bestKind && distance < bestDistance)) {
        bestKind = kind;
        bestDistance = distance;
        best = &cell;
      }
    }
  }
  return *best;
}

cMapCell& cStageScene::FindFloorCellCentred(cActor& actor) {
  const int s = SizeScale(actor);
  const int count = s % 2 != 0 ? s + 2 : s + 1;
  const int step = actor.m_nWidth / (count - 1);
  const int left = TruncToInt(actor.m_dX), right = TruncToInt(actor.m_dRight);
  const int y = TruncToInt(actor.m_dBottom);
  const int middle = (left + right) >> 1;
  cMapCell* best = nullptr;
  int bestKind = INT_MIN, bestDistance = INT_MAX;
  for (int i = 0; i < count; ++i) {
    const int x = i == count - 1 ? right : left + i * step;
    cMapCell& cell = CellAtPixel(x, y);
    const int kind = GetCollision(cell, actor.m_nTeam);
    const int distance = std::abs(x - middle);
    if (kind > bestKind || (kind == bestKind && distance < bestDistance)) {
      bestKind = kind;
      bestDistance = distance;
      best = &cell;
    }
  }
  return *best;
}

int cStageScene::CollideTileSide(cActor& actor, bool bRight) {
  if (FliesThrough(actor)) return 0;
  const int edge = TruncToInt(bRight ? actor.m_dRight : actor.m_dX);
  cMapCell& cell = FindEdgeCell(actor, edge, TruncToInt(actor.m_dY), edge, TruncToInt(actor.m_dBottom));
  const int kind = GetCollision(cell, actor.m_nTeam);
  if (kind == 2 && !IsStageCharacter(actor)) return 2;
  if (kind != 1 && kind != 2) return 0;
  if (FliesAndDies(actor)) return 2;
  actor.m_dAccelX = 0;
  if (bRight) {
    actor.m_bHitRight = 1;
    actor.m_dX -= (edge & 31) + 1;
  } else {
    actor.m_bHitLeft = 1;
    actor.m_dX += 32 - (edge & 31);
  }
  actor.ConstrainX();
  actor.m_nWallSide = bRight ? 1 : 0;
  actor.FireTrigger(TRIGGER_HIT_BLOCK);
  actor.FireTrigger(TRIGGER_BLOCK_LEFT_RIGHT);
  actor.FireTrigger(bRight ? TRIGGER_BLOCK_RIGHT : TRIGGER_BLOCK_LEFT);
  return 0;
}

int cStageScene::CollideTilesX(cActor& actor) {
  if (FliesThrough(actor)) return 0;
  const bool rightFirst = (actor.m_bFlying && actor.m_nBlockMode == FLY_STOPPED) || actor.m_dVX > 0;
  const int first = CollideTileSide(actor, rightFirst);
  if (first != 0) return first;
  return CollideTileSide(actor, !rightFirst);
}

int cStageScene::RecheckTilesX(cActor& actor) {
  if (FliesThrough(actor)) return 0;
  const int right = CollideTileSide(actor, true);
  if (right != 0) return right;
  return CollideTileSide(actor, false);
}

int cStageScene::CollideTileTop(cActor& actor) {
  if (FliesThrough(actor)) return 0;
  const int y = TruncToInt(actor.m_dY);
  cMapCell& cell = FindEdgeCell(actor, TruncToInt(actor.m_dX), y, TruncToInt(actor.m_dRight), y);
  const int kind = GetCollision(cell, actor.m_nTeam);
  if (kind == 2 && !IsStageCharacter(actor)) return 2;
  if (kind != 1 && kind != 2) return 0;
  if (FliesAndDies(actor)) return 2;
  actor.HitCeiling();
  return 0;
}

int cStageScene::LandOnFloorCell(cActor& actor, int kind) {
  if (kind == 2 && !IsStageCharacter(actor)) {
    actor.m_pLandedCell = actor.m_pFloorCell;
    return 2;
  }
  if (FliesAndDies(actor)) return 2;
  if (!IsStageCharacter(actor)) actor.m_pFloorCell = &FindFloorCellCentred(actor);
  actor.m_pLandedCell = actor.m_pFloorCell;
  actor.LandOnBlock();
  return 0;
}

int cStageScene::CollideTileBottom(cActor& actor) {
  if (FliesThrough(actor)) return 0;
  const int y = TruncToInt(actor.m_dBottom);
  cMapCell& cell = FindEdgeCell(actor, TruncToInt(actor.m_dX), y, TruncToInt(actor.m_dRight), y);
  actor.m_pFloorCell = &cell;
  const int kind = GetCollision(cell, actor.m_nTeam);
  if (kind == 0) {
    actor.m_pFloorCell = nullptr;
    if (++actor.m_nFallCount >= g_LoadedStage.m_nSubSteps8) {
      if (IsStageCharacter(actor)) {
        actor.m_bInAir = 1;
      } else if (!actor.m_bOnCharacter) {
        actor.m_bFalling = actor.m_bInAir = 1;
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
  const bool bottomFirst = (actor.m_bFlying && actor.m_nBlockMode == FLY_STOPPED) || actor.m_dVY > 0;
  const int first = bottomFirst ? CollideTileBottom(actor) : CollideTileTop(actor);
  if (first != 0) return first;
  return bottomFirst ? CollideTileTop(actor) : CollideTileBottom(actor);
}

int cStageScene::RecheckTilesY(cActor& actor) {
  if (FliesThrough(actor)) return 0;
  const int y = TruncToInt(actor.m_dBottom);
  cMapCell& cell = FindEdgeCell(actor, TruncToInt(actor.m_dX), y, TruncToInt(actor.m_dRight), y);
  const int kind = GetCollision(cell, actor.m_nTeam);
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
  const int left = TruncToInt(actor.m_dX), top = TruncToInt(actor.m_dY);
  const int right = TruncToInt(actor.m_dRight), bottom = TruncToInt(actor.m_dBottom);
  for (const auto& [x, y] : {std::pair{left, top}, std::pair{right, top}, std::pair{left, bottom}, std::pair{right, bottom}}) {
    if (GetCollision(CellAtPixel(x, y), actor.m_nTeam) != 0) return 1;
  }
  return OverlapsBlockCharacter(actor, -1);
}
