// The real player program run on the demo project: headless with the
// virtual clock (and, in the test that says so, in a window under a virtual
// X server with SDL's dummy audio driver), closed after a number of frames,
// judged by its exit code, the dumped frame and state, its transcript and
// its report.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <span>
#include <sstream>
#include <string>
// <chrono> itself cannot be compiled for CP932 literals; <thread> brings
// the clocks.
#include <thread>
#include <vector>

#include "model/record/record.h"
#include "model/user/options.h"
#include "platform/audio/wave_file.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "platform/text.h"
#include "support/golden_image.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// Sets environment variables for the programs a test runs; the previous
// values come back when it ends.
class ScopedEnvironment {
 public:
  ~ScopedEnvironment() {
    for (const auto& [name, value] : m_Previous) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }
  void Set(const std::string& name, const std::string& value) {
    Remember(name);
    setenv(name.c_str(), value.c_str(), 1);
  }
  void Unset(const std::string& name) {
    Remember(name);
    unsetenv(name.c_str());
  }

 private:
  void Remember(const std::string& name) {
    if (m_Previous.count(name)) return;
    const char* value = std::getenv(name.c_str());
    m_Previous[name] = value ? std::optional<std::string>(value) : std::nullopt;
  }
  std::map<std::string, std::optional<std::string>> m_Previous;
};

// The demo project, written once and copied for every test.
const fs::path& DemoTemplate() {
  static TempFolder folder;
  static const bool written = [] {
    const ProgramResult result = RunProgram(MAKE_DEMO_PROGRAM, {(folder / "demo").string()});
    EXPECT_EQ(result.status, 0) << result.err;
    return result.status == 0;
  }();
  EXPECT_TRUE(written);
  static const fs::path path = folder / "demo";
  return path;
}

std::string Utf8(const char* cp932) { return platform::Cp932ToUtf8(cp932); }

class PlayerRun : public testing::Test {
 protected:
  void SetUp() override {
    fs::copy(DemoTemplate(), Project(), fs::copy_options::recursive);
    fs::create_directories(m_Folder / "runtime");
    // Each test has its own lock, its own transcript and dumps, and never
    // the display of whoever runs the tests unless it asks for one.
    m_Env.Set("XDG_RUNTIME_DIR", (m_Folder / "runtime").string());
    m_Env.Set("PLAYER_HEADLESS", "1");
    m_Env.Set("PLAYER_CLOCK", "virtual");
    m_Env.Set("PLAYER_FRAMES", "30");
    m_Env.Set("PLAYER_TRANSCRIPT", Transcript().string());
    m_Env.Set("PLAYER_DUMP_FRAME", FramePicture().string());
    m_Env.Set("PLAYER_DUMP_STATE", StateFile().string());
    for (const char* name : {"PLAYER_DIALOG_SCRIPT", "PLAYER_INPUT_SCRIPT", "PLAYER_SHOW_WINDOW",
                             "PLAYER_AUDIO_CAPTURE"}) {
      m_Env.Unset(name);
    }
  }

  fs::path Project() const { return m_Folder / "project"; }
  fs::path Transcript() const { return m_Folder / "transcript.txt"; }
  fs::path FramePicture() const { return m_Folder / "frame.png"; }
  fs::path StateFile() const { return m_Folder / "state.json"; }

  ProgramResult Play(const std::vector<std::string>& args = {}) {
    return RunProgram(PLAYER_PROGRAM, args, Project());
  }
  std::string Read(const fs::path& path) const { return fs::exists(path) ? ReadTextFile(path) : ""; }

  // Sets one key of the project's System.ini.
  void SetIniValue(const std::string& key, const std::string& value) {
    const fs::path ini = Project() / "System.ini";
    const std::string text = ReadTextFile(ini);
    const std::regex line("(^|\n)" + key + "=[^\r\n]*");
    ASSERT_TRUE(std::regex_search(text, line)) << key;
    WriteTextFile(ini, std::regex_replace(text, line, "$1" + key + "=" + value));
  }

  void UseDialogScript(const std::string& script) {
    WriteTextFile(m_Folder / "dialogs.txt", script);
    m_Env.Set("PLAYER_DIALOG_SCRIPT", (m_Folder / "dialogs.txt").string());
  }

  // The run reached its frames: 640x480 picture and the state of its end.
  void ExpectFramesRun(const ProgramResult& result, const char* scene) {
    EXPECT_EQ(result.status, 0) << result.err;
    GoldenImage frame;
    ASSERT_TRUE(ReadPng(FramePicture(), &frame)) << result.err;
    EXPECT_EQ(frame.width, 640);
    EXPECT_EQ(frame.height, 480);
    const std::string state = Read(StateFile());
    EXPECT_NE(state.find("\"frame\": 30"), std::string::npos) << state;
    EXPECT_NE(state.find(std::string("\"scene\": \"") + scene + "\""), std::string::npos) << state;
  }

