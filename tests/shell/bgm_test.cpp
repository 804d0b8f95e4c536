#include "shell/sound/bgm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <mutex>
#include <thread>

#include "app/player_services.h"
#include "base/close_request.h"
#include "base/report.h"
#include "model/database/database.h"
#include "model/settings/system_data.h"
#include "ogg_encoder.h"
#include "platform/audio/wave_file.h"
#include "platform/files.h"
#include "scenes/scene_manager.h"
#include "smf_writer.h"
#include "support/audio_samples.h"
#include "support/scoped_audio.h"
#include "support/scoped_database.h"
#include "support/scoped_message_boxes.h"
#include "support/scoped_virtual_clock.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace {

using namespace platform;

// Ogg players that log what they are asked; Load succeeds for names in
// g_GoodOgg.
std::mutex g_LogMutex;
std::vector<std::string> g_Log;
std::vector<std::string> g_GoodOgg;
int g_nFakes = 0;

void Log(const std::string& line) {
  std::lock_guard lock(g_LogMutex);
  g_Log.push_back(line);
}

class FakeVox : public IVox {
 public:
  FakeVox() : m_Id(std::to_string(++g_nFakes)) { Log("new " + m_Id); }
  int Load(const char* path) override {
    Log("load " + m_Id + " " + path);
    return std::find(g_GoodOgg.begin(), g_GoodOgg.end(), path) != g_GoodOgg.end();
  }
  void Play() override { Log("play " + m_Id); }
  void Stop() override { Log("stop " + m_Id); }
  void Unload() override { Log("unload " + m_Id); }
  void SetLoop(int count) override { Log("loop " + m_Id + " " + std::to_string(count)); }
  void Delete() override {
    Log("delete " + m_Id);
    delete this;
  }

 private:
  std::string m_Id;
};

IVox* CreateFakeVox() { return new FakeVox; }

std::vector<std::string> TakeLog() {
  std::lock_guard lock(g_LogMutex);
  return std::exchange(g_Log, {});
}

class BgmTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
    SetVoxFactoryForTests(CreateFakeVox);
    g_GoodOgg = {"bgm\\Title.ogg"};
    g_nFakes = 0;
    SetDefaultBgmNames(m_Ogg, m_Midi);
    SmfTrack t;
    t.NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).End(0);
    const auto midi = MakeSmf(0, 96, {t});
    std::filesystem::create_directory(m_Folder / "bgm");
    for (const char* name : {"bgm/Title.mid", "bgm/Stage.MID"})
      WriteTextFile(m_Folder / name, std::string(midi.begin(), midi.end()));
    ResetCloseRequests();
  }
  void TearDown() override {
    m_Bgm.Release();
    RestoreVoxFactory();
    TakeLog();
  }
  int Start() {
    const int ok = m_Bgm.Init(1, &m_Ogg, &m_Midi, 5);
    TakeLog();
    return ok;
  }

  ScopedAudio m_Audio;
  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter{m_Folder.path()};
  std::vector<std::string> m_Ogg, m_Midi;
  cBgm m_Bgm;
};

TEST_F(BgmTest, SetSlotTakesTheKindFromTheExtension) {
  ASSERT_EQ(Start(), 1);
  struct Case {
    const char* path;
    int result, kind;
    const char *ogg, *midi;
  } cases[] = {
      {"bgm\\Boss.MID", 1, 2, "bgm\\Title.ogg", "bgm\\Boss.mid"},
      {"bgm\\Boss.mid", 1, 2, "bgm\\Title.ogg", "bgm\\Boss.mid"},
      {"bgm\\Field.OGG", 1, 1, "bgm\\Field.OGG", "bgm\\Title.mid"},
      {"bgm\\Field.Mid", 0, 0, "bgm\\Field.Mid", "bgm\\Field.Mid"},
      {"bgm\\Field.wav", 0, 0, "bgm\\Field.wav", "bgm\\Field.wav"},
      {"bgm\\none", 0, 0, "", ""},
  };
  for (const Case& c : cases) {
    SetDefaultBgmNames(m_Ogg, m_Midi);
    EXPECT_EQ(m_Bgm.SetSlot(0, c.path), c.result) << c.path;
    EXPECT_EQ(m_Bgm.SlotKind(0), c.kind) << c.path;
    EXPECT_EQ(m_Ogg[0], c.ogg) << c.path;
    EXPECT_EQ(m_Midi[0], c.midi) << c.path;
  }
  EXPECT_EQ(m_Bgm.SetSlot(5, "x.ogg"), 0);  // past the slots: reported, nothing written
  EXPECT_EQ(CloseRequestCount(), 1);
}

