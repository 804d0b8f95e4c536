// The stage-clear command run from a flow: the play ends as cleared with the
// next part the command names, and the world-map position it asks for stays
// on the map.
#include <gtest/gtest.h>

#include <vector>

#include "game/flows/flow_instance.h"
#include "model/definitions/command.h"
#include "model/stage/world_map.h"
#include "model/user/save_data.h"
#include "support/definition_builders.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

struct StageClearCase {
  const char* name;
  std::vector<int> params;  // next part mode, number, set map, x, y
  int nextPart;             // -1: left as it was
  int mapX, mapY;           // -1: left as it was
};

class StageClearCommand : public testing::TestWithParam<StageClearCase> {};

TEST_P(StageClearCommand, EndsThePlayAsCleared) {
  const StageClearCase& c = GetParam();
  TestStage stage;
  const cSaveData savedProgress = g_SaveData;
  const cEdWorldMap savedMap = g_WorldMap;
  g_SaveData.m_nSeriesNo = 3;
  g_SaveData.m_nMapX = g_SaveData.m_nMapY = 2;
  g_SaveData.m_nMapPoint = 5;
  g_WorldMap.m_nWidth = 10;
  g_WorldMap.m_nHeight = 8;
  stage.m_nNextPart = 99;

  CommandBuilder builder(CMD_STAGE_CLEAR);
  for (std::size_t i = 0; i < c.params.size(); ++i) builder.Param(i, c.params[i]);
  cEdChara chara;
  TestActor actor;
  actor.SetUp(chara, 1, 1);
  stage.m_pCurActor = &actor;
  actor.BuildFlows({FlowBuilder(TRIGGER_NONE).Command(builder)}, 0, false, 0);
  actor.m_vFlows[0].Start();
  actor.m_vFlows[0].Step();

  EXPECT_EQ(stage.m_nEndRequest, 1);
  EXPECT_EQ(stage.m_nNextPart, c.nextPart < 0 ? 99 : c.nextPart);
  EXPECT_EQ(g_SaveData.m_nMapX, c.mapX < 0 ? 2 : c.mapX);
  EXPECT_EQ(g_SaveData.m_nMapY, c.mapY < 0 ? 2 : c.mapY);
  EXPECT_EQ(g_SaveData.m_nMapPoint, c.mapX < 0 ? 5 : 0);
  g_SaveData = savedProgress;
  g_WorldMap = savedMap;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StageClearCommand,
    testing::Values(StageClearCase{"TheFollowingPart", {0}, 4, -1, -1},
                    StageClearCase{"APartByNumber", {1, 7}, 7, -1, -1},
                    StageClearCase{"TheWorldCleared", {2}, 0, -1, -1},
                    StageClearCase{"AnUnknownModeKeepsTheNextPart", {3, 7}, -1, -1, -1},
                    StageClearCase{"AMapPosition", {0, 0, 1, 4, 6}, 4, 4, 6},
                    StageClearCase{"AMapPositionPastTheEdgeIsTheLastCell", {0, 0, 1, 10, 30}, 4, 9, 7},
                    StageClearCase{"ANegativeMapPositionIsTheFirstCell", {0, 0, 1, -3, -1}, 4, 0, 0}),
    [](const testing::TestParamInfo<StageClearCase>& info) { return info.param.name; });

}  // namespace
