// The database container: loading the ten files in order, stopping at the
// first one that cannot be read, and writing them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/database/database.h"
#include "model/database/database_file.h"
#include "model/settings/paths.h"
#include "platform/files.h"
#include "support/scoped_message_boxes.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nDataVersion = DATA_VERSION;
    g_bConvertText = 1;
    fs::create_directories(m_Folder / "data" / "database");
  }

  // A database whose every list differs from the defaults.
  static cDatabase Distinct() {
    cDatabase db;
    db.m_vAnimeSet.resize(2);
    db.m_vAnimeSet[1].m_strName = "set";
    db.m_vAnime[1].m_vFrames[0].m_nImage = 12;
    db.m_vBmpCharaExc[1].m_strFile = "bmp\\chara_sp\\a.bmp";
    db.m_vSwordType[0].m_strName = "sword";
    db.m_vEffect[1].m_nCellWidth = 48;
    db.m_vCharaEffect[0].m_nKind = CHARA_EFFECT_WAVE_V;
    db.m_vCharaEffect[1].m_nKind = CHARA_EFFECT_ZOOM;
    db.m_vScrEffect[0].m_nKind = SCR_EFFECT_LENS;
    db.m_vScrEffect[1].m_nKind = SCR_EFFECT_MOSAIC;
    db.m_vPicture[1].m_strFile = "bmp\\picture\\p.bmp";
    db.m_vSound[1].m_strFile = "wave\\s.wav";
    db.m_vBgm[1].m_strFile = "bgm\\b.ogg";
    return db;
  }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  ScopedMessageBoxes m_Boxes;
};

TEST_F(DatabaseTest, SavedFilesLoadBackAndEntryZeroOfTheEffectsHasNoKind) {
  cDatabase saved = Distinct();
  ASSERT_EQ(saved.SaveAll(), 1);
  cDatabase db;
  ASSERT_EQ(db.LoadAll(), 1);
  EXPECT_TRUE(m_Boxes.Shown().empty());
  EXPECT_EQ(db.m_vAnimeSet.size(), 2u);
  EXPECT_EQ(db.m_vAnime[1].m_vFrames[0].m_nImage, 12);
  EXPECT_EQ(db.m_vBmpCharaExc[1].m_strFile, "bmp\\chara_sp\\a.bmp");
  EXPECT_EQ(db.m_vSwordType[0].m_strName, "sword");
  EXPECT_EQ(db.m_vEffect[1].m_nCellWidth, 48);
  EXPECT_EQ(db.m_vCharaEffect[0].m_nKind, CHARA_EFFECT_NONE);
  EXPECT_EQ(db.m_vCharaEffect[1].m_nKind, CHARA_EFFECT_ZOOM);
  EXPECT_EQ(db.m_vScrEffect[0].m_nKind, SCR_EFFECT_NONE);
  EXPECT_EQ(db.m_vScrEffect[1].m_nKind, SCR_EFFECT_MOSAIC);
  EXPECT_EQ(db.m_vPicture[1].m_strFile, "bmp\\picture\\p.bmp");
  EXPECT_EQ(db.m_vSound[1].m_strFile, "wave\\s.wav");
  EXPECT_EQ(db.m_vBgm[1].m_strFile, "bgm\\b.ogg");
}

