// The stage scene's set-up: entering the scene, the play counters, the
// lives, and SetStage, which every start and restart of the stage runs.
#include <algorithm>
#include <new>

#include "base/close_request.h"
#include "base/input_state.h"
#include "base/random.h"
#include "base/report.h"
#include "base/requests.h"
#include "base/timer.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/image_table.h"
#include "graphics/message_surfaces.h"
#include "graphics/palette_colours.h"
#include "graphics/scene.h"
#include "graphics/surface_file.h"
#include "model/database/database.h"
#include "model/record/play_flags.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/user/ranking.h"
#include "model/user/replay.h"
#include "model/user/save_data.h"
#include "platform/clock.h"
#include "scenes/front_end/menu_cursor.h"
#include "scenes/front_end/play_start.h"
#include "scenes/scene_manager.h"
#include "scenes/stage/stage_scene.h"

namespace {

bool IsReplay() { return g_SceneManager.m_nPlayStart == TITLE_REPLAY; }

// Loads one surface of an image set from its descriptor; a failure writes
// the line (with the name) to the error log and leaves the surface empty.
void LoadSetSurface(DDSurfaceVector& set, ImageVector& images, const IMAGEDATA& image, const char* failLine,
                    const char* name) {
  images.push_back(image);
  DDSURFACEDATA& sd = set.emplace_back();
  const int code = DDCreateSurfaceFromFile(&sd, image.szFileName, 1, g_nBpp, image.bSystemMemory,
                                           image.bTexSystemMemory, image.bAlias, image.bPalIndex,
                                           image.nMirrorWidth, image.nMirrorHeight, 0);
  if (!DDCheckLoadError(code)) ErrorLogF(failLine, name);
}

void ReleaseSet(DDSurfaceVector& set, ImageVector& images) {
  DDReleaseSurfaceVector(set);
  set.clear();
  images.clear();
}

// The four surfaces of a pair of pictures: each as it is, then each in
// system memory (an alias of the first two in Direct3D mode).
void LoadFourSurfaces(DDSurfaceVector& set, ImageVector& images, const std::string& first,
                      const std::string& second, int nMirrorWidth, const char* failLine, const char* name) {
  const std::size_t start = set.size();
  const bool d3d = g_lpD3DState != nullptr;
  IMAGEDATA image;
  LoadSetSurface(set, images, image.Set(first.c_str(), 1, 0, 0, 0, 0, 0, 0, 0, 0, 0), failLine, name);
  LoadSetSurface(set, images, image.Set(second.c_str(), 1, 0, 0, 0, 0, 0, nMirrorWidth, 0, 0, 0), failLine, name);
  LoadSetSurface(set, images, image.Set(first.c_str(), 1, 1, 0, d3d, 0, 0, 0, 0, 0, 0), failLine, name);
  LoadSetSurface(set, images, image.Set(second.c_str(), 1, 1, 0, d3d, 0, 0, nMirrorWidth, 0, 0, 0), failLine, name);
  set[start + 2].lpLinkSD = &set[start];
  set[start + 3].lpLinkSD = &set[start + 1];
}

}  // namespace

