// The stage played headless at 32 bits with full drawing, timed on the wall
// clock:
//   - a recorded replay of the demo's story stage on each back end
//     (direct3d 0: DirectDraw, 1: Direct3D), reported as frames_per_second;
//   - the story stage in DirectDraw with 1,000 and 10,000 characters acting
//     everywhere to the end (flows, moves, tile collision, contact hits),
//     reported as ms_per_frame with the number acting as characters.
// Frames run through the scene manager on a virtual clock (no frame wait).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include <time.h>
#include <unistd.h>

#include "base/input_state.h"
#include "demo_data.h"
#include "demo_entries.h"
#include "demo_images.h"
#include "demo_stage_names.h"
#include "game/data/project_data.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/image_table.h"
#include "graphics/palette_colours.h"
#include "graphics/palette_file.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/user/replay.h"
#include "model/user/save_data.h"
#include "platform/clock.h"
#include "scenes/front_end/play_start.h"
#include "scenes/scene_manager.h"
#include "scenes/stage/stage_scene.h"

namespace fs = std::filesystem;

namespace {

// The demo project in a temporary folder (the current folder while the
// benchmarks run), its data loaded, the device started at 32 bits on one
// back end.
class Player {
 public:
  explicit Player(int nDirect3D) : m_Root(fs::temp_directory_path() / ("stage_play_" + std::to_string(::getpid()))), m_Clock(0) {
    fs::remove_all(m_Root);
    std::string error;
    if (!demo::WriteDemoImages(m_Root, error) || !demo::WriteDemoData(m_Root, error)) Fail(error);
    fs::current_path(m_Root);
    platform::SetClock(&m_Clock);
    if (!DDInit(nDirect3D, nullptr, 640, 480, 32, 0, 0, 1, 60, 0, g_SurfaceTable, g_ImageTable, kImageCount))
      Fail("the device did not start");
    if (!LoadProjectData(error)) Fail(error);
    if (!DDLoadPaletteFromFile(&g_palCurrent, "bmp\\plt\\Palette.bmp") || !DDSetTransmitFromFile("bmp\\plt\\Palette.bmp"))
      Fail("the palette did not load");
    g_palOriginal = g_palCurrent;
    DDCreateFonts(g_Font, g_FontData, 3);
    g_InputStates.assign(1, cInputState());
    g_SceneManager.m_nFps = 60;
    g_SceneManager.m_nFadeSpeed = 10;
    RegisterStageScene();
  }
  ~Player() {
    g_SceneManager.DeleteAllScenes();
    for (Font& font : g_Font) font.Destroy();
    DDRelease();
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(m_Root);
  }

  // Starts a stage already in g_LoadedStage and runs it until it plays.
  static void Play(int nPlayStart) {
    g_SceneManager.DeleteAllScenes();
    g_SceneManager.m_nPlayStart = nPlayStart;
    g_SceneManager.m_nPlayMode = nPlayStart == TITLE_REPLAY ? PLAY_REPLAY : PLAY_FREESTAGE;
    g_SceneManager.m_nPrevScene = SCENE_TITLE;
    g_SceneManager.m_nScene = SCENE_STAGE;
    for (int i = 0; i < 400; ++i) {
      g_SceneManager.Frame();
      const cScene* scene = g_SceneManager.Scene(SCENE_STAGE);
      if (scene && scene->m_nState == STAGE_PLAY) return;
    }
    Fail("the stage does not play");
  }

 private:
  [[noreturn]] static void Fail(const std::string& why) {
    std::fprintf(stderr, "stage_play: %s\n", why.c_str());
    std::exit(1);
  }