  TempFolder m_Folder;
  ScopedEnvironment m_Env;
};

TEST_F(PlayerRun, StartsPresentsTheFramesAndClosesCleanly) {
  const ProgramResult result = Play();
  ExpectFramesRun(result, "title");
  // The title scene drew its picture and asked for its music.
  GoldenImage frame;
  ASSERT_TRUE(ReadPng(FramePicture(), &frame));
  EXPECT_TRUE(std::any_of(frame.pixels.begin(), frame.pixels.end(), [](std::uint32_t p) { return p != 0; }));
  EXPECT_NE(Read(Transcript()).find("music 0 "), std::string::npos) << Read(Transcript());
  const std::string report = Read(Project() / "Report_Game.txt");
  EXPECT_NE(report.find("App : ver 566"), std::string::npos) << report;
  // The start-up made the project's folders.
  for (const char* folder : {"user_data/rpl4", "data/stg4/old_ver", "bmp/hbt", "bgm"}) {
    EXPECT_TRUE(fs::is_directory(Project() / folder)) << folder;
  }
}

TEST_F(PlayerRun, UnderADisplayInAWindowWithTheDummyAudioDriver) {
  if (!std::getenv("PLAYER_TEST_UNDER_XVFB")) GTEST_SKIP() << "runs under xvfb-run (player_under_xvfb)";
  m_Env.Unset("PLAYER_HEADLESS");
  m_Env.Set("SDL_AUDIODRIVER", "dummy");
  ExpectFramesRun(Play(), "title");
}