void cStageScene::Enter() {
  m_vRankPosition.resize(kRankingKindCount, 0);
  m_vRankValue.resize(kRankingKindCount, 0);
  const std::vector<cEdBackground>& backgrounds = g_LoadedStage.m_vBackgrounds;
  for (int i = 0; i < kBackgroundSlots; ++i) {
    IMAGEDATA& slot = g_ImageTable[kFirstBackgroundImage + i];
    if (i < static_cast<int>(backgrounds.size()) && backgrounds[static_cast<std::size_t>(i)].m_bFill == 0) {
      const std::string& file = backgrounds[static_cast<std::size_t>(i)].m_strImage;
      CopyName(slot.szFileName, file.c_str());
      int tooLarge = 0;
      DDCheckBitmapSize(&tooLarge, file.c_str(), 640, 480);
      slot.bSystemMemory = tooLarge;
    } else {
      CopyName(slot.szFileName, "");
    }
  }
  if (g_SceneManager.m_nPrevScene != SCENE_STAGE) {
    const auto& numbers = StageImageNumbers();
    if (!DDLoadSurfaces(g_SurfaceTable, numbers.data(), static_cast<int>(numbers.size()))) {
      RequestMainWindowCloseForError();
      return;
    }
    BuildShotGrid();
    LoadCharaExcImages();
    LoadSwordImages();
    LoadEffectImages();
    ResetPlay();
    TakeLife(g_SaveData);
  } else {
    std::vector<int> numbers(kBackgroundSlots);
    for (int i = 0; i < kBackgroundSlots; ++i) numbers[static_cast<std::size_t>(i)] = kFirstBackgroundImage + i;
    if (!DDLoadSurfaces(g_SurfaceTable, numbers.data(), kBackgroundSlots)) {
      RequestMainWindowCloseForError();
      return;
    }
  }
  SetStage(0, 1);
  g_MenuCursor.Reset();
  m_nStep = 0;
}

void cStageScene::ResetPlay() {
  g_SaveData.m_nLives = g_SaveData.m_nStartLives;
  g_SaveData.m_nScore = 0;
  g_SaveData.ResetTotals();
  m_ScrollX.m_dPos = m_ScrollY.m_dPos = 0.0;
  m_nStep = m_nBannerCount = m_nBanner2Count = m_bHoldButtons = m_nTimeLeft = m_bRankingRegistered = 0;
  m_MessageList.clear();
  if (!IsReplay()) {
    g_ReplayLog.Clear();
    g_PrevReplayLog.Clear();
  }
  if (g_bFreeStagePlay) g_SaveData.m_nStageNo = 1;
  if (g_SceneManager.m_bUseRanking)
    LoadStageRanking(g_RankingSet, g_SceneManager.m_nPlayMode, g_SaveData.m_strStagePath);
}

int cStageScene::TakeLife(cSaveData& progress) {
  if (g_bFreeStagePlay) return 1;
  if (progress.m_nLives == UNLIMITED_LIVES) return 1;
  if (progress.m_nLives >= 1) {
    --progress.m_nLives;
    return 1;
  }
  return 0;
}

