#include "shell/replay_requests.h"

#include <atomic>
#include <mutex>

#include "model/user/replay.h"
#include "model/user/save_data.h"
#include "model/stage/stage.h"
#include "model/settings/system_data.h"
#include "platform/main_thread.h"
#include "shell/close_request.h"
#include "shell/dialog_mode.h"
#include "shell/file_dialogs.h"
#include "shell/format.h"

namespace {

constexpr int kPlayStartReplay = 4;
constexpr int kVkF1 = 0x70;
constexpr int kVkF2 = 0x71;
constexpr int kQuietFrames = 60;

std::mutex g_HostMutex;
ReplayKeyHost g_Host;

ReplayKeyHost Host() {
  std::lock_guard lock(g_HostMutex);
  return g_Host;
}

// Frames left before the "nothing to save" sound may play again.
std::atomic<int> g_nQuietFrames{0};

// Served on the main thread while the caller waits; 0 when it no longer serves.
int RunRequest(const std::function<int()>& serve) {
  return static_cast<int>(platform::RunOnMainThread([&] { return static_cast<std::intptr_t>(serve()); }, 0));
}

}  // namespace

void SetReplayKeyHost(ReplayKeyHost host) {
  std::lock_guard lock(g_HostMutex);
  g_Host = std::move(host);
}

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

int CheckReplaySaveKeys() {
  const ReplayKeyHost host = Host();
  if ((host.playStart && host.playStart() == kPlayStartReplay) || g_SystemData.m_bRecordReplay == 0) return 0;
  if (g_nQuietFrames > 0) --g_nQuietFrames;
  const auto held = [&](int vk) { return host.keyHeld && host.keyHeld(vk); };
  int wParam = 0;
  if (held(kVkF1)) {
    wParam = 0;
  } else if (held(kVkF2)) {
    wParam = 1;
  } else {
    return 0;
  }
  const cReplayLog& log = wParam == 0 ? g_ReplayLog : g_PrevReplayLog;
  if (log.m_vDirValues.empty()) {
    if (g_nQuietFrames <= 0) {
      if (host.playSystemSound) host.playSystemSound(3);
      g_nQuietFrames = kQuietFrames;
    }
    return 0;
  }
  if (host.playSystemSound) host.playSystemSound(1);
  RunRequest([wParam] { return ServeSaveReplayRequest(wParam); });
  return 1;
}

int RequestReplayOpen() { return RunRequest(ServeOpenReplayRequest) != 0; }

int ServeSaveReplayRequest(int wParam) {
  std::string path;
  if (ChooseReplaySavePath(path, g_SaveData.m_strStagePath) == 0) return 0;
  cReplayLog& log = wParam == 0 ? g_ReplayLog : g_PrevReplayLog;
  cSaveData& snapshot = wParam == 0 ? g_ReplaySaveData : g_PrevReplaySaveData;
  if (log.SaveReplay(path.c_str(), g_LoadedStage, g_PlayStage, snapshot) == 0) {
    RequestMainWindowClose();
    return 0;
  }
  return 1;
}

int ServeOpenReplayRequest() {
  std::string path;
  const std::string filter = std::string("ReplayFile ( *.rpl4_* )") + '\0' + "*.rpl4_*" + '\0';
  const int chosen = RunInDialogMode(
      [&] { return OpenFileDialog(path, "user_data\\rpl4", "リプレイファイルの選択", filter.c_str(), "rpl4_*"); });
  if (chosen == 0) return 0;
  if (g_ReplayLog.LoadReplay(path.c_str(), g_LoadedStage, g_PlayStage, g_SaveData) == 0) {
    RequestMainWindowClose();
    return 0;
  }
  g_LoadedStage.m_strPath = path;
  return 1;
}
