#include "model/stage/stage_loader.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <utility>

#include "base/close_request.h"
#include "base/paths.h"
#include "base/report.h"
#include "model/settings/paths.h"
#include "model/stage/stage.h"
#include "platform/files.h"

namespace {

std::mutex g_PumpMutex;
StageLoadMessagePump g_Pump;

bool PumpMessages() {
  StageLoadMessagePump pump;
  {
    std::lock_guard lock(g_PumpMutex);
    pump = g_Pump;
  }
  return !pump || pump();
}

}  // namespace

StageLoadMessagePump SetStageLoadMessagePump(StageLoadMessagePump pump) {
  std::lock_guard lock(g_PumpMutex);
  return std::exchange(g_Pump, std::move(pump));
}

int CheckStageEndMarker(const char* path, const std::vector<std::uint8_t>& bytes) {
  std::uint32_t version = 0;
  if (bytes.size() < sizeof version) return 1;
  std::memcpy(&version, bytes.data(), sizeof version);
  if (version < 174) return 1;

  // A file too short to hold the marker after its version is damaged too.
  std::uint32_t marker = 0;
  if (bytes.size() >= 8) std::memcpy(&marker, bytes.data() + bytes.size() - sizeof marker, sizeof marker);
  if (marker != STAGE_END_MARKER) {
    ReportErrorF("ステージファイル %s が破損しています！", path);
    RequestMainWindowCloseForError();
    return 0;
  }
  return 1;
}

int LoadStageFile(const char* name, int bFindNewest, cEdStage* pStart) {
  std::string path;
  if (bFindNewest) {
    if (!FindNewestVersion(path, name, g_astrFileExt[EXT_STG4])) return 0;
  } else {
    path = name;
  }
  MakeRelativePathStr(path);

  // Read once: the end marker is checked on the bytes that are then loaded.
  std::vector<std::uint8_t> bytes;
  const bool read = platform::ReadProgramFile(path, bytes);
  if (read && !CheckStageEndMarker(path.c_str(), bytes)) return 0;

  // Read into a new stage: nothing of the stage played before leaks into it,
  // and g_LoadedStage stays whole when the file turns out to be damaged.
  auto stage = std::make_unique<cEdStage>();
  stage->m_strPath = path;
  stage->m_bFindNewest = bFindNewest;
  stage->m_bLoaded = 0;
  // The caller's messages are served once; it would only wait for a
  // loading thread, so the file is read here.
  if (!PumpMessages()) {
    ErrorLog("msg.message == WM_QUIT");
    return 0;
  }
  if (read && stage->LoadFileBytes(stage->m_strPath.c_str(), bytes) == 1) stage->m_bLoaded = 1;

  if (!stage->m_bLoaded) {
    ReportErrorF("ステージファイル %s の読み込みに失敗しました！", path.c_str());
    return 0;
  }
  if (!stage->HasHero()) {
    ReportErrorF("主人公が配置されていないのでプレイできません！");
    RequestMainWindowCloseForError();
    return 0;
  }

  g_LoadedStage = std::move(*stage);
  if (pStart != nullptr) {
    pStart->CopyStartState(g_LoadedStage);
    pStart->ClearObjectLists();
  }
  return 1;
}

cModalWait SetModalWait(int nKind, int bWaitKey, int nFrames, int bFlag) {
  cModalWait wait;
  wait.nKind = nKind;
  wait.nDelay = (bWaitKey != 0 && nKind == 1 && bFlag == 0) ? 10 : 0;
  wait.bWaitKey = bWaitKey;
  wait.nFrames = nFrames;
  wait.nElapsed = 0;
  return wait;
}