void cStageScene::SetStage(int bRestore, int bFirst) {
  ErrorLog("In SetStage");
  m_nStageFrame = 0;
  ClearObjects();
  // Every start is a fresh play: block toggles and the key histories of an
  // earlier play never reach this one (a replay depends on nothing before).
  m_vChangedCells.clear();
  m_bOutsideCellReported = 0;

  if (bRestore) {
    if (IsReplay() &&
        !ReloadReplay()) {
      // The stage and the progress would be those of the play before.
      RequestMainWindowCloseForError();
      return;
    }
    g_LoadedStage.CopyStartState(g_PlayStage);
  }

  if (IsReplay()) {
    g_ReplayLog.Rewind();
    m_nRandomSeed = static_cast<std::uint32_t>(g_ReplayLog.m_nSeed);
  } else if (g_SystemData.m_bRecordReplay) {
    g_PrevReplaySaveData = g_ReplaySaveData;
    g_ReplaySaveData = g_SaveData;
    g_PrevReplayLog = g_ReplayLog;
    g_ReplayLog.Clear();
    m_nRandomSeed = platform::timeGetTime();
    g_ReplayLog.m_nSeed = static_cast<std::int32_t>(m_nRandomSeed);
  }
  SeedRandom(m_nRandomSeed);

  cEdStage& stage = g_LoadedStage;
  const int hero = stage.FindHero();
  if (stage.m_bTakeOverStatus && hero >= 0)
    g_SaveData.ApplyCarriedStatus(0, stage.m_vPlacedCharas[static_cast<std::size_t>(hero)], stage);

  if (bFirst) {
    const bool keep = stage.m_bBgmKeep && stage.m_nBgm != 0 && g_SaveData.m_nStageBgm == stage.m_nBgm;
    if (!keep) PlayBgm(stage.m_nBgm, stage.m_bBgmLoop);
  } else if (g_SaveData.m_nStageBgm != stage.m_nBgm) {
    PlayBgm(stage.m_nBgm, stage.m_bBgmLoop);
  }

  m_nCharacterSerial = m_nItemSerial = m_nShotSerial = 0;
  stage.SetSpeedLevel(stage.m_nSpeedLevel);
  try {
    BuildPlayMap();
  } catch (const std::bad_alloc&) {
    m_vPlayMap = {};  // what was made of it goes
    m_bSetUpFailed = true;
    ErrorBox("メモリ不足により、ステージの初期設定に失敗しました！");
    RequestMainWindowCloseForError();
    return;
  }

  m_nPlayerCount = 1;
  PlaceHero();
  m_vStageVar.assign(kStageVarCount, 0);
  SpawnPlacedObjects();
  FillTeamLists();
  for (int i = 0; i < 3; ++i) {
    const cEdScreenOutRule& rule = stage.m_aScreenOut[static_cast<std::size_t>(i)];
    m_abScreenOutOn[i] = rule.m_bLeft || rule.m_bRight || rule.m_bTop || rule.m_bBottom ? 1 : 0;
  }

  m_MessageList.clear();
  m_EffectList.clear();
  m_ScreenEffect = cScrEffectRun();
  m_Tone = cScreenTone();
  ClearPictures();
  ClearMessageSurfaces();

  const std::vector<std::int8_t> steps = stage.HitCheckSteps();
  m_vHitSchedule.assign(steps.begin(), steps.end());
  m_nEndRequest = m_nBannerCount = m_nBanner2Count = 0;
  if (stage.m_bTimeLimit) {
    m_bTimeStop = 0;
    m_nTimeLeft = stage.m_nTimeLimit;
  } else {
    m_nTimeLeft = 999;
    m_bTimeStop = 1;
  }
  m_nPlayFrames = m_nPlayTime = 0;
  m_vGroupSwitch.assign(kViewSwitchCount, 0);
  m_nNextPart = m_nSubStep = m_nSubStepCount = 0;
  g_SaveData.m_nScore = 0;
  if (IsReplay() || (g_bTestPlay && g_bFreeStagePlay)) g_SaveData.ResetTotals();
  g_SaveData.TakeStageSnapshot();

  for (cInputState& input : g_InputStates) {
    input.ClearHistory();
    input.ResetKeyLogs();
  }
  g_MenuCursor.Reset();
  StepCounter(0, 60);
  for (cEdBackground& background : stage.m_vBackgrounds) background.m_dOffsetX = background.m_dOffsetY = 0;
  if (g_lpDDState && g_nBpp == 8) {
    g_palOriginal = g_palCurrent;
    DDSetPaletteEntries(g_palOriginal.data(), 0, 256);
  }
  g_SceneManager.m_nFps = stage.m_nFps;

  FireStartTriggers();
  UpdateAppearance(false);
  DDSetVirBackBuffer(0);
  ErrorLog("Out SetStage");
}

bool cStageScene::ReloadReplay() {
  // The stage part is read into a reset stage that keeps its path.
  const std::string path = g_LoadedStage.m_strPath;
  if (!g_ReplayLog.LoadReplay(path.c_str(), g_LoadedStage, g_PlayStage, g_SaveData)) return false;
  g_LoadedStage.m_strPath = path;
  return true;
}

