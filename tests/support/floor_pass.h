// A minimal floor pass for tests that step actors over a map of solid
// blocks without the stage's tile collision: an actor moving down into a
// solid cell (under its box's horizontal middle) lands on it, and its floor
// cell is the solid cell under its feet while it does not rise. An actor at
// rest sinks into the floor by up to a sub-step's gravity before it lands
// again.
#pragma once

#include "game/objects/actor.h"
#include "game/objects/map_cell_run.h"
#include "game/stage/stage_play.h"

inline void FloorPass(cStagePlay& stage, cActor& actor) {
  if (actor.m_bFlying) return;
  const int column = (static_cast<int>(actor.m_dX) + actor.m_nWidth / 2) >> 5;
  if (actor.m_dVY >= 0 && GetCollision(stage.MapCell(column, static_cast<int>(actor.m_dBottom) >> 5), actor.m_nTeam)) {
    actor.LandOnBlock();
  }
  cMapCell& below = stage.MapCell(column, static_cast<int>(actor.m_dBottom + 1) >> 5);
  actor.m_pFloorCell = actor.m_dVY >= 0 && GetCollision(below, actor.m_nTeam) ? &below : nullptr;
}
