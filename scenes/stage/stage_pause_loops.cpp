// The in-stage loops: the pause loop, which shows the stage while a message,
// a game wait, a picture or an extra life holds the game, and the ranking
// display after a registration. Each runs on its thread object (thPause,
// thRanking), which runs the procedure on the game thread while the game
// waits in Join; so only one of them ever uses the stage and the graphics.
#include <optional>

#include "base/checked_access.h"
#include "base/close_request.h"
#include "base/input_state.h"
#include "base/requests.h"
#include "base/thread.h"
#include "graphics/device.h"
#include "model/settings/system_data.h"
#include "model/user/ranking.h"
#include "model/user/save_data.h"
#include "platform/clock.h"
#include "platform/thread_messages.h"
#include "scenes/front_end/menu_input.h"
#include "scenes/ranking_display.h"
#include "scenes/scene_manager.h"
#include "scenes/stage/stage_scene.h"
#include "shell/main_window.h"
#include "shell/replay_requests.h"

using namespace std::chrono_literals;

namespace {

// After a close has raised the quit flag, the pause loop ends itself this
// long after it saw the flag.
constexpr std::uint32_t kQuitGraceMs = 2000;
constexpr int kButtonHistory = 1;

// Takes the next message of the loop's queue; true when it asks the loop
// to end (WM_QUIT). Other messages are dropped.
bool TakeMessage(bool& bQuit) {
  platform::MSG msg;
  if (!platform::PeekMessage(&msg, platform::PM_REMOVE)) return false;
  bQuit = msg.message == platform::WM_QUIT;
  return true;
}

// One frame's pacing, surfaces and input of a loop.
void BeginLoopFrame(std::vector<cInputState>& inputs) {
  WaitFrameTime();
  if (!cSceneManager::RestoreLostSurfaces()) RequestMainWindowCloseForError();
  cSceneManager::PollInput(inputs);
}

// True when the wait is over; the frame is drawn otherwise.
bool StepWait(cStageScene& scene, const cInputState& input) {
  sModalWait& wait = scene.m_Wait;
  if (wait.nDelay > 0) {
    --wait.nDelay;
    return false;
  }
  if (wait.bWaitForKey) {
    // A decide still held from before the wait does not answer it.
    if (input.GetHistory(kButtonHistory, 1) & MENU_DECIDE) return false;
    if (!(input.wButton & MENU_DECIDE)) return false;
    RequestSystemSound(wait.nKind == 1 ? 12 : 1);
    scene.m_bHoldButtons = 1;
    return true;
  }
  return --wait.nFrames < 0;
}

}  // namespace

int StagePauseLoop(cStageScene* scene) {
  if (scene->m_bQuit) return 0;
  // The loop reads its own copy of the input: the game's stays as it was.
  std::vector<cInputState> inputs = g_InputStates;
  cInputState& input = CheckedAt(inputs, 0);
  input.ClearHistory();
  input.ResetKeyLogs();
  input.ClearDirection();
  input.ClearButtons();
  std::optional<std::uint32_t> quitSeenAt;
  for (;;) {
    bool bQuit = false;
    if (TakeMessage(bQuit)) {
      if (bQuit) break;
      continue;
    }
    if (!g_bActive) {
      platform::WaitMessage(1ms);  // frozen, not spinning, until active again
      continue;
    }
    if (scene->m_bQuit) {
      const std::uint32_t now = platform::timeGetTime();
      if (!quitSeenAt) quitSeenAt = now;
      if (now - *quitSeenAt >= kQuitGraceMs) {
        platform::PostThreadMessage(thPause.ThreadId(), platform::WM_QUIT, 0, 0);
      }
      platform::Sleep(1);  // on the game's clock, which counts the grace
      continue;
    }
    BeginLoopFrame(inputs);
    input.PushHistory();
    input.OneShotButtons(0);
    if (CheckReplaySaveKeys(g_SceneManager.m_nPlayStart)) continue;
    if (StepWait(*scene, input)) break;
    scene->Draw(0, 1, 0, 1);
    g_SceneManager.Present();
  }
  return 1;
}

int RankingLoop(cStageScene* scene) {
  const int mode = g_SceneManager.m_nPlayMode;
  g_SaveData.StepRankingKind(mode, 0);
  for (;;) {
    bool bQuit = false;
    if (TakeMessage(bQuit)) {
      if (bQuit) break;
      continue;
    }
    if (!g_bActive) {
      platform::WaitMessage(1ms);
      continue;
    }
    BeginLoopFrame(g_InputStates);
    cInputState& input = CheckedAt(g_InputStates, 0);
    input.OneShotButtons(0);
    input.ApplyAutoRepeat();
    if (input.wButton & MENU_DECIDE) {
      RequestSystemSound(1);
      break;
    }
    if ((input.wButton & MENU_RANKING_KIND) && g_SystemData.CountRankingKinds(mode) >= 2) {
      RequestSystemSound(6);
      g_SaveData.StepRankingKind(mode, 1);
    }
    scene->Draw(0, 1, 0, 1);
    const int kind = g_SaveData.m_nRankingKind;
    DrawRanking(g_RankingSet, &g_sdBackBuffer, 184, 64, kind, CheckedAt(scene->m_vRankPosition, kind));
    g_SceneManager.Present();
  }
  return 1;
}

int cStageScene::RunInStageLoop(cThread& thread, int (*loop)(cStageScene*)) {
  PublishPauseLoopQuitFlag(&m_bQuit);
  ++m_nInStageLoops;
  int result = 0;
  if (thread.Start([this, loop](cThread&) { return loop(this); })) {
    // The handshake: the loop's queue takes posts from now on.
    while (!platform::PostThreadMessage(thread.ThreadId(), platform::WM_APP, 0, 0)) platform::Sleep(0);
    result = thread.Join();
  }
  --m_nInStageLoops;
  PublishPauseLoopQuitFlag(nullptr);
  // A close during the loop ended it: the program closes now.
  if (m_bQuit) RequestMainWindowClose();
  if (m_nInStageLoops == 0) ApplyLoopErasures();
  return result;
}

void cStageScene::RunModalWait() { RunInStageLoop(thPause, StagePauseLoop); }

void cStageScene::ShowRankingTable() { RunInStageLoop(thRanking, RankingLoop); }