void cStageScene::BuildPlayMap() {
  const cEdStage& stage = g_LoadedStage;
  SetMapSize(stage.m_nWidth, stage.m_nHeight, stage.m_nAreaExtraX, stage.m_nAreaExtraY);
  m_ScrollX.SetAutoScroll(stage.m_bAutoScrollX, stage.m_nAutoScrollSpeedX, stage.m_dSubSteps);
  m_ScrollX.SetLimits(stage.m_nLimitLeft, stage.m_nLimitRight, stage.m_bLimitLeft, stage.m_bLimitRight);
  m_ScrollY.SetAutoScroll(stage.m_bAutoScrollY, stage.m_nAutoScrollSpeedY, stage.m_dSubSteps);
  m_ScrollY.SetLimits(stage.m_nLimitTop, stage.m_nLimitBottom, stage.m_bLimitTop, stage.m_bLimitBottom);
  for (const cEdBlock& placed : stage.m_vPlacedBlocks) {
    const int column = placed.m_nCellX + m_ScrollX.m_nMargin;
    const int row = placed.m_nCellY + m_ScrollY.m_nMargin;
    // A placement outside the map has no cell (the loader bounds them).
    if (column < 0 || column >= m_ScrollX.m_nCells || row < 0 || row >= m_ScrollY.m_nCells) continue;
    cMapCell& cell = MapCell(column, row);
    cell.m_Block = placed;
    cell.m_bAppeared = 0;
  }
}

void cStageScene::BuildShotGrid() {
  for (int n : {63, 64}) DDFillRectPal(&g_SurfaceTable[n], 0, 0, 256, 960, 0);
  for (int r = 0; r < 30; ++r) {
    for (int k = 0; k < 8; ++k) {
      DDBlt(&g_SurfaceTable[63], 8 + 32 * k, 8 + 32 * r, 16, 16, &g_SurfaceTable[20], 16 * k, 16 * r, 0);
      DDBlt(&g_SurfaceTable[64], 8 + 32 * k, 8 + 32 * r, 16, 16, &g_SurfaceTable[21], 16 * k, 16 * r, 0);
    }
  }
}

void cStageScene::LoadCharaExcImages() {
  ReleaseSet(g_vecCharaExcSD, g_vecCharaExcImage);
  const std::vector<cEdBmpCharaExc>& entries = g_Database.m_vBmpCharaExc;
  for (std::size_t i = 1; i < entries.size(); ++i) {
    const cEdBmpCharaExc& entry = entries[i];
    const int mirror = entry.m_bWide ? entry.m_nCellWidth * 32 : 32;
    LoadFourSurfaces(g_vecCharaExcSD, g_vecCharaExcImage, entry.m_strFile, entry.m_strFile, mirror,
                     "専用bmp %s 読み込み失敗！", entry.m_strFile.c_str());
  }
}

void cStageScene::LoadSwordImages() {
  ReleaseSet(g_vecSwordSD, g_vecSwordImage);
  for (const cEdSwordType& sword : g_Database.m_vSwordType) {
    LoadFourSurfaces(g_vecSwordSD, g_vecSwordImage, sword.m_strFileLeft, sword.m_strFileRight, 0,
                     "ソード %s 読み込み失敗！", sword.m_strFileLeft.c_str());
  }
}

void cStageScene::LoadEffectImages() {
  ReleaseSet(g_vecEffectSD, g_vecEffectImage);
  const std::vector<cEdEffect>& effects = g_Database.m_vEffect;
  const bool d3d = g_lpD3DState != nullptr;
  for (std::size_t i = 1; i < effects.size(); ++i) {
    const cEdEffect& effect = effects[i];
    const std::size_t start = g_vecEffectSD.size();
    IMAGEDATA image;
    LoadSetSurface(g_vecEffectSD, g_vecEffectImage, image.Set(effect.m_strFile.c_str(), 1, 0, 0, 0, 0, 1, 0, 0, 0, 0),
                   "エフェクト %s 読み込み失敗！", effect.m_strName.c_str());
    LoadSetSurface(g_vecEffectSD, g_vecEffectImage, image.Set(effect.m_strFile.c_str(), 1, 1, 0, d3d, 0, 1, 0, 0, 0, 0),
                   "エフェクト %s 読み込み失敗！", effect.m_strName.c_str());
    g_vecEffectSD[start + 1].lpLinkSD = &g_vecEffectSD[start];
  }
}

void cStageScene::ClearPictures() {
  ReleasePictureSurfaces();
  m_PictureList.clear();
}

void cStageScene::ClearMessageSurfaces() { DDClearMessageSurfaces(); }
