#include "model/stage/stage_loader.h"

#include <fstream>
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

int CheckStageEndMarker(const char* path) {
  std::ifstream file(platform::MapPath(path), std::ios::binary);
  if (!file) return 1;
  std::uint32_t version = 0;
  if (!file.read(reinterpret_cast<char*>(&version), sizeof version)) return 1;
  if (version < 174) return 1;

  // A file too short to hold the marker after its version is damaged too.
  std::uint32_t marker = 0;
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  const bool intact = size >= 8 && file.seekg(size - 4) &&
                      file.read(reinterpret_cast<char*>(&marker), sizeof marker) &&
                      marker == STAGE_END_MARKER;
  if (!intact) {
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

  if (!CheckStageEndMarker(path.c_str())) return 0;

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
  if (stage->LoadFile(stage->m_strPath.c_str()) == 1) stage->m_bLoaded = 1;

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
