// The warp, shared by the flow command and the item command: moves the
// actor at once by a direction and distance (from itself or from its
// target) or to coordinates, and undoes the move when it leaves the stage's
// movable range or ends blocked.
#include "game/commands/command_workers.h"
#include "game/core/numeric.h"
#include "game/objects/actor.h"
#include "game/stage/stage_play.h"
#include "model/definitions/command.h"
#include "model/definitions/move.h"

namespace {

enum eWarpMode { WARP_BY_DIRECTION, WARP_FROM_TARGET, WARP_TO_COORDINATES };
enum eWarpCoord { WARPCOORD_RELATIVE, WARPCOORD_STAGE_CELL, WARPCOORD_SCREEN };

// Moves the box by distance D in resolved direction d, constraining each axis moved.
void ShiftByDirection(cActor& actor, int d, double distance) {
  double ux = 0, uy = 0;
  if (!DirectionUnit(d, ux, uy)) return;
  const double dx = distance * ux, dy = distance * uy;
  if (dx != 0) {
    actor.m_dX += dx;
    actor.ConstrainX();
  }
  if (dy != 0) {
    actor.m_dY += dy;
    actor.ConstrainY();
  }
}

}  // namespace

int ExecWarp(cActor* pActor, const cEdCommand& command) {
  const cEdMove* move = command.m_pMove.get();
  if (!pActor || !move) return 0;
  cActor& actor = *pActor;
  const double savedX = actor.m_dX, savedY = actor.m_dY;
  const double savedRight = actor.m_dRight, savedBottom = actor.m_dBottom;
  // Half-blocks, whatever unit the move names.
  const double distance =
      (static_cast<double>(move->m_nDistanceCoef) * actor.m_nLinearIndex + move->m_nDistance) * 16;
  const cSpriteRect& own = actor.m_SpriteRect;
  switch (move->m_nPositionMode) {
    case WARP_BY_DIRECTION:
      ShiftByDirection(actor, actor.ResolveDirection(move->m_nDirection), distance);
      break;
    case WARP_FROM_TARGET: {
      const cActor* target = actor.m_pTarget;
      if (!target) return 0;
      const cSpriteRect& other = target->m_SpriteRect;
      // Sprite centre on the target's sprite centre, then on in the target's direction.
      actor.m_dX = target->m_dX - other.m_nOffX + other.m_nDrawW / 2 + own.m_nOffX - own.m_nDrawW / 2;
      actor.m_dY = target->m_dY - other.m_nOffY + other.m_nDrawH / 2 + own.m_nOffY - own.m_nDrawH / 2;
      actor.ConstrainX();
      actor.ConstrainY();
      ShiftByDirection(actor, target->ResolveDirection(move->m_nDirection), distance);
      break;
    }
    case WARP_TO_COORDINATES: {
      int h = move->m_nTargetCellX * 32 + move->m_nTargetDotX;
      int v = move->m_nTargetCellY * 32 + move->m_nTargetDotY;
      if (actor.m_nFacing == 1 && move->m_bMirrorX) h = -h;
      if (actor.m_nFacing == 1 && move->m_bMirrorY) v = -v;
      switch (move->m_nCoordKind) {
        case WARPCOORD_RELATIVE:
          actor.m_dX += h;
          actor.m_dY += v;
          break;
        case WARPCOORD_STAGE_CELL:
          actor.PlaceAtTileX(move->m_nTargetCellX);
          actor.PlaceAtTileY(move->m_nTargetCellY);
          actor.m_dX += move->m_nTargetDotX;
          actor.m_dY += move->m_nTargetDotY;
          break;
        case WARPCOORD_SCREEN:
          actor.m_dX = own.m_nOffX + g_pStageScene->m_ScrollX.m_dPos + h;
          actor.m_dY = own.m_nOffY + g_pStageScene->m_ScrollY.m_dPos + v;
          break;
        default: break;
      }
      actor.ConstrainX();
      actor.ConstrainY();
      break;
    }
    default: break;
  }
  actor.UpdateScreenRect();
  if (!actor.IsInsideArea(false) || g_pStageScene->IsCharacterBlocked(actor)) {
    actor.m_dX = savedX;
    actor.m_dY = savedY;
    actor.m_dRight = savedRight;
    actor.m_dBottom = savedBottom;
    actor.ConstrainY();
    actor.ConstrainX();
    actor.UpdateScreenRect();
  } else if (!actor.m_bFlying) {
    actor.m_dVY = 0;
  }
  if (move->m_nPositionMode == WARP_TO_COORDINATES && move->m_nCoordKind == WARPCOORD_SCREEN) {
    actor.m_bPinX = actor.m_bPinY = 1;
    actor.m_nPinX = own.m_nLeft;
    actor.m_nPinY = own.m_nTop;
    return 1;
  }
  return 2;
}
