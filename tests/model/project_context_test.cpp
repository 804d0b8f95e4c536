#include "model/settings/project_context.h"

#include <gtest/gtest.h>

#include "model/stage/common_palette.h"
#include "model/stage/palette_scope.h"
#include "model/stage/stage.h"

namespace {

class ProjectContextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nDataVersion = DATA_VERSION;
    // Every list a size of its own, so that a list answered for another shows.
    m_Database.m_vAnime.resize(3);
    m_Database.m_vAnimeSet.resize(4);
    m_Database.m_vBmpCharaExc.resize(5);
    m_Database.m_vSwordType.resize(6);
    m_Database.m_vEffect.resize(7);
    m_Database.m_vCharaEffect.resize(8);
    m_Database.m_vScrEffect.resize(9);
    m_Database.m_vPicture.resize(10);
    m_Database.m_vSound.resize(11);
    m_Database.m_vBgm.resize(12);
  }

  cDatabase m_Database;
  cSystemData m_Settings;
  cProjectContext m_Context{m_Database, m_Settings};
};

TEST_F(ProjectContextTest, AnswersEachDatabaseListFromItsOwnList) {
  const std::pair<eDatabaseList, std::size_t> cases[] = {
      {eDatabaseList::Anime, 3},   {eDatabaseList::AnimeSet, 4},    {eDatabaseList::CharaImage, 5},
      {eDatabaseList::SwordType, 6}, {eDatabaseList::Effect, 7},   {eDatabaseList::CharaEffect, 8},
      {eDatabaseList::ScrEffect, 9}, {eDatabaseList::Picture, 10}, {eDatabaseList::Sound, 11},
      {eDatabaseList::Bgm, 12},
  };
  for (const auto& [list, size] : cases) EXPECT_EQ(m_Context.DatabaseListSize(list), size) << static_cast<int>(list);
}

TEST_F(ProjectContextTest, FollowsTheDatabaseAndTheSettingsAsTheyChange) {
  m_Database.m_vSwordType[2].m_vFrames.resize(2);
  m_Database.m_vSwordType[2].m_vFrames[0].m_nDuration = 5;
  m_Database.m_vSwordType[2].m_vFrames[1].m_nDuration = 7;
  EXPECT_EQ(m_Context.SwordFrameDurations(2), (std::vector<std::int32_t>{5, 7}));
  EXPECT_TRUE(m_Context.SwordFrameDurations(6).empty());

  m_Database.m_vSound.resize(2);
  EXPECT_EQ(m_Context.DatabaseListSize(eDatabaseList::Sound), 2u);

  EXPECT_FALSE(m_Context.KeepTestFlows());
  m_Settings.m_bKeepTestFlows = 1;
  EXPECT_TRUE(m_Context.KeepTestFlows());
}

TEST_F(ProjectContextTest, PaletteSizesComeFromThePalettesInForce) {
  SetDefinitionContext(&m_Context);
  EXPECT_EQ(m_Context.PaletteListSize(ePaletteSource::Common, ePaletteList::Item), std::nullopt);
  {
    cEdCommonPalette common;
    common.m_vBlocks.resize(3);
    common.m_vItems.resize(4);
    cEdStage stage;
    stage.m_vPaletteCharas.resize(5);
    const cPaletteScope scope(&common, &stage);
    EXPECT_EQ(m_Context.PaletteListSize(ePaletteSource::Common, ePaletteList::Block), 3u);
    EXPECT_EQ(m_Context.PaletteListSize(ePaletteSource::Common, ePaletteList::Item), 4u);
    EXPECT_EQ(m_Context.PaletteListSize(ePaletteSource::Stage, ePaletteList::Chara), 5u);
    // The scope answers database questions from the context it began under.
    EXPECT_EQ(DefinitionContext().DatabaseListSize(eDatabaseList::Bgm), 12u);
  }
  SetDefinitionContext(nullptr);
}

}  // namespace
