#include "shell/replay_requests.h"

#include <atomic>
#include <functional>

#include "base/close_request.h"
#include "base/format.h"
#include "base/requests.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/user/replay.h"
#include "model/user/save_data.h"
#include "platform/keyboard.h"
#include "platform/main_thread.h"
#include "shell/dialog_mode.h"
#include "shell/file_dialogs.h"

namespace {

constexpr int kPlayStartReplay = 4;
constexpr int kQuietFrames = 60;

bool Held(int vk) { return (platform::GetAsyncKeyState(vk) & 0x8000) != 0; }

// Frames left before the "nothing to save" sound may play again.
std::atomic<int> g_nQuietFrames{0};

// Served on the main thread while the caller waits; 0 when it no longer serves.
int RunRequest(const std::function<int()>& serve) {
  return static_cast<int>(platform::RunOnMainThread([&] { return static_cast<std::intptr_t>(serve()); }, 0));
}

}  // namespace

int ChooseReplaySavePath(std::string& path, const std::string& stageFile) {
  const std::string extension = ReplayExtension();
  path = ProposeReplayFileName(stageFile);
  std::string filter;
  FormatString(filter, "ReplayFile ( *.%s )", extension.c_str());
  filter.push_back('\0');
  filter += "*." + extension;
  filter.push_back('\0');
  return RunInDialogMode([&] {
    return SaveFileDialog(path, REPLAY_FOLDER, "保存先のファイル選択", filter.c_str(), extension.c_str(), 1);
  });
}

int CheckReplaySaveKeys(int nPlayStart) {
  if (nPlayStart == kPlayStartReplay || g_SystemData.m_bRecordReplay == 0) return 0;
  if (g_nQuietFrames > 0) --g_nQuietFrames;
  int wParam = 0;
  if (Held(platform::VK_F1)) {
    wParam = 0;
  } else if (Held(platform::VK_F1 + 1)) {
    wParam = 1;
  } else {
    return 0;
  }
  const cReplayLog& log = wParam == 0 ? g_ReplayLog : g_PrevReplayLog;
  if (log.m_vDirValues.empty()) {
    if (g_nQuietFrames <= 0) {
      RequestSystemSound(3);
      g_nQuietFrames = kQuietFrames;
    }
    return 0;
  }
  RequestSystemSound(1);
  RunRequest([wParam] { return ServeSaveReplayRequest(wParam); });
  return 1;
}

int RequestReplayOpen() { return RunRequest(ServeOpenReplayRequest) != 0; }

int ServeSaveReplayRequest(int wParam) {
  std::string path;
  if (ChooseReplaySavePath(path, g_SaveData.m_strStagePath) == 0) return 0;
  cReplayLog& log = wParam == 0 ? g_ReplayLog : g_PrevReplayLog;
  cSaveData& snapshot = wParam == 0 ? g_ReplaySaveData : g_PrevReplaySaveData;
  // A replay that cannot be written was told in a box; the play goes on.
  return log.SaveReplay(path.c_str(), g_LoadedStage, g_PlayStage, snapshot);
}

int ServeOpenReplayRequest() {
  std::string path;
  const std::string filter = std::string("ReplayFile ( *.rpl4_* )") + '\0' + "*.rpl4_*" + '\0';
  const int chosen = RunInDialogMode(
      [&] { return OpenFileDialog(path, "user_data\\rpl4", "リプレイファイルの選択", filter.c_str(), "rpl4_*"); });
  if (chosen == 0) return 0;
  if (g_ReplayLog.LoadReplay(path.c_str(), g_LoadedStage, g_PlayStage, g_SaveData) == 0) {
    RequestMainWindowCloseForError();
    return 0;
  }
  g_LoadedStage.m_strPath = path;
  return 1;
}
