#include "game/commands/item_command_table.h"

#include "base/report.h"
#include "game/commands/command_workers.h"
#include "game/objects/actor.h"
#include "game/stage/stage_play.h"

namespace {

// The handler of a command whose worker's result does not matter here.
template <auto Worker>
int RunAndGoOn(cActor* pActor, const cEdCommand& command) {
  Worker(pActor, command);
  return 0;
}

int ItemCmdNone(cActor*, const cEdCommand&) { return 0; }

constexpr int kMaxItemCommandDepth = 8;
int g_nItemCommandDepth = 0;  // runs of item commands under way, one inside another

struct DepthGuard {
  DepthGuard() { ++g_nItemCommandDepth; }
  ~DepthGuard() { --g_nItemCommandDepth; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;
};

int ItemCmdChangeFlow(cActor* pActor, const cEdCommand& command) {
  ChangeActorFlows(pActor, &command, false);
  return 0;
}

// No command after a stage clear runs.
int ItemCmdStageClear(cActor*, const cEdCommand& command) {
  ExecStageClear(command);
  return 1;
}

// Within one pick-up, the first message opens and every later one follows on.
int ItemCmdMessage(cActor* pActor, const cEdCommand& command) {
  ExecMessage(pActor, command, g_pStageScene->m_bItemMessageFollows);
  g_pStageScene->m_bItemMessageFollows = 1;
  return 0;
}

}  // namespace

const std::array<tItemCommandHandler, ITEM_COMMAND_COUNT> g_ItemCommandTable = {
    ItemCmdNone,                         // ICMD_NONE
    ItemCmdChangeFlow,                   // ICMD_CHANGE_FLOW
    ItemCmdStageClear,                   // ICMD_STAGE_CLEAR
    RunAndGoOn<ExecGameWait>,            // ICMD_GAME_WAIT
    ItemCmdMessage,                      // ICMD_MESSAGE
    RunAndGoOn<ExecWarp>,                // ICMD_WARP
    RunAndGoOn<ExecSetTarget>,           // ICMD_SET_TARGET
    RunAndGoOn<ApplyStatusOperation>,    // ICMD_STATUS_OPERATION
    RunAndGoOn<ExecStatusOperation2>,    // ICMD_STATUS_OPERATION2
    RunAndGoOn<ExecGetItem>,             // ICMD_GET_ITEM
    RunAndGoOn<ExecChangeGraphic>,       // ICMD_CHANGE_GRAPHIC
    RunAndGoOn<ExecChangeBaseAnimeSet>,  // ICMD_CHANGE_BASE_ANIME_SET
    RunAndGoOn<ExecPlayAnime>,           // ICMD_PLAY_ANIME
    RunAndGoOn<ExecPlayEffect>,          // ICMD_PLAY_EFFECT
    RunAndGoOn<ExecPlayCharaEffect>,     // ICMD_PLAY_CHARA_EFFECT
    RunAndGoOn<ExecPlayScreenEffect>,    // ICMD_PLAY_SCREEN_EFFECT
    RunAndGoOn<ExecShowPicture>,         // ICMD_SHOW_PICTURE
    RunAndGoOn<ExecChangeScreenColor>,   // ICMD_CHANGE_SCREEN_COLOR
    RunAndGoOn<ExecChangeBackground>,    // ICMD_CHANGE_BACKGROUND
    RunAndGoOn<ExecPlaySound>,           // ICMD_PLAY_SOUND
    RunAndGoOn<ExecPlayBgm>,             // ICMD_PLAY_BGM
    RunAndGoOn<ExecRunCode>,             // ICMD_RUN_CODE
};

int RunItemCommands(cActor& hero, const std::vector<cEdCommand>& commands) {
  // An item that gets an item getting it again, directly or round a cycle,
  // would run without end: runs nested deeper than the limit are refused.
  if (g_nItemCommandDepth >= kMaxItemCommandDepth) {
    ReportF("item commands nested %d deep (an item gets itself): the inner item's commands do not run",
            g_nItemCommandDepth + 1);
    return 0;
  }
  const DepthGuard guard;
  g_pStageScene->m_bItemMessageFollows = 0;
  for (const cEdCommand& command : commands) {
    const int kind = command.m_nKind;
    const int result = kind >= 0 && kind < ITEM_COMMAND_COUNT
                           ? g_ItemCommandTable[static_cast<std::size_t>(kind)](&hero, command)
                           : 0;
    if (hero.m_nHp < 1) return 2;
    if (result != 0) return result;
  }
  return hero.m_nHp < 1 ? 2 : 0;
}