TEST_F(DatabaseTest, LoadAllStopsAtTheFirstFileThatCannotBeRead) {
  struct Case {
    const char* what;
    int path;
    bool remove;  // else cut short
  };
  const Case cases[] = {
      {"missing sound file", PATH_DB_SOUND, true},
      {"damaged sound file", PATH_DB_SOUND, false},
      {"damaged animation sets", PATH_DB_ANIME_SET, false},
      {"missing music file", PATH_DB_BGM, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    cDatabase saved = Distinct();
    ASSERT_EQ(saved.SaveAll(), 1);
    const fs::path file = platform::MapPath(g_astrFilePath[c.path]);
    if (c.remove) {
      fs::remove(file);
    } else {
      fs::resize_file(file, fs::file_size(file) - 3);
    }
    m_Boxes.Clear();

    cDatabase db;
    EXPECT_EQ(db.LoadAll(), 0);
    const auto shown = m_Boxes.Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, std::string(g_astrFilePath[c.path]) + " のロードに失敗！");
    EXPECT_EQ(shown[0].caption, "エラー");

    // Lists before the failing file are loaded; it and the later ones keep
    // the defaults (sets: one entry, swords: unnamed, music: no file).
    EXPECT_EQ(db.m_vAnimeSet.size(), c.path > PATH_DB_ANIME_SET ? 2u : 1u);
    EXPECT_EQ(db.m_vSwordType[0].m_strName, c.path > PATH_DB_SWORD_TYPE ? "sword" : "");
    EXPECT_EQ(db.m_vSound[1].m_strFile, c.path > PATH_DB_SOUND ? "wave\\s.wav" : "");
    EXPECT_EQ(db.m_vBgm[1].m_strFile, "");
    // Entry 0 of the effects is not fixed when loading stopped.
    if (c.path > PATH_DB_CHARA_EFFECT) {
      EXPECT_EQ(db.m_vCharaEffect[0].m_nKind, CHARA_EFFECT_WAVE_V);
    }
  }
}

TEST_F(DatabaseTest, AFailedLoadKeepsTheFileVersionOfTheLastFileRead) {
  // An old file whose list is cut short after its count.
  cDataWriter f;
  f.WriteU32(300);
  f.WriteU32(2);
  g_nFileVersion = DATA_VERSION;
  std::vector<cEdSound> sounds(1);
  EXPECT_FALSE(LoadDatabaseBytes(sounds, f.Bytes()));
  EXPECT_EQ(g_nFileVersion, static_cast<std::uint32_t>(DATA_VERSION));
  EXPECT_EQ(sounds.size(), 1u);
}

TEST_F(DatabaseTest, EmptyEffectListsStillHaveAnEntryZeroWithoutKind) {
  cDatabase saved;
  saved.m_vCharaEffect.clear();
  saved.m_vScrEffect.clear();
  saved.m_vAnimeSet.clear();
  ASSERT_EQ(saved.SaveAll(), 1);
  cDatabase db;
  ASSERT_EQ(db.LoadAll(), 1);
  ASSERT_EQ(db.m_vCharaEffect.size(), 1u);
  EXPECT_EQ(db.m_vCharaEffect[0].m_nKind, CHARA_EFFECT_NONE);
  ASSERT_EQ(db.m_vScrEffect.size(), 1u);
  EXPECT_EQ(db.m_vScrEffect[0].m_nKind, SCR_EFFECT_NONE);
  ASSERT_EQ(db.m_vAnimeSet.size(), 1u);
  EXPECT_EQ(db.m_vAnimeSet[0].m_vSlots.size(), 4u);
}

TEST_F(DatabaseTest, DefaultsHoldTheNamedEntries) {
  const cDatabase db;
  EXPECT_EQ(db.m_vAnimeSet.size(), 1u);
  ASSERT_EQ(db.m_vAnime.size(), 2u);
  EXPECT_EQ(db.m_vAnime[0].m_strName, "なし");
  EXPECT_EQ(db.m_vAnime[1].m_strName, "アクションA");
  EXPECT_EQ(db.m_vSwordType.size(), 1u);
  EXPECT_EQ(db.m_vCharaEffect[1].m_nKind, CHARA_EFFECT_BURST);
  EXPECT_EQ(db.m_vBgm.size(), 2u);
}

TEST_F(DatabaseTest, SaveAllWritesTheDefaultFolderToo) {
  cDatabase saved = Distinct();
  ASSERT_EQ(saved.SaveAll(eDatabaseFolder::Default), 1);
  for (int path = PATH_DB_ANIME_SET; path <= PATH_DB_BGM; path += 2) {
    EXPECT_TRUE(fs::is_regular_file(platform::MapPath(g_astrFilePath[path + 1]))) << g_astrFilePath[path + 1];
    EXPECT_FALSE(fs::exists(platform::MapPath(g_astrFilePath[path]))) << g_astrFilePath[path];
  }
}

}  // namespace