  fs::path m_Root;
  platform::VirtualClock m_Clock;
};

// Milliseconds of the monotonic clock (<chrono> does not build with the
// program's narrow character set).
double NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The player on the back end asked for, started again when it changes.
void UsePlayer(int nDirect3D) {
  static std::unique_ptr<Player> player;
  static int current = -1;
  if (player && current == nDirect3D) return;
  player.reset();
  player = std::make_unique<Player>(nDirect3D);
  current = nDirect3D;
}

// A replay of the story stage: walking right with a jump now and then.
std::string RecordStoryReplay() {
  if (!StartStageFile(demo::kStoryStageFile, 0)) std::exit(1);
  g_ReplayLog.Clear();
  g_ReplayLog.m_nSeed = 1234;
  for (int frame = 0; frame < 3000; ++frame) {
    const std::int16_t input[2] = {2, static_cast<std::int16_t>(frame % 90 < 12 ? 1 : 0)};
    g_ReplayLog.RecordFrame(input);
  }
  const std::string path = "user_data\\rpl4\\bench.rpl4_566";
  if (!g_ReplayLog.SaveReplay(path.c_str(), g_LoadedStage, g_PlayStage, g_SaveData)) std::exit(1);
  return path;
}

// Argument: Direct3D (0 or 1).
void BM_ReplayOfTheStoryStage(benchmark::State& state) {
  UsePlayer(static_cast<int>(state.range(0)));
  const std::string path = RecordStoryReplay();
  if (!g_ReplayLog.LoadReplay(path.c_str(), g_LoadedStage, g_PlayStage, g_SaveData)) std::exit(1);
  g_LoadedStage.m_strPath = path;
  Player::Play(TITLE_REPLAY);
  for (auto _ : state) g_SceneManager.Frame();
  state.counters["frames_per_second"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReplayOfTheStoryStage)
    ->ArgName("direct3d")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(2000)
    ->UseRealTime();

// The cells where a walker stands from its start to the end: empty, over a
// solid block that is not fatal, inside the stage's columns. A walker turns
// at ledges and walls, so it stays on the ground it stands on.
std::vector<std::pair<int, int>> StandingCells(const cEdStage& stage) {
  const int width = stage.m_nWidth;
  std::vector<std::int8_t> collision(static_cast<std::size_t>(width * stage.m_nHeight), 0);
  for (const cEdBlock& block : stage.m_vPlacedBlocks)
    collision.at(static_cast<std::size_t>(block.m_nCellY * width + block.m_nCellX)) = block.m_nCollision;
  std::vector<std::pair<int, int>> cells;
  for (int y = 0; y + 1 < stage.m_nHeight; ++y) {
    for (int x = 1; x + 1 < width; ++x) {
      const std::size_t cell = static_cast<std::size_t>(y * width + x);
      if (collision[cell] == 0 && collision[cell + static_cast<std::size_t>(width)] == 1) cells.emplace_back(x, y);
    }
  }
  return cells;
}

// Argument: the characters acting. The stage's own characters act
// everywhere, and walkers on the standing cells make up the rest.
void BM_Characters(benchmark::State& state) {
  UsePlayer(0);
  if (!StartStageFile(demo::kStoryStageFile, 0)) std::exit(1);
  cEdStage& stage = g_LoadedStage;
  const int hero = stage.FindHero();
  // The hero takes the crowd's contact hits without harm: every frame
  // measured is a play frame, not its death display and the start over.
  stage.m_vPlacedCharas.at(static_cast<std::size_t>(hero)).m_nInvincible = 1;
  for (std::size_t i = 0; i < stage.m_vPlacedCharas.size(); ++i) {
    if (static_cast<int>(i) != hero) stage.m_vPlacedCharas[i].m_nActiveRange = 3;  // acts everywhere, in view or not
  }
  const std::int64_t own = static_cast<std::int64_t>(stage.m_vPlacedCharas.size()) - 1;
  cEdChara walker = stage.m_vPaletteCharas.at(demo::CHARA_WALKER);
  walker.m_nControl = 1;
  walker.m_nActiveRange = 3;
  walker.m_nDropItem = -1;
  const std::vector<std::pair<int, int>> cells = StandingCells(stage);
  for (std::int64_t i = 0; i < state.range(0) - own; ++i) {
    const auto& [x, y] = cells[static_cast<std::size_t>(i) % cells.size()];
    walker.m_nCellX = static_cast<std::int16_t>(x);
    walker.m_nCellY = static_cast<std::int16_t>(y);
    stage.m_vPlacedCharas.push_back(walker);
  }
  stage.m_nTimeLimit = 999;
  g_PlayStage.CopyStartState(stage);
  Player::Play(TITLE_STAGEFILE);
  const auto* scene = static_cast<const cStageScene*>(g_SceneManager.Scene(SCENE_STAGE));
  double ms = 0;
  for (auto _ : state) {
    const double start = NowMs();
    g_SceneManager.Frame();
    ms += NowMs() - start;
  }
  const auto acting = std::count_if(scene->m_CharacterList.begin(), scene->m_CharacterList.end(), [](const cCharacter& c) {
    return c.m_bAppeared && c.m_bActive && !c.m_bDying;
  });
  if (scene->m_nState != STAGE_PLAY || scene->m_pHero->m_bDying) state.SkipWithError("the stage stopped playing");
  if (acting != state.range(0)) state.SkipWithError("not every character acted to the end");
  state.counters["ms_per_frame"] = ms / static_cast<double>(state.iterations());
  state.counters["characters"] = static_cast<double>(acting);
}
BENCHMARK(BM_Characters)
    ->ArgName("acting")
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