// Each of `wanted` begins a line of the transcript after the line that the
// one before it began.
void ExpectLinesInOrder(const std::string& transcript, const std::vector<std::string>& wanted) {
  std::vector<std::string> lines;
  std::istringstream stream(transcript);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  auto next = lines.begin();
  for (const std::string& prefix : wanted) {
    next = std::find_if(next, lines.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    ASSERT_NE(next, lines.end()) << "no \"" << prefix << "\" in its place in\n" << transcript;
    ++next;
  }
}

// A new story from the title, the world map's first point into its stage,
// the stage played to its clear and the result closed; then on the world
// map the walk to the second point, a save from the story menu, the second
// stage entered, and Escape as it plays: the whole game in one run of the
// program.
class StoryRun : public PlayerRun {
 protected:
  void PlayIntoTheSecondStage() {
    m_Env.Set("PLAYER_INPUT_SCRIPT", STORY_INPUT_SCRIPT);
    // More frames than the script needs: Escape ends the run, not the count.
    m_Env.Set("PLAYER_FRAMES", "3000");
    const ProgramResult result = Play();
    EXPECT_EQ(result.status, 0) << result.err;

    const std::string state = Read(StateFile());
    EXPECT_NE(state.find("\"scene\": \"stage\""), std::string::npos) << state;
    EXPECT_NE(state.find("\"prev_scene\": \"worldmap\""), std::string::npos) << state;
    EXPECT_NE(state.find("free01."), std::string::npos) << "not in the second stage: " << state;
    EXPECT_EQ(state.find("\"frame\": 3000"), std::string::npos) << "Escape did not close the window: " << state;

    GoldenImage frame;
    ASSERT_TRUE(ReadPng(FramePicture(), &frame)) << result.err;
    EXPECT_EQ(frame.width, 640);
    EXPECT_EQ(frame.height, 480);
    EXPECT_GT(std::count_if(frame.pixels.begin(), frame.pixels.end(),
                            [&](std::uint32_t p) { return p != frame.pixels.front(); }),
              640 * 480 / 4)
        << "the last frame is (nearly) one colour";

    // Title music, world-map music, the stage's own music, the stage clear
    // (system sound 14), the world map's music again on the way back, the
    // save (system sound 5), the map once more and the second stage.
    ExpectLinesInOrder(Read(Transcript()), {"music 0 ", "music 1 ", "music 4 bgm\\Stage.ogg", "sound 14", "music 1 ",
                                            "sound 5", "music 1 ", "music 4 bgm\\Stage.ogg"});
    EXPECT_TRUE(fs::exists(Project() / "user_data" / "story" / "Story01.dat"));
  }
};

TEST_F(StoryRun, PlaysTheFirstStageSavesAndEntersTheSecond) {
  PlayIntoTheSecondStage();

  // After a restart: "つづきから" and slot 1 bring back the map with the
  // hero on the second stage's castle, open since the first stage's clear;
  // not coming from the story menu, the uncleared stage starts at once.
  fs::remove(StateFile());
  fs::remove(Transcript());
  WriteTextFile(m_Folder / "load.txt", "60 DOWN down\n62 DOWN up\n70 Z down\n72 Z up\n100 Z down\n102 Z up\n");
  m_Env.Set("PLAYER_INPUT_SCRIPT", (m_Folder / "load.txt").string());
  m_Env.Set("PLAYER_FRAMES", "300");
  const ProgramResult result = Play();
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string state = Read(StateFile());
  EXPECT_NE(state.find("\"scene\": \"stage\""), std::string::npos) << state;
  EXPECT_NE(state.find("\"prev_scene\": \"worldmap\""), std::string::npos) << state;
  EXPECT_NE(state.find("free01."), std::string::npos) << state;
  ExpectLinesInOrder(Read(Transcript()), {"music 0 ", "music 1 ", "music 4 bgm\\Stage.ogg"});
}

TEST_F(StoryRun, UnderADisplayInAWindowPlaysIntoTheSecondStageWithTheDummyAudioDriver) {
  if (!std::getenv("PLAYER_TEST_UNDER_XVFB")) GTEST_SKIP() << "runs under xvfb-run (player_under_xvfb)";
  m_Env.Unset("PLAYER_HEADLESS");
  m_Env.Set("SDL_AUDIODRIVER", "dummy");
  PlayIntoTheSecondStage();
}

// The stage digests of a run's PLAYER_DUMP_DIGESTS file by scene state and
// stage frame, the first of each (a state may hold a frame for a while).
std::map<std::pair<int, int>, std::string> DigestsByFrame(const std::string& lines) {
  std::map<std::pair<int, int>, std::string> digests;
  const std::regex key("^\\{\"state\": (-?\\d+), \"step\": -?\\d+, \"stage_frame\": (\\d+),");
  std::istringstream stream(lines);
  for (std::string line; std::getline(stream, line);) {
    std::smatch match;
    if (std::regex_search(line, match, key)) digests.emplace(std::pair(std::stoi(match[1]), std::stoi(match[2])), line);
  }
  return digests;
}

// F1 on the result of the story's first stage saves its replay through the
// save chooser; a second run opens it from the title's replay item and
// plays the same stage to the same result, frame by frame.
TEST_F(PlayerRun, AReplaySavedOnTheResultPlaysTheSameFromTheTitle) {
  constexpr int kPlay = 2, kResult = 4;  // the stage's states
  WriteTextFile(m_Folder / "record.txt", ReadTextFile(STORY_INPUT_SCRIPT) + "1400 F1 down\n1401 F1 up\n1410 close\n");
  m_Env.Set("PLAYER_INPUT_SCRIPT", (m_Folder / "record.txt").string());
  m_Env.Set("PLAYER_FRAMES", "3000");
  m_Env.Set("PLAYER_DUMP_DIGESTS", (m_Folder / "recorded.txt").string());
  UseDialogScript("save user_data/rpl4/first\n");
  ProgramResult result = Play();
  ASSERT_EQ(result.status, 0) << result.err;
  ASSERT_TRUE(fs::exists(Project() / "user_data" / "rpl4" / "first.rpl4_566")) << Read(Transcript());

  // The title's fifth item is the replay.
  WriteTextFile(m_Folder / "replay.txt",
                "60 DOWN down\n62 DOWN up\n70 DOWN down\n72 DOWN up\n80 DOWN down\n82 DOWN up\n"
                "90 DOWN down\n92 DOWN up\n110 Z down\n112 Z up\n");
  m_Env.Set("PLAYER_INPUT_SCRIPT", (m_Folder / "replay.txt").string());
  m_Env.Set("PLAYER_FRAMES", "1100");
  m_Env.Set("PLAYER_DUMP_DIGESTS", (m_Folder / "played.txt").string());
  UseDialogScript("open user_data/rpl4/first.rpl4_566\n");
  result = Play();
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(Read(Transcript()).find("first.rpl4_566"), std::string::npos) << Read(Transcript());

  const auto recorded = DigestsByFrame(Read(m_Folder / "recorded.txt"));
  const auto played = DigestsByFrame(Read(m_Folder / "played.txt"));
  int playFrames = 0;
  for (const auto& [key, digest] : recorded) {
    if (key.first != kPlay && key.first != kResult) continue;
    const auto it = played.find(key);
    ASSERT_NE(it, played.end()) << "state " << key.first << ", stage frame " << key.second << " never played";
    ASSERT_EQ(it->second, digest) << "state " << key.first << ", stage frame " << key.second;
    playFrames += key.first == kPlay;
  }
  EXPECT_GT(playFrames, 600);
  for (const auto* run : {&recorded, &played}) {
    EXPECT_TRUE(std::any_of(run->begin(), run->end(), [&](const auto& entry) { return entry.first.first == kResult; }));
  }
}

// The demo's story as a person hears it, captured headless under the virtual
// clock: the mixed sound frame by frame, 735 stereo frames of 44100 Hz a
// game frame at 60 frames a second.
class HeardRun : public PlayerRun {
 protected:
  static constexpr std::size_t kSamplesPerFrame = 735;
  // About -24 dBFS: plainly audible, far above any rounding noise.
  static constexpr int kAudible = 2000;

  // The capture of a run's nFrames frames with an input script, as
  // interleaved stereo samples.
  std::vector<std::int16_t> Capture(int nFrames, const std::string& inputScript,
                                    const std::vector<std::string>& args = {}) {
    m_Env.Set("PLAYER_INPUT_SCRIPT", inputScript);
    m_Env.Set("PLAYER_FRAMES", std::to_string(nFrames));
    const fs::path wav = m_Folder / "sound.wav";
    m_Env.Set("PLAYER_AUDIO_CAPTURE", wav.string());
    const ProgramResult result = Play(args);
    EXPECT_EQ(result.status, 0) << result.err;
    std::vector<std::uint8_t> bytes;
    platform::WaveFormat format;
    std::span<const std::uint8_t> data;
    if (!platform::ReadWholeFile(wav, bytes) || platform::ParseRiffWave(bytes, format, data) != platform::WaveError::None) {
      ADD_FAILURE() << "no capture: " << result.err;
      return {};
    }
    EXPECT_EQ(format.channels, 2);
    EXPECT_EQ(format.bitsPerSample, 16);
    EXPECT_EQ(data.size(), static_cast<std::size_t>(nFrames) * kSamplesPerFrame * 4) << "not one frame's worth a frame";
    std::vector<std::int16_t> samples(data.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
      samples[i] = static_cast<std::int16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    ExpectNoClippingRun(samples);
    return samples;
  }

  // Largest absolute sample of game frames [first, last).
  static int Peak(const std::vector<std::int16_t>& samples, int first, int last) {
    int peak = 0;
    for (std::size_t i = first * kSamplesPerFrame * 2; i < last * kSamplesPerFrame * 2 && i < samples.size(); ++i)
      peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    return peak;
  }

  // A clipped mix shows as samples stuck at full scale one after another.
  static void ExpectNoClippingRun(const std::vector<std::int16_t>& samples) {
    int run = 0;
    for (std::size_t i = 0; i < samples.size(); i += 2) {
      const bool full = std::abs(static_cast<int>(samples[i])) >= 32767 || std::abs(static_cast<int>(samples[i + 1])) >= 32767;
      run = full ? run + 1 : 0;
      ASSERT_LT(run, 3) << "clipped at stereo frame " << i / 2;
    }
  }

  // The shipped options with the music switched off.
  void SwitchMusicOff() {
    const fs::path file = Project() / "user_data" / "Option.dat";
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(file, bytes));
    cOptionData options;
    ASSERT_TRUE(options.LoadBytes(bytes));
    options.m_bBgm = 0;
    g_nDataVersion = DATA_VERSION;
    ASSERT_TRUE(platform::WriteFileAtomic(file, options.SaveBytes()));
  }
};

TEST_F(HeardRun, TheStoryStageHasItsMusicAndItsSoundEffects) {
  // The title's music before any key, and the stage's from its start (frame
  // 360) without a gap.
  const std::vector<std::int16_t> music = Capture(720, STORY_INPUT_SCRIPT);
  EXPECT_GE(Peak(music, 0, 55), kAudible) << "no title music";
  for (int frame = 420; frame + 30 <= 720; frame += 30) {
    EXPECT_GE(Peak(music, frame, frame + 30), kAudible) << "no music in frames " << frame << " to " << frame + 30;
  }

  // Without music, the story stage started directly and played as the story
  // script plays it up to its first shot, which hits the second walker
  // (system sound 9); nothing is heard before it.
  SwitchMusicOff();
  WriteTextFile(m_Folder / "shot.txt", "200 RIGHT down\n245 Z down\n270 Z up\n375 Z down\n400 Z up\n417 X down\n419 X up\n");
  const std::vector<std::int16_t> effects = Capture(440, (m_Folder / "shot.txt").string(), {"data\\stg4\\story01.stg4"});
  EXPECT_EQ(Peak(effects, 0, 400), 0) << "music though it is off";
  EXPECT_GE(Peak(effects, 400, 440), kAudible) << "no hit";
  EXPECT_NE(Read(Transcript()).find("sound 9"), std::string::npos) << Read(Transcript());
}

TEST_F(PlayerRun, TheLauncherShowsWithoutBootDataAndCancellingEndsTheProgram) {
  SetIniValue("Direct3D", "2");
  const ProgramResult result = Play();
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(Read(Transcript()).find("launcher"), std::string::npos) << Read(Transcript());
  EXPECT_FALSE(fs::exists(StateFile())) << "the game never started";
  EXPECT_FALSE(fs::exists(Project() / "user_data" / "Boot.dat"));
}

TEST_F(PlayerRun, TheLauncherChoiceIsStoredAndNotAskedAgain) {
  SetIniValue("Direct3D", "2");
  UseDialogScript("launcher start renderer=0 hide=1\n");
  ExpectFramesRun(Play(), "title");
  ASSERT_TRUE(fs::exists(Project() / "user_data" / "Boot.dat"));

  // The second start uses the stored choice without a dialog.
  fs::remove(Transcript());
  fs::remove(StateFile());
  UseDialogScript("");
  ExpectFramesRun(Play(), "title");
  EXPECT_EQ(Read(Transcript()).find("launcher"), std::string::npos) << Read(Transcript());
}

TEST_F(PlayerRun, AMissingSystemIniIsToldInABoxAndTheDefaultsRun) {
  fs::remove(Project() / "System.ini");
  const ProgramResult result = Play();
  ExpectFramesRun(result, "title");
  EXPECT_NE(Read(Transcript()).find(Utf8("System.ini の読み込みに失敗しました！")), std::string::npos)
      << Read(Transcript());
}

TEST_F(PlayerRun, ASecondInstanceShowsTheBoxAndEnds) {
  platform::InstanceLock first;
  ASSERT_EQ(first.Acquire(), platform::LockState::Held);
  const ProgramResult result = Play();
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string transcript = Read(Transcript());
  EXPECT_NE(transcript.find(Utf8("二重起動")), std::string::npos) << transcript;
  EXPECT_NE(transcript.find(Utf8("既に起動しています")), std::string::npos) << transcript;
  EXPECT_FALSE(fs::exists(StateFile()));
  // The report was written again before the refusal.
  EXPECT_NE(Read(Project() / "Report_Game.txt").find("App : ver 566"), std::string::npos);
}

// Without a folder for the lock file the player cannot tell whether
// another runs: it says so, and runs.
TEST_F(PlayerRun, ALockThatCannotBeMadeIsToldAndTheGameRuns) {
  m_Env.Set("XDG_RUNTIME_DIR", (m_Folder / "missing").string());
  ExpectFramesRun(Play(), "title");
  const std::string transcript = Read(Transcript());
  EXPECT_NE(transcript.find(Utf8("二重起動を確認するためのファイルを作成できません。")), std::string::npos) << transcript;
  EXPECT_NE(transcript.find((m_Folder / "missing/").string() + Utf8(" がありません")), std::string::npos)
      << transcript;
  EXPECT_EQ(transcript.find(Utf8("既に起動しています")), std::string::npos) << transcript;
}

TEST_F(PlayerRun, AStageFileThatDoesNotExistStartsAtTheTitle) {
  const ProgramResult result = Play({"data\\stg4\\nothing.stg4"});
  ExpectFramesRun(result, "title");
  EXPECT_NE(Read(Project() / "Report_Game.txt").find(Utf8("「data\\stg4\\nothing.stg4」の読み込みに失敗しました！")),
            std::string::npos)
      << Read(Project() / "Report_Game.txt");
}

TEST_F(PlayerRun, ANamedStageFileStartsInStagePlayWithItsNewestVersion) {
  const fs::path stages = Project() / "data" / "stg4";
  fs::copy_file(stages / "free01.stg4_000", stages / "direct.stg4_001");
  fs::copy_file(stages / "free01.stg4_000", stages / "direct.stg4_005");
  ExpectFramesRun(Play({"data\\stg4\\direct.stg4"}), "stage");
  const std::string state = Read(StateFile());
  EXPECT_NE(state.find("\"play_mode\": 2"), std::string::npos) << state;
  EXPECT_NE(state.find("\"play_start\": 3"), std::string::npos) << state;
  EXPECT_NE(state.find("direct."), std::string::npos) << state;
}

// A close (the window's close box) while the free stage runs ends the
// program at once and in order: exit code 0 within a few frames of the
// close, the stage still where the close found it, no box, no file saved.
struct CloseRun {
  const char* name;
  const char* script;
  int closeFrame;
  int stageState;
};

class PlayerCloseRun : public PlayerRun, public testing::WithParamInterface<CloseRun> {};

TEST_P(PlayerCloseRun, EndsTheProgramAtTheClose) {
  const CloseRun& c = GetParam();
  WriteTextFile(m_Folder / "input.txt", c.script);
  m_Env.Set("PLAYER_INPUT_SCRIPT", (m_Folder / "input.txt").string());
  m_Env.Set("PLAYER_FRAMES", "1000");
  const ProgramResult result = Play({"data\\stg4\\free01.stg4"});
  EXPECT_EQ(result.status, 0) << result.err;

  const std::string state = Read(StateFile());
  std::smatch frame;
  ASSERT_TRUE(std::regex_search(state, frame, std::regex("\"frame\": (\\d+)"))) << state;
  // The game thread sees its quit at its next frame at the latest.
  const int frames = std::stoi(frame[1]);
  EXPECT_GE(frames, c.closeFrame) << state;
  EXPECT_LE(frames, c.closeFrame + 2) << state;
  EXPECT_NE(state.find("\"scene\": \"stage\", \"state\": " + std::to_string(c.stageState) + ","), std::string::npos)
      << state;
  EXPECT_EQ(Read(Transcript()).find("message ["), std::string::npos) << Read(Transcript());
  for (const char* folder : {"user_data/rpl4", "user_data/free"}) {
    EXPECT_TRUE(fs::is_empty(Project() / folder)) << folder;
  }
}

INSTANTIATE_TEST_SUITE_P(Closes, PlayerCloseRun,
                         // The stage scene loads its images on the first frame; the pause menu
                         // comes after the fade in and the start banners.
                         testing::Values(CloseRun{"AsTheStageLoads", "1 close\n", 1, 0},
                                         CloseRun{"DuringThePauseMenu", "180 SPACE down\n182 SPACE up\n190 close\n",
                                                  190, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

// On the real clock the game never runs faster than 60 frames a second, in
// every display mode: Direct3D with VSync waits for the display's blanks,
// without it the frame timer paces, DirectDraw does both. The bound is a
// lower one only (a loaded machine runs slower, never faster): N frames
// hold at least N - 1 intervals of 1/60 s, less 5 %.
struct PacedRun {
  const char* name;
  const char* direct3D;
  const char* windowMode;
  const char* vsync;
  int frames;
};

class PlayerPacing : public PlayerRun, public testing::WithParamInterface<PacedRun> {
 protected:
  void ExpectPaced(const PacedRun& c) {
    SetIniValue("Direct3D", c.direct3D);
    SetIniValue("WindowMode", c.windowMode);
    SetIniValue("VSync", c.vsync);
    m_Env.Set("PLAYER_CLOCK", "real");
    m_Env.Set("PLAYER_FRAMES", std::to_string(c.frames));
    const auto start = std::chrono::steady_clock::now();
    const ProgramResult result = Play();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(Read(StateFile()).find("\"frame\": " + std::to_string(c.frames)), std::string::npos)
        << Read(StateFile());
    EXPECT_GE(seconds, (c.frames - 1) / 60.0 * 0.95) << c.frames << " frames in " << seconds << " s";
  }
};

TEST_P(PlayerPacing, NeverRunsFasterThanSixtyFramesASecond) { ExpectPaced(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Modes, PlayerPacing,
                         testing::Values(PacedRun{"Direct3DWithVSync", "1", "1", "2", 300},
                                         PacedRun{"Direct3DWithoutVSync", "1", "1", "0", 120},
                                         PacedRun{"DirectDrawInAWindow", "0", "1", "0", 120},
                                         PacedRun{"DirectDrawFullScreenWithVSync", "0", "0", "1", 120}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerPacing, UnderADisplayInAWindowNeverRunsFasterThanSixtyFramesASecond) {
  if (!std::getenv("PLAYER_TEST_UNDER_XVFB")) GTEST_SKIP() << "runs under xvfb-run (player_under_xvfb)";
  m_Env.Unset("PLAYER_HEADLESS");
  m_Env.Set("SDL_AUDIODRIVER", "dummy");
  ExpectPaced({"Direct3DWithVSync", "1", "1", "2", 300});
}

// Folders the player refuses before it writes anything there: each is told
// on standard error and in a box naming what is wrong, and the program ends
// with status 1.
struct RefusedFolder {
  const char* name;
  void (*make)(const fs::path& project);
  bool readOnly;
  const char* box;     // in the box (the transcript)
  const char* standardError;
};

class PlayerRefusesFolder : public PlayerRun, public testing::WithParamInterface<RefusedFolder> {};

TEST_P(PlayerRefusesFolder, TellsWhyAndWritesNothing) {
  const RefusedFolder& c = GetParam();
  fs::remove_all(Project());
  fs::create_directories(Project());
  c.make(Project());
  std::vector<std::string> before;
  for (const auto& entry : fs::recursive_directory_iterator(Project())) before.push_back(entry.path().string());

  ProgramResult result;
  if (c.readOnly) {
    fs::permissions(Project(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    // Root writes into any folder: the player then runs as nobody, who may
    // read the project and write its lock and transcript beside it.
    if (::geteuid() == 0) {
      fs::permissions(m_Folder.path(), fs::perms::all, fs::perm_options::add);
      fs::permissions(m_Folder / "runtime", fs::perms::all, fs::perm_options::add);
      result = RunProgram("/usr/bin/setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", PLAYER_PROGRAM},
                          Project());
    } else {
      result = Play();
    }
    fs::permissions(Project(), fs::perms::owner_write, fs::perm_options::add);
  } else {
    result = Play();
  }

  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_NE(result.err.find(c.standardError), std::string::npos) << result.err;
  const std::string transcript = Read(Transcript());
  EXPECT_NE(transcript.find("message ["), std::string::npos) << transcript;
  EXPECT_NE(transcript.find(Utf8(c.box)), std::string::npos) << transcript;
  std::vector<std::string> after;
  for (const auto& entry : fs::recursive_directory_iterator(Project())) after.push_back(entry.path().string());
  EXPECT_EQ(after, before) << "the folder was written into";
  EXPECT_FALSE(fs::exists(StateFile())) << "the game started";
}

void MakeNothing(const fs::path&) {}
void MakeDataFolderWithoutSettings(const fs::path& project) {
  fs::create_directories(project / "data" / "stg4");
  WriteTextFile(project / "readme.txt", "not a game");
}
void MakeDemoProject(const fs::path& project) { fs::copy(DemoTemplate(), project, fs::copy_options::recursive); }

INSTANTIATE_TEST_SUITE_P(
    Folders, PlayerRefusesFolder,
    testing::Values(RefusedFolder{"Empty", MakeNothing, false, "data\\System.dat がありません",
                                  "data/System.dat is missing"},
                    RefusedFolder{"DataFolderWithoutSettings", MakeDataFolderWithoutSettings, false,
                                  "data\\System.dat がありません", "data/System.dat is missing"},
                    RefusedFolder{"ReadOnlyProject", MakeDemoProject, true, "プロジェクトのフォルダに書き込めません！",
                                  "cannot be written"}),
    [](const auto& info) { return std::string(info.param.name); });

// Run settings that cannot be used end the program with status 1 before
// the game starts, and say why on standard error.
struct RefusedSetting {
  const char* name;
  const char* variable;
  const char* value;  // an input script's text when variable is PLAYER_INPUT_SCRIPT
  const char* standardError;
};

class PlayerRefusesSetting : public PlayerRun, public testing::WithParamInterface<RefusedSetting> {};

TEST_P(PlayerRefusesSetting, TellsWhyOnStandardError) {
  const RefusedSetting& c = GetParam();
  if (std::string(c.variable) == "PLAYER_INPUT_SCRIPT") {
    WriteTextFile(m_Folder / "input.txt", c.value);
    m_Env.Set(c.variable, (m_Folder / "input.txt").string());
  } else {
    m_Env.Set(c.variable, c.value);
  }
  const ProgramResult result = Play();
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_NE(result.err.find(c.standardError), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(StateFile())) << "the game started";
}

INSTANTIATE_TEST_SUITE_P(
    Settings, PlayerRefusesSetting,
    testing::Values(RefusedSetting{"UnknownClock", "PLAYER_CLOCK", "fast", "PLAYER_CLOCK=fast"},
                    RefusedSetting{"FramesNotANumber", "PLAYER_FRAMES", "ten", "PLAYER_FRAMES=ten"},
                    RefusedSetting{"UnknownKeyInInputScript", "PLAYER_INPUT_SCRIPT", "60 z down\n",
                                   "input.txt: line 1"}),
    [](const auto& info) { return std::string(info.param.name); });

// The title plays no MIDI and shows no dialog: the synthesizer's library is
// never loaded, and the window draws without OpenGL (neither SDL nor GTK
// brings in a GL driver). The dynamic loader names every library it maps.
class PlayerLibraries : public PlayerRun {
 protected:
  void ExpectNoneLoaded(const std::vector<std::string>& names) {
    m_Env.Set("LD_DEBUG", "files");
    const ProgramResult result = Play();
    EXPECT_EQ(result.status, 0);
    ASSERT_NE(result.err.find("generating link map"), std::string::npos) << "LD_DEBUG said nothing";
    for (const std::string& name : names) {
      EXPECT_EQ(result.err.find("file=" + name), std::string::npos) << name << " was loaded";
    }
  }
};

TEST_F(PlayerLibraries, TheTitleLoadsNoSynthesizer) { ExpectNoneLoaded({"libfluidsynth"}); }

TEST_F(PlayerLibraries, UnderADisplayTheTitleLoadsNeitherTheSynthesizerNorOpenGL) {
  if (!std::getenv("PLAYER_TEST_UNDER_XVFB")) GTEST_SKIP() << "runs under xvfb-run (player_under_xvfb)";
  m_Env.Unset("PLAYER_HEADLESS");
  m_Env.Set("SDL_AUDIODRIVER", "dummy");
  ExpectNoneLoaded({"libfluidsynth", "libGL", "libEGL", "swrast_dri"});
}

TEST_F(PlayerRun, AScreenModeThatCannotBeUsedEndsWithItsBox) {
  SetIniValue("Bpp", "24");
  const ProgramResult result = Play();
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_NE(Read(Transcript()).find(Utf8("画面モードが不正です！")), std::string::npos) << Read(Transcript());
  EXPECT_FALSE(fs::exists(StateFile()));
}

// A damaged palette picture ends start-up with its box and report line,
// and the program with status 1.
TEST_F(PlayerRun, ADamagedPalettePictureEndsWithItsBoxAndStatus1) {
  const fs::path picture = Project() / "bmp" / "plt" / "Palette.bmp";
  const std::string intact = ReadTextFile(picture);
  // The little-endian 32-bit word at `offset` set to `value`.
  const auto patched = [&](std::size_t offset, std::uint32_t value) {
    std::string bytes = intact;
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i));
    return bytes;
  };
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"half", intact.substr(0, intact.size() / 2)},
      {"huge pixel offset", patched(10, 0x7FFFFFF0u)},
      {"huge width", patched(18, 0x7FFFFFF0u)},
      {"huge height", patched(22, 0x7FFFFFF0u)},
  };
  const std::string box = Utf8("bmp\\plt\\Palette.bmp の読み込みに失敗！");
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    WriteTextFile(picture, bytes);
    fs::remove(Transcript());
    fs::remove(Project() / "Report_Game.txt");
    const ProgramResult result = Play();
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_NE(Read(Transcript()).find("message [" + Utf8("エラー") + "] " + box), std::string::npos)
        << Read(Transcript());
    EXPECT_NE(Read(Project() / "Report_Game.txt").find("\n" + box + "\n"), std::string::npos)
        << Read(Project() / "Report_Game.txt");
    EXPECT_FALSE(fs::exists(StateFile()));
  }
}

// A fatal error while the game runs (a replay file that cannot be read,
// chosen from the title) ends the program with status 1; a quit from the
// title's menu ends it with 0.
TEST_F(PlayerRun, AnErrorWhileTheGameRunsEndsWithStatus1AndAQuitWith0) {
  WriteTextFile(Project() / "user_data" / "rpl4" / "bad.rpl4_566", "damaged");
  // The title's fifth item is the replay, the seventh the quit.
  WriteTextFile(m_Folder / "replay.txt",
                "60 DOWN down\n62 DOWN up\n70 DOWN down\n72 DOWN up\n80 DOWN down\n82 DOWN up\n"
                "90 DOWN down\n92 DOWN up\n110 Z down\n112 Z up\n");
  m_Env.Set("PLAYER_INPUT_SCRIPT", (m_Folder / "replay.txt").string());
  m_Env.Set("PLAYER_FRAMES", "300");
  UseDialogScript("open user_data/rpl4/bad.rpl4_566\n");
  ProgramResult result = Play();
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_NE(Read(Transcript()).find("bad.rpl4_566"), std::string::npos) << Read(Transcript());

  WriteTextFile(m_Folder / "quit.txt", "60 UP down\n62 UP up\n80 Z down\n82 Z up\n");
  m_Env.Set("PLAYER_INPUT_SCRIPT", (m_Folder / "quit.txt").string());
  fs::remove(StateFile());
  result = Play();
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string state = Read(StateFile());
  EXPECT_EQ(state.find("\"frame\": 300"), std::string::npos) << "the quit did not end the run: " << state;
}

// The launcher's choice that cannot be kept (Boot.dat cannot be written) is
// told in a box and the report; the game starts with it all the same.
TEST_F(PlayerRun, ALauncherChoiceThatCannotBeKeptIsToldAndTheGameRuns) {
  SetIniValue("Direct3D", "2");
  fs::create_directories(Project() / "user_data" / "Boot.dat");  // a folder in the way
  UseDialogScript("launcher start renderer=0 hide=1\n");
  ExpectFramesRun(Play(), "title");
  const std::string box = Utf8("user_data\\Boot.dat の保存に失敗しました！");
  EXPECT_NE(Read(Transcript()).find(box), std::string::npos) << Read(Transcript());
  EXPECT_NE(Read(Project() / "Report_Game.txt").find(box), std::string::npos);
}

}  // namespace
