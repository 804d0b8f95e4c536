#include "shell/sound/sound_effects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "base/report.h"
#include "platform/audio/wave_file.h"
#include "support/audio_samples.h"
#include "support/scoped_audio.h"
#include "support/temp_folder.h"

namespace {

// A 16-bit mono wave of frames samples of one value.
void WriteWave(const std::filesystem::path& path, int frames, std::int16_t value = 8000) {
  const std::vector<std::int16_t> samples(static_cast<std::size_t>(frames), value);
  const auto bytes = platform::MakeWaveFile(samples, 22050, 1);
  WriteTextFile(path, std::string(bytes.begin(), bytes.end()));
}

class SoundEffectsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
    WriteWave(m_Folder / "beep.wav", 22050);
  }
  void TearDown() override {
    DS_Release();
    g_vSound.clear();
    g_vSoundDef.clear();
  }
  std::vector<bool> Playing(const SOUNDDATA& s) {
    std::vector<bool> playing;
    for (const auto& b : s.lpBuffers) playing.push_back(b && b->IsPlaying());
    return playing;
  }

  ScopedAudio m_Audio;
  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter{m_Folder.path()};
};

TEST_F(SoundEffectsTest, PlaysTakeTheBuffersInTurn) {
  ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
  SOUNDDATA sound;
  ASSERT_TRUE(DS_LoadSound(&sound, "BEEP.WAV", 3, 0));  // found whatever its case
  ASSERT_EQ(sound.lpBuffers.size(), 3u);
  EXPECT_EQ(sound.szFileName, "BEEP.WAV");
  std::vector<int> used;
  for (int i = 0; i < 4; ++i) {
    used.push_back(sound.nNextBuffer);
    DS_Play(&sound, 0);
  }
  EXPECT_EQ(used, (std::vector<int>{0, 1, 2, 0}));
  EXPECT_EQ(Playing(sound), (std::vector<bool>{true, true, true}));
  // The duplicates share the wave: each sounds, three at once are louder.
  const auto out = RenderFrames(64);
  EXPECT_NEAR(out[0], 3 * 8000, 3 * 8000 * 0.02);
}

TEST_F(SoundEffectsTest, RelativeVolumeAddsAndClamps) {
  ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
  SOUNDDATA sound;
  ASSERT_TRUE(DS_LoadSound(&sound, "beep.wav", 2, -9000));
  EXPECT_EQ(DS_GetVolume(&sound, 0), -9000);
  EXPECT_EQ(DS_GetVolume(&sound, 1), -9000);
  EXPECT_EQ(DS_SetVolume(&sound, 0, -3000, 1), -10000);
  EXPECT_EQ(DS_SetVolume(&sound, 1, 3000, 1), -6000);
  EXPECT_EQ(DS_SetVolume(&sound, 1, 700, 0), 0);
  EXPECT_EQ(DS_GetVolume(&sound, 0), -10000);
  EXPECT_EQ(DS_SetVolume(&sound, 2, -100, 0), 0);  // no such buffer
  EXPECT_EQ(DS_GetVolume(&sound, -1), 0);
}

TEST_F(SoundEffectsTest, WithSoundOffEveryLoadSucceedsAndNothingPlays) {
  SOUNDDATA sound;
  EXPECT_TRUE(DS_LoadSound(&sound, "beep.wav", 2, 0));
  EXPECT_TRUE(sound.lpBuffers.empty());
  std::unique_ptr<platform::DirectSoundBuffer> buffer;
  EXPECT_TRUE(DS_CreateBuffer(&buffer, "missing.wav"));
  EXPECT_TRUE(DS_DuplicateBuffer(&buffer, nullptr));
  g_vSound.resize(2);
  g_vSoundDef.resize(2);
  EXPECT_EQ(DS_LoadSounds(&g_vSound, &g_vSoundDef, 0), 1);
  DS_Play(&sound, 0);
  const std::uint16_t left = 1;
  DS_PlayCursorSound(&left, 3, 0);
  EXPECT_EQ(DS_SetVolume(&sound, 0, -100, 0), 0);
  EXPECT_EQ(PeakOf(RenderFrames(32), 0, 32), 0);
}

