#include "support/stage_harness.h"

#include <vector>

#include "base/input_script.h"
#include "base/requests.h"
#include "game/data/project_data.h"
#include "graphics/font.h"
#include "graphics/palette_colours.h"
#include "graphics/palette_file.h"
#include "model/stage/common_palette.h"
#include "model/stage/palette_scope.h"
#include "model/stage/stage_loader.h"
#include "model/user/replay.h"
#include "model/user/save_data.h"
#include "platform/keyboard.h"
#include "platform/thread_messages.h"
#include "scenes/front_end/option_scene.h"
#include "scenes/front_end/play_start.h"
#include "scenes/front_end/stage_select_scene.h"
#include "scenes/front_end/story_menu_scene.h"
#include "scenes/front_end/title_scene.h"
#include "scenes/front_end/world_map_scene.h"
#include "scenes/scene_manager.h"
#include "scenes/stage/stage_digest.h"

StageHarness::StageHarness(const GraphicsMode& mode) : m_Window(mode) {
  // The game window has the focus, as its activation gives it.
  g_bActive = 1;
  if (!m_Window.Started()) {
    m_strError = "the graphics device did not start";
    return;
  }
  if (!LoadProjectData(m_strError)) return;
  if (!DDLoadPaletteFromFile(&g_palCurrent, "bmp\\plt\\Palette.bmp") ||
      !DDSetTransmitFromFile("bmp\\plt\\Palette.bmp")) {
    m_strError = "the palette picture did not load";
    return;
  }
  g_palOriginal = g_palCurrent;
  DDCreateFonts(g_Font, g_FontData, 3);
  RegisterTitleScene();
  RegisterOptionScene();
  RegisterStoryMenuScene();
  RegisterWorldMapScene();
  RegisterStageSelectScene();
  RegisterStageScene();
}

StageHarness::~StageHarness() {
  // A close that came as an in-stage loop was ending leaves the loop's quit
  // in this thread's queue, where the next loop would take it.
  platform::MSG left;
  while (platform::PeekMessage(&left, platform::PM_REMOVE)) {
  }
  RemoveInputScript();
  platform::ReleaseAllKeys();
  g_bActive = 0;
  g_SceneManager.DeleteAllScenes();
  for (Font& font : g_Font) font.Destroy();
  g_listFont.clear();
  g_LoadedStage = cEdStage();
  g_PlayStage = cEdStage();
}

bool StageHarness::StartStageFile(const std::string& path) {
  if (!::StartStageFile(path, 0)) return false;
  g_SceneManager.m_nPlayStart = TITLE_STAGEFILE;
  g_SceneManager.m_nPlayMode = PLAY_FREESTAGE;
  Begin();
  return true;
}

void StageHarness::Begin() {
  m_Window.Start(SCENE_STAGE);
  // Entered from another scene: the stage loads its images and takes a life.
  g_SceneManager.m_nPrevScene = SCENE_TITLE;
}

void StageHarness::StartStage(const cEdStage& stage) {
  g_SaveData.Reset();
  g_LoadedStage = stage;
  g_LoadedStage.SetSpeedLevel(g_LoadedStage.m_nSpeedLevel);
  g_PlayStage.CopyStartState(g_LoadedStage);
  g_SaveData.m_nStageNo = g_SaveData.m_nSeriesNo = 1;
  g_SaveData.m_nStartLives = g_SaveData.m_nLives = 3;
  g_SceneManager.m_nPlayStart = TITLE_STAGEFILE;
  g_SceneManager.m_nPlayMode = PLAY_FREESTAGE;
  Begin();
}

bool StageHarness::StartReplay(const std::string& path) {
  if (!g_ReplayLog.LoadReplay(path.c_str(), g_LoadedStage, g_PlayStage, g_SaveData)) return false;
  g_LoadedStage.m_strPath = path;
  g_SceneManager.m_nPlayStart = TITLE_REPLAY;
  g_SceneManager.m_nPlayMode = PLAY_REPLAY;
  Begin();
  return true;
}

void StageHarness::StartChallenge() {
  SetPlayMode(PLAY_CHALLENGE);
  LoadChallengeProgress();
  g_SceneManager.m_nPlayStart = TITLE_CHALLENGE;
  m_Window.Start(SCENE_STAGESELECT);
}

void StageHarness::StartStory() {
  SetPlayMode(PLAY_STORY);
  ResetProgress();
  g_SceneManager.m_nPlayStart = TITLE_NEWGAME;
  m_Window.Start(SCENE_WORLDMAP);
}

bool StageHarness::SaveStage(const cEdStage& stage, const std::string& path) {
  const cPaletteScope common(&g_CommonPalette, nullptr);
  cEdStage copy = stage;
  return copy.SaveFile(path.c_str()) != 0;
}

bool StageHarness::SetInput(const std::string& script) {
  std::vector<ScriptedInputEvent> events;
  std::string error;
  if (!ParseInputScript(script, events, error)) return false;
  InstallInputScript(std::move(events));
  return true;
}

void StageHarness::Frame() { g_SceneManager.Frame(); }

bool StageHarness::RunUntilState(int state, int limit) {
  for (int i = 0; i < limit; ++i) {
    if (Stage() && Stage()->m_nState == state) return true;
    Frame();
  }
  return Stage() && Stage()->m_nState == state;
}

bool StageHarness::RunUntilScene(int kind, int limit) {
  const auto reached = [kind] {
    const cScene* scene = g_SceneManager.Scene(kind);
    return g_SceneManager.m_nScene == kind && scene && scene->m_nState > 0;
  };
  for (int i = 0; i < limit && !reached(); ++i) Frame();
  return reached();
}

void StageHarness::Hold(const std::string& key) { SetInput("1 " + key + " down"); }

void StageHarness::Release(const std::string& key) { SetInput("1 " + key + " up"); }

void StageHarness::Press(const std::string& key) {
  SetInput("1 " + key + " down\n3 " + key + " up");
  Frames(3);
}

std::map<int, std::string> StageHarness::PlayDigests(int frames) {
  std::map<int, std::string> digests;
  for (int i = 0; i < frames; ++i) {
    Frame();
    const cStageScene* stage = Stage();
    if (stage && stage->m_nState == STAGE_PLAY) digests[stage->m_nStageFrame] = Digest();
  }
  return digests;
}

cStageScene* StageHarness::Stage() const { return static_cast<cStageScene*>(g_SceneManager.Scene(SCENE_STAGE)); }

std::string StageHarness::Digest() const { return Stage() ? StageDigestJson(*Stage()) : std::string(); }
