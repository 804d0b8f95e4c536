// Frame tables derived from the animations and effects of the database.
#include <gtest/gtest.h>

#include <climits>

#include "game/data/database_tables.h"
#include "game/effects/effect_run.h"
#include "support/scoped_database.h"

namespace {

cEdAnimeFrame Frame(int image, int duration, int hold) {
  cEdAnimeFrame frame;
  frame.m_nImage = image;
  frame.m_nDuration = duration;
  frame.m_bHold = hold;
  return frame;
}

cEdEffectFrame EffectFrame(int cell, int duration) {
  cEdEffectFrame frame;
  frame.m_nCell = cell;
  frame.m_nDuration = duration;
  return frame;
}

class DatabaseTablesTest : public ::testing::Test {
 protected:
  ScopedDatabase m_Database;
};

TEST_F(DatabaseTablesTest, DefaultAnimationsGiveALoopingNoneTableAndAnEndingTable) {
  ASSERT_EQ(g_AnimeFrameTables.size(), 2u);
  EXPECT_EQ(g_AnimeFrameTables[0], (FrameTable{{0, 0, 1}, {ANIME_LOOP, 0, 1}}));
  EXPECT_EQ(g_AnimeFrameTables[1], (FrameTable{{0, 6, 0}, {ANIME_END, 0, 0}}));
}

TEST_F(DatabaseTablesTest, AnimationRowsAreUninterruptibleFromTheFirstHeldFrameOn) {
  std::vector<cEdAnime>& anime = g_Database.m_vAnime;
  anime[0].m_vFrames = {Frame(3, 5, 0), Frame(4, 2, 1)};
  anime[1].m_vFrames = {Frame(10, 2, 0), Frame(11, 3, 1), Frame(12, 1, 0)};
  anime.resize(4);
  anime[2].m_vFrames.clear();
  anime[3].m_vFrames = {Frame(1, INT_MAX, 0), Frame(2, INT_MIN, 0)};
  BuildAnimeFrameTables(g_AnimeFrameTables);
  ASSERT_EQ(g_AnimeFrameTables.size(), 4u);
  EXPECT_EQ(g_AnimeFrameTables[0], (FrameTable{{3, 0, 1}, {4, 0, 1}, {ANIME_LOOP, 0, 1}}));
  EXPECT_EQ(g_AnimeFrameTables[1], (FrameTable{{10, 12, 0}, {11, 18, 1}, {12, 6, 1}, {ANIME_END, 0, 0}}));
  EXPECT_EQ(g_AnimeFrameTables[2], (FrameTable{{ANIME_END, 0, 0}}));
  EXPECT_EQ(g_AnimeFrameTables[3], (FrameTable{{1, INT_MAX, 0}, {2, INT_MIN, 0}, {ANIME_END, 0, 0}}));

  // An animation without frames ends at once, however often it is stepped.
  cAnimeSequencer seq;
  seq.Assign({g_AnimeFrameTables[2]});
  EXPECT_EQ(seq.Step(), ANIME_END);
  EXPECT_EQ(seq.Step(), ANIME_END);
}

TEST_F(DatabaseTablesTest, EffectTablesShowCellsAndNeverHoldRows) {
  std::vector<cEdEffect>& effects = g_Database.m_vEffect;
  effects[0].m_vFrames = {EffectFrame(2, 3)};
  effects[1].m_vFrames = {EffectFrame(3, 2), EffectFrame(4, 1)};
  m_Database.Rebuild();
  ASSERT_EQ(g_EffectFrameTables.size(), 2u);
  EXPECT_EQ(g_EffectFrameTables[0], (FrameTable{{2, 0, 1}, {ANIME_LOOP, 0, 1}}));
  EXPECT_EQ(g_EffectFrameTables[1], (FrameTable{{3, 12, 0}, {4, 6, 0}, {ANIME_END, 0, 0}}));
}

TEST_F(DatabaseTablesTest, ReversedCopiesAndTemplatesMatchTheEffectLists) {
  g_Database.m_vCharaEffect.resize(3);
  g_Database.m_vCharaEffect[0].m_nKind = CHARA_EFFECT_WAVE_V;
  g_Database.m_vScrEffect.resize(5);
  g_Database.FixFirstEntries();
  m_Database.Rebuild();
  EXPECT_EQ(g_Database.m_vCharaEffectRev.size(), 3u);
  EXPECT_EQ(g_Database.m_vCharaEffectRev[0].m_nKind, CHARA_EFFECT_NONE);
  EXPECT_EQ(g_CharaEffectRuns.size(), 3u);
  EXPECT_EQ(g_CharaEffectRunsRev.size(), 3u);
  EXPECT_EQ(g_Database.m_vScrEffectRev.size(), 5u);
  EXPECT_EQ(g_ScrEffectRuns.size(), 5u);
  EXPECT_EQ(g_ScrEffectRunsRev.size(), 5u);
}

}  // namespace