TEST_F(BgmTest, TheCurrentSlotGoesOnUnlessForced) {
  ASSERT_EQ(Start(), 1);
  EXPECT_EQ(m_Bgm.Play(0, 0, 1, 0, 0), 1);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"unload 1", "load 1 bgm\\Title.ogg", "loop 1 2147483647", "play 1"}));
  EXPECT_EQ(m_Bgm.ChannelKind(0), 1);
  EXPECT_EQ(m_Bgm.Play(0, 0, 1, 0, 0), 1);
  EXPECT_TRUE(TakeLog().empty());
  EXPECT_EQ(m_Bgm.Play(0, 0, 0, 0, 1), 1);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"stop 1", "unload 1", "load 1 bgm\\Title.ogg", "loop 1 0", "play 1"}));
}

TEST_F(BgmTest, AnOggSlotThatFailsFallsBackToMidiAndStopsTheOggPlayer) {
  ASSERT_EQ(Start(), 1);
  ASSERT_EQ(m_Bgm.Play(0, 0, 1, 0, 0), 1);  // the title plays as Ogg
  TakeLog();
  m_Ogg[4] = "bgm\\Missing.ogg";
  EXPECT_EQ(m_Bgm.Play(0, 4, 1, 0, 0), 1);  // bgm\Stage.mid, found as Stage.MID
  EXPECT_EQ(m_Bgm.ChannelKind(0), 2);
  EXPECT_EQ(m_Bgm.CurrentSlot(), 4);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"stop 1", "unload 1", "load 1 bgm\\Missing.ogg"}));
  // Ogg again: the MIDI player is stopped (or paused, when asked).
  EXPECT_EQ(m_Bgm.Play(0, 0, 1, 0, 0), 1);
  EXPECT_EQ(m_Bgm.ChannelKind(0), 1);
}

TEST_F(BgmTest, AFailedPlayStopsAllMusicAndIsTriedAgain) {
  ASSERT_EQ(Start(), 1);
  ASSERT_EQ(m_Bgm.Play(0, 0, 1, 0, 0), 1);
  TakeLog();
  ASSERT_EQ(m_Bgm.SetSlot(2, "bgm\\none"), 0);
  EXPECT_EQ(m_Bgm.Play(0, 2, 1, 0, 0), 0);
  EXPECT_EQ(m_Bgm.CurrentSlot(), -1);
  EXPECT_EQ(m_Bgm.ChannelKind(0), 0);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"stop 1"}));  // an empty name is not even loaded
  EXPECT_EQ(m_Bgm.Play(0, 1, 1, 0, 0), 0);                      // WorldMap: neither file exists
  EXPECT_EQ(m_Bgm.Play(0, 1, 1, 0, 0), 0);                      // tried again
  const auto log = TakeLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), "load 1 bgm\\WorldMap.ogg"), 2);
  EXPECT_NE(ReadTextFile(m_Folder / "Report_Game.txt").find("Midi bgm\\WorldMap.mid Create"), std::string::npos);
}

