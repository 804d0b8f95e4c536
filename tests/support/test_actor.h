// An actor for tests of the actor layer: it clamps to the map like a
// character, records the triggers it fires and the flow runs asked of it,
// and can be set up in one call at a stage cell with a 32 x 32 box.
#pragma once

#include <vector>

#include "game/objects/actor.h"
#include "model/definitions/chara.h"

class TestActor : public cActor {
 public:
  int ConstrainX() override { return ClampToStageX(2); }
  int ConstrainY() override { return ClampToStageY(2); }
  void FireTrigger(int nTrigger) override { m_vTriggers.push_back(nTrigger); }
  int RunFlows(bool bDeathOnly) override {
    m_vFlowRuns.push_back(bDeathOnly);
    return 0;
  }
  cItem* GetDropItem() override { return m_pDropItem; }

  // InitCommon, a 32 x 32 box and sprite, the definition's size scale, and
  // the box at stage cell (column, row).
  void SetUp(const cEdChara& def, int nColumn, int nRow, int nId = 1) {
    InitCommon(&def, 0, 0, 0);
    InitBase(nId, def.m_nControl, def.m_nPlayerNo, def.m_nTeam, def.m_nGraphicNo, nullptr, 0, 0, 0, 32, 32, 32,
             32, 0, def.m_nFlying, 0);
    SetBodyBox(true, 32, 32);
    SetScale(def.m_nScale, 1);
    PlaceAtTile(nColumn, nRow);
  }

  std::vector<int> m_vTriggers;
  std::vector<bool> m_vFlowRuns;
  cItem* m_pDropItem = nullptr;
};
