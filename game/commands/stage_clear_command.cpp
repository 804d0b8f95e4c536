// The stage-clear command: the play ends as cleared, with the part to play
// next and, when asked, the world-map position to return to.
#include <algorithm>

#include "base/checked_access.h"
#include "game/commands/command_workers.h"
#include "game/commands/flow_executors.h"
#include "game/flows/flow_instance.h"
#include "game/stage/stage_play.h"
#include "model/definitions/command.h"
#include "model/stage/world_map.h"
#include "model/user/save_data.h"

namespace {

enum eNextPart { NEXTPART_FOLLOWING, NEXTPART_NUMBER, NEXTPART_WORLD_CLEAR };

int Param(const cEdCommand& command, int i) { return CheckedAt(command.m_vParam, i); }

// A map coordinate within 0 .. size - 1: a negative value from a damaged
// command would leave the world map's cursor outside the map.
int MapCell(int value, int size) { return std::clamp(value, 0, std::max(size - 1, 0)); }

}  // namespace

int ExecStageClear(const cEdCommand& command) {
  cStagePlay& stage = *g_pStageScene;
  switch (Param(command, 0)) {
    case NEXTPART_FOLLOWING: stage.m_nNextPart = g_SaveData.m_nSeriesNo + 1; break;
    case NEXTPART_NUMBER: stage.m_nNextPart = Param(command, 1); break;
    case NEXTPART_WORLD_CLEAR: stage.m_nNextPart = 0; break;
    default: break;
  }
  if (Param(command, 2) != 0) {
    g_SaveData.m_nMapX = MapCell(Param(command, 3), g_WorldMap.m_nWidth);
    g_SaveData.m_nMapY = MapCell(Param(command, 4), g_WorldMap.m_nHeight);
    g_SaveData.m_nMapPoint = 0;
  }
  return 1;
}

void FlowCmdStageClear(cActor*, cCommandInstance& command) {
  g_pStageScene->m_nEndRequest = ExecStageClear(*command.m_pCommand);
}