TEST_F(BgmTest, AnEmptyOggNameLeavesThePlayingPieceAlone) {
  ASSERT_EQ(Start(), 1);
  cVox vox;
  ASSERT_EQ(vox.Init(), 1);
  ASSERT_EQ(vox.Create(1), 1);
  ASSERT_EQ(vox.Play(0, "bgm\\Title.ogg", 1), 1);
  TakeLog();
  EXPECT_EQ(vox.Play(0, "", 1), 0);
  EXPECT_EQ(vox.Play(0, nullptr, 1), 0);
  EXPECT_TRUE(TakeLog().empty());
  EXPECT_EQ(vox.CurrentChannel(), 0);
  ASSERT_EQ(vox.Create(2), 1);  // the earlier players are deleted
  const auto log = TakeLog();
  EXPECT_EQ(log.front(), "delete 2");  // the manager's own player is 1
  EXPECT_EQ(vox.CurrentChannel(), -1);
}

TEST_F(BgmTest, WithoutTheOggLibraryTheManagerStaysOffAndDoesNothing) {
  ScopedMessageBoxes boxes;
  SetVoxFactoryForTests(nullptr);
  EXPECT_EQ(m_Bgm.Init(1, &m_Ogg, &m_Midi, 5), 0);
  EXPECT_FALSE(m_Bgm.IsInit());
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "oggの初期化に失敗！");
  EXPECT_EQ(m_Bgm.Play(0, 3, 1, 0, 1), 1);
  EXPECT_EQ(m_Bgm.SetSlot(0, "x.mid"), 1);
  EXPECT_EQ(m_Midi[0], "bgm\\Title.mid");
}

TEST_F(BgmTest, OneThreadRestartsTheManagerWhileAnotherStopsIt) {
  std::atomic<bool> done{false};
  std::thread stopper([&] {
    while (!done) m_Bgm.Stop();
  });
  for (int i = 0; i < 50; ++i) {
    m_Bgm.Release();
    ASSERT_EQ(m_Bgm.Init(1, &m_Ogg, &m_Midi, 5), 1);
    m_Bgm.Play(0, 0, 1, 0, 0);
  }
  done = true;
  stopper.join();
}

