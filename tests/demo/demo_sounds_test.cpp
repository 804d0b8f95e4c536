// The demo project's sounds and music, as start-up and the music manager
// load them: every registered wave loads as a sound, the Ogg pieces and the
// MIDI file read, and the default music slots play.
#include <gtest/gtest.h>

#include "model/database/database.h"
#include "model/settings/paths.h"
#include "model/settings/system_data.h"
#include "shell/sound/bgm.h"
#include "shell/sound/smf_file.h"
#include "shell/sound/sound_effects.h"
#include "support/scoped_audio.h"
#include "support/temp_folder.h"
#include "tools/make-demo/demo_data.h"

namespace {

class DemoSoundsTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(demo::WriteDemoData(m_Folder.path(), error)) << error;
  }
  TempFolder m_Folder;
  ScopedAudio m_Audio;
};

TEST_F(DemoSoundsTest, EveryRegisteredSoundLoads) {
  ScopedCurrentFolder enter(m_Folder.path());
  cSystemData settings;
  ASSERT_NE(settings.LoadFile(g_astrFilePath[PATH_SYSTEM]), 0);
  cDatabase database;
  ASSERT_EQ(database.LoadAll(), 1);
  std::vector<std::string> files = settings.m_vSoundFiles;
  ASSERT_EQ(files.size(), 17u);
  ASSERT_GE(database.m_vSound.size(), 2u);
  for (std::size_t k = 1; k < database.m_vSound.size(); ++k) files.push_back(database.m_vSound[k].m_strFile);
  ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
  for (const std::string& file : files) {
    SOUNDDATA sound;
    EXPECT_TRUE(DS_LoadSound(&sound, file.c_str(), 1, 0)) << file;
    EXPECT_EQ(sound.lpBuffers.size(), 1u) << file;
  }
  DS_Release();
  ASSERT_GE(database.m_vBgm.size(), 4u);
  EXPECT_EQ(database.m_vBgm[3].m_strFile, "bgm\\WorldMap.mid");
  EXPECT_TRUE(cSmfFile("bgm\\WorldMap.mid").HasImage());
}

TEST_F(DemoSoundsTest, TheDefaultSlotsPlayOggAndMidi) {
  ScopedCurrentFolder enter(m_Folder.path());
  std::vector<std::string> ogg, midi;
  SetDefaultBgmNames(ogg, midi);
  cBgm bgm;
  ASSERT_EQ(bgm.Init(1, &ogg, &midi, 5), 1);
  EXPECT_EQ(bgm.Play(0, 0, 1, 0, 0), 1);
  EXPECT_EQ(bgm.ChannelKind(0), 1);
  EXPECT_EQ(bgm.Play(0, 4, 1, 0, 0), 1);
  EXPECT_EQ(bgm.ChannelKind(0), 1);
  EXPECT_EQ(bgm.Play(0, 1, 1, 0, 0), 1);  // no WorldMap.ogg: the MIDI file
  EXPECT_EQ(bgm.ChannelKind(0), 2);
  EXPECT_EQ(bgm.Play(0, 2, 1, 0, 0), 0);  // the challenge slot has no music
  bgm.Release();
}

}  // namespace
