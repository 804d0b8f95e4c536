// The commands that show message windows: the game wait (a window without
// text that holds the game for a time) and the message (a text window by
// the actor, the hero or the screen, kept by its ID, that may hold the game
// until a key or for a time).
#include <algorithm>
#include <list>
#include <string>

#include "base/checked_access.h"
#include "base/requests.h"
#include "game/commands/command_workers.h"
#include "game/commands/flow_executors.h"
#include "game/commands/pause_game.h"
#include "game/core/numeric.h"
#include "game/flows/flow_instance.h"
#include "game/objects/actor.h"
#include "game/overlays/message_window.h"
#include "game/overlays/text_codes.h"
#include "game/stage/stage_play.h"
#include "model/definitions/command.h"

namespace {

int Param(const cEdCommand& command, int i) { return CheckedAt(command.m_vParam, i); }

// Message parameters.
enum {
  MSG_POSITION,
  MSG_COLUMN,
  MSG_ROW,
  MSG_OFFSET_X,
  MSG_OFFSET_Y,
  MSG_KEEP_ON_SCREEN,
  MSG_DISPLAY_MODE,
  MSG_TIME,
  MSG_PAUSE,
  MSG_EXPAND,
  MSG_FIXED,
  MSG_REFRESH,
  MSG_HAS_ID,
  MSG_ID,
  MSG_BOX,
  MSG_CLOSE,
  MSG_REFRESH_INTERVAL
};

enum { DISPLAY_UNTIL_KEY, DISPLAY_UNTIL_STAGE_END, DISPLAY_FOR_TIME };

constexpr int SYSTEM_SOUND_MESSAGE = 11;

int FramesOfTenths(int nTenths) { return CapToInt(static_cast<std::int64_t>(nTenths) * 6); }

// The object a message stands by: the actor (positions 1 to 3), the hero (4 to 6) or none.
int OwnerId(const cActor& actor, int nPosition) {
  if (nPosition >= 1 && nPosition <= 3) return actor.m_nId;
  const cActor* hero = g_pStageScene->m_pHero;
  if (nPosition >= 4 && nPosition <= 6 && hero) return hero->m_nId;
  return 0;
}

void SetUpMessage(cMessageWindow& window, const cActor& actor, const cEdCommand& command, int bFollows,
                  int bKeepSurface) {
  const auto p = [&command](int i) { return Param(command, i); };
  window.Setup(MESSAGE_TEXT, command.m_strText.c_str(), 0, 0, 0, p(MSG_POSITION), p(MSG_COLUMN), p(MSG_ROW),
               p(MSG_OFFSET_X), p(MSG_OFFSET_Y), p(MSG_KEEP_ON_SCREEN), p(MSG_FIXED), p(MSG_DISPLAY_MODE),
               FramesOfTenths(p(MSG_TIME)), p(MSG_PAUSE), OwnerId(actor, p(MSG_POSITION)), bFollows, p(MSG_EXPAND),
               p(MSG_REFRESH), p(MSG_REFRESH_INTERVAL), p(MSG_BOX), p(MSG_HAS_ID), p(MSG_ID), bKeepSurface);
}

}  // namespace

void ExecGameWait(cActor*, const cEdCommand& command) {
  cStagePlay& stage = *g_pStageScene;
  const int frames = FramesOfTenths(Param(command, 0));
  cMessageWindow& window = stage.m_MessageList.emplace_back(stage.TextTarget());
  window.Setup(MESSAGE_NONE, "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, DISPLAY_FOR_TIME, frames, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  stage.m_Wait.nKind = 0;
  stage.m_Wait.bWaitForKey = 0;
  stage.m_Wait.nFrames = frames;
  stage.RunModalWait();
  stage.m_MessageList.pop_back();
}

void ExecMessage(cActor* pActor, const cEdCommand& command, int bFollows) {
  cStagePlay& stage = *g_pStageScene;
  if (stage.m_bQuit || !pActor) return;
  std::list<cMessageWindow>& windows = stage.m_MessageList;
  const bool close = Param(command, MSG_CLOSE) != 0;
  auto window = windows.end();
  bool reused = false;
  auto at = windows.end();  // where a new window goes
  if (Param(command, MSG_HAS_ID)) {
    const int id = Param(command, MSG_ID);
    const auto found = std::find_if(windows.begin(), windows.end(), [id](const cMessageWindow& w) {
      return w.m_bIdSwitch && w.m_nWindowId == id;
    });
    if (found == windows.end() && close) return;
    if (found != windows.end()) {
      if (close) {
        found->ReleaseSurface();
        windows.erase(found);
        return;
      }
      std::string text = command.m_strText;
      if (Param(command, MSG_EXPAND)) ExpandTextCodes(text);
      int width = 0, height = 0;
      MeasureMessageText(stage.TextTarget(), text, width, height);
      if (width == found->m_nWidth && height == found->m_nHeight) {
        window = found;
        reused = true;
      } else {
        found->ReleaseSurface();
        at = windows.erase(found);
      }
    }
  } else if (close) {
    return;
  }
  if (reused) {
    SetUpMessage(*window, *pActor, command, bFollows, 1);
  } else {
    window = windows.emplace(at, stage.TextTarget());
    SetUpMessage(*window, *pActor, command, bFollows, 0);
  }
  if (!Param(command, MSG_PAUSE)) return;

  switch (Param(command, MSG_DISPLAY_MODE)) {
    case DISPLAY_FOR_TIME: PauseGame(SetModalWait(1, 0, FramesOfTenths(Param(command, MSG_TIME)), bFollows)); break;
    default:
      // Shown until the stage ends yet holding the game: the advance key ends the hold.
      if (!bFollows) RequestSystemSound(SYSTEM_SOUND_MESSAGE);
      PauseGame(SetModalWait(1, 1, 0, bFollows));
      break;
  }
  window->ReleaseSurface();
  windows.erase(window);
}

void FlowCmdMessage(cActor* pActor, cCommandInstance& command) {
  const cFlowInstance* flow = g_pStageScene->m_pCurFlow;
  ExecMessage(pActor, *command.m_pCommand, flow ? flow->m_bFollowsMessage : 0);
}