// Real players: a generated Ogg and a generated MIDI piece rendered into the
// capture file by the headless pump, a frame's worth at a time.
TEST(BgmCapture, TheCaptureHoldsTheMusicWhileItPlaysAndSilenceAfterAStop) {
  TempFolder folder;
  ScopedCurrentFolder enter(folder.path());
  ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
  std::filesystem::create_directory(folder / "bgm");
  std::vector<float> tone;
  for (int i = 0; i < kMixerRate / 2; ++i) {
    tone.push_back(0.4f * std::sin(i * 2 * 3.14159265f * 330 / kMixerRate));
    tone.push_back(tone.back());
  }
  const auto ogg = EncodeOggVorbis(tone, kMixerRate, 2);
  WriteTextFile(folder / "bgm/Title.ogg", std::string(ogg.begin(), ogg.end()));
  SmfTrack t;
  t.Program(0, 0, 0).NoteOn(0, 0, 64, 120).NoteOff(48, 0, 64).NoteOn(0, 0, 67, 120).NoteOff(48, 0, 67).End(0);
  const auto midi = MakeSmf(0, 96, {t});
  WriteTextFile(folder / "bgm/Stage.mid", std::string(midi.begin(), midi.end()));

  const auto capture = (folder / "capture.wav").string();
  ScopedVirtualClock clock;
  ScopedAudio audio(AudioOutputKind::Capture, capture);
  std::vector<std::string> oggNames, midiNames;
  SetDefaultBgmNames(oggNames, midiNames);
  cBgm bgm;
  ASSERT_EQ(bgm.Init(1, &oggNames, &midiNames, 5), 1);
  auto frames = [&](int n) {
    for (int i = 0; i < n; ++i) {
      clock.Advance(i % 3 == 0 ? 16 : 17);  // 50 ms every three frames
      PumpAudio();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));  // the MIDI callbacks
    }
  };
  ASSERT_EQ(bgm.Play(0, 0, 1, 0, 0), 1);  // 0.0 s: Ogg, looping
  frames(60);
  bgm.Stop();  // 1.0 s
  frames(30);
  ASSERT_EQ(bgm.Play(0, 4, 1, 0, 0), 1);  // 1.5 s: MIDI, looping
  EXPECT_EQ(bgm.ChannelKind(0), 2);
  frames(90);
  bgm.Stop();  // 3.0 s
  frames(90);
  bgm.Release();  // 4.5 s: the last user closes the capture

  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(capture, bytes));
  WaveFormat format;
  std::span<const std::uint8_t> data;
  ASSERT_EQ(ParseRiffWave(bytes, format, data), WaveError::None);
  std::vector<std::int16_t> samples(data.size() / 2);
  std::memcpy(samples.data(), data.data(), samples.size() * 2);
  ASSERT_EQ(samples.size(), 2u * kMixerRate * 9 / 2);
  auto peakAt = [&](double from, double to) {
    return PeakOf(samples, static_cast<std::size_t>(from * kMixerRate),
                  static_cast<std::size_t>((to - from) * kMixerRate));
  };
  EXPECT_GT(peakAt(0.1, 0.45), 8000);   // the Ogg
  EXPECT_GT(peakAt(0.55, 0.95), 8000);  // looped
  EXPECT_EQ(peakAt(1.05, 1.5), 0);      // stopped
  EXPECT_GT(peakAt(1.55, 1.95), 500);   // the MIDI piece
  EXPECT_GT(peakAt(2.55, 2.95), 500);   // looped
  EXPECT_LT(peakAt(3.8, 4.5), 8);       // stopped: the notes have died away (below -72 dB)
}

}  // namespace

namespace {

// The music requests of the scenes: the world map and the story menu share
// music slot 1, and moving between the two keeps the piece that plays;
// coming to either from anywhere else starts it again.
TEST_F(BgmTest, TheMapMusicGoesOnBetweenTheWorldMapAndTheStoryMenu) {
  ScopedDatabase database;
  const cSystemData savedSystem = g_SystemData;
  const int savedScene = g_SceneManager.m_nScene, savedPrev = g_SceneManager.m_nPrevScene;
  g_GoodOgg.push_back("bgm\\Map.ogg");
  g_Database.m_vBgm.resize(2);
  g_Database.m_vBgm[1].m_strFile = "bgm\\Map.ogg";
  g_SystemData.m_vSystemBgm = {0, 1, 0, 0};
  g_SystemData.m_vSystemBgmLoop = {1, 1, 1, 1};
  ASSERT_EQ(g_Bgm.Init(1, &m_Ogg, &m_Midi, 5), 1);
  TakeLog();
  cPlayerServices services(nullptr);
  struct Case {
    int scene, previous;
    bool restarts;
  };
  const Case cases[] = {
      {SCENE_WORLDMAP, SCENE_TITLE, true},      {SCENE_STORYMENU, SCENE_WORLDMAP, false},
      {SCENE_WORLDMAP, SCENE_STORYMENU, false}, {SCENE_WORLDMAP, SCENE_STAGE, true},
      {SCENE_STORYMENU, SCENE_TITLE, true},
  };
  for (const Case& c : cases) {
    g_SceneManager.m_nScene = c.scene;
    g_SceneManager.m_nPrevScene = c.previous;
    services.PlayBgmRequest(1, 0);
    const auto log = TakeLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "load 1 bgm\\Map.ogg"), c.restarts ? 1 : 0)
        << c.scene << " after " << c.previous;
  }
  g_Bgm.Release();
  g_SceneManager.m_nScene = savedScene;
  g_SceneManager.m_nPrevScene = savedPrev;
  g_SystemData = savedSystem;
}

}  // namespace