TEST_F(SoundEffectsTest, LoadSoundsKeepsLoadedEntriesAndGoesOnPastFailures) {
  WriteWave(m_Folder / "two.wav", 100);
  const std::vector<std::uint8_t> adpcm = {'R', 'I', 'F', 'F', 24, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                           16, 0, 0, 0, 2, 0, 1, 0, 0x22, 0x56, 0, 0, 0, 0, 0, 0, 1, 0, 8, 0};
  WriteTextFile(m_Folder / "adpcm.wav", std::string(adpcm.begin(), adpcm.end()));
  ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
  g_vSoundDef = {{"beep.wav", 1, -500, 1}, {"adpcm.wav", 1, 0, 1}, {"missing.wav", 1, 0, 1},
                 {"two.wav", 2, -700, 1}};
  g_vSound.resize(4);
  ASSERT_TRUE(DS_LoadSound(&g_vSound[3], "beep.wav", 1, -100));  // already loaded: kept
  EXPECT_EQ(DS_LoadSounds(&g_vSound, &g_vSoundDef, 0), 1);
  EXPECT_EQ(DS_GetVolume(&g_vSound[0], 0), -500);  // volume 0: the definition's own
  EXPECT_TRUE(g_vSound[1].lpBuffers.empty());      // not PCM
  EXPECT_TRUE(g_vSound[2].lpBuffers.empty());
  EXPECT_EQ(g_vSound[3].szFileName, "beep.wav");
  EXPECT_EQ(DS_GetVolume(&g_vSound[3], 0), -100);
  DS_Play(&g_vSound[1], 0);  // an unloaded sound plays as silence
  EXPECT_EQ(PeakOf(RenderFrames(16), 0, 16), 0);

  g_vSound[0] = SOUNDDATA();
  EXPECT_EQ(DS_LoadSounds(&g_vSound, &g_vSoundDef, -3000), 1);
  EXPECT_EQ(DS_GetVolume(&g_vSound[0], 0), -3000);  // a given volume wins
}

TEST_F(SoundEffectsTest, CursorSoundPlaysOncePerAskedAxis) {
  ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
  g_vSoundDef = {{"beep.wav", 4, 0, 1}};
  g_vSound.resize(1);
  DS_LoadSounds(&g_vSound, &g_vSoundDef, 0);
  struct Case {
    std::uint16_t direction;
    int axes;
    int plays;
  } cases[] = {{1, 1, 1}, {2, 2, 0}, {4, 2, 1}, {8, 1, 0}, {1 | 4, 3, 2}, {2 | 8, 2, 1}, {0, 3, 0}};
  for (const Case& c : cases) {
    const int before = g_vSound[0].nNextBuffer;
    DS_PlayCursorSound(&c.direction, c.axes, 0);
    EXPECT_EQ((g_vSound[0].nNextBuffer - before + 4) % 4, c.plays) << c.direction << " " << c.axes;
  }
}

TEST_F(SoundEffectsTest, TwoThreadsPlayingOneSoundKeepItsTurnInRange) {
  ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
  g_vSoundDef = {{"beep.wav", 3, 0, 1}};
  g_vSound.resize(1);
  DS_LoadSounds(&g_vSound, &g_vSoundDef, 0);
  auto play = [] {
    for (int i = 0; i < 300; ++i) DS_Play(&g_vSound[0], 0);
  };
  auto cursor = [] {
    const std::uint16_t up = 4;
    for (int i = 0; i < 300; ++i) DS_PlayCursorSound(&up, 2, 0);
  };
  std::thread a(play), b(cursor);
  for (int i = 0; i < 50; ++i) RenderFrames(128);
  a.join();
  b.join();
  EXPECT_EQ(g_vSound[0].nNextBuffer, 600 % 3);
}

TEST_F(SoundEffectsTest, WithoutADeviceTheGameRunsSilentAndSaysSo) {
  platform::SetAudioOutputForTests(platform::AudioOutputKind::Device);
  platform::SetAudioDeviceRefusedForTests(true);
  ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
  EXPECT_EQ(platform::CurrentAudioOutput(), platform::AudioOutputKind::Silent);
  SOUNDDATA sound;
  EXPECT_TRUE(DS_LoadSound(&sound, "beep.wav", 1, 0));
  DS_Play(&sound, 0);
  EXPECT_NE(ReadTextFile(m_Folder / "Report_Game.txt").find("runs silent"), std::string::npos);
  DS_Release();
  EXPECT_EQ(platform::CurrentAudioOutput(), platform::AudioOutputKind::Closed);
}

}  // namespace
