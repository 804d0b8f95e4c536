// The stage-play scene as the game objects, flows and commands use it.
//
// g_pStageScene is the running stage-play scene. Its states, drawing and
// the rest of its members belong to the scene itself; this header holds what
// the palette entries and the item commands rely on.
#pragma once

#include <cstdint>

struct cMapCell;

class cStageScene {
 public:
  // 1 when the cell's block is present: it has no appearance conditions, or
  // they held once and the block keeps them (m_bConditionOnce with the cell's
  // m_bAppeared set), or they hold now for the hero (by the block's
  // m_nConditionMode: 0 all hold, 1 one holds, other modes never), which
  // sets the cell's m_bAppeared.
  int CheckBlockCondition(cMapCell& cell);

  // While an item's commands run: 1 once a message command has run, so that
  // the later messages of the same pick-up follow on from it.
  std::int32_t m_bItemMessageFollows = 0;
};

extern cStageScene* g_pStageScene;
