// Effect animations: where they start, how they step and end, and what the
// drawing copies.
#include <gtest/gtest.h>

#include "base/close_request.h"
#include "base/random.h"
#include "game/effects/effect_play.h"
#include "support/scoped_database.h"

namespace {

class EffectPlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cEdEffect& effect = g_Database.m_vEffect[1];
    effect.m_nCellWidth = 48;
    effect.m_nCellHeight = 16;
    effect.m_vFrames.resize(2);
    effect.m_vFrames[0].m_nCell = 3;
    effect.m_vFrames[1].m_nCell = 4;  // one tenth of a second each
    m_Database.Rebuild();
    ResetCloseRequests();
  }

  ScopedDatabase m_Database;
};

TEST_F(EffectPlayTest, PlaysItsFramesOnceAndEndsOnTheEndRow) {
  cEffectPlay play;
  play.InitFromCommand(1, 100.5, 50, 48, 16, 0);
  EXPECT_EQ(play.bStretch, 0);
  int step = 0;
  std::vector<int> frames;
  while (play.Step(false) == 0 && step < 100) {
    frames.push_back(play.nFrame);
    ++step;
  }
  EXPECT_EQ(step, 11) << "two frames of 6 ticks: removed on the 12th step";
  EXPECT_EQ(frames.front(), 3);
  EXPECT_EQ(frames.back(), 4);
}

TEST_F(EffectPlayTest, PauseHoldsTheFrameUnlessTheEffectRunsWhilePaused) {
  for (const int runsWhilePaused : {0, 1}) {
    cEffectPlay play;
    play.InitFromCommand(1, 0, 0, 48, 16, runsWhilePaused);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(play.Step(true), 0);
    EXPECT_EQ(play.nFrame, runsWhilePaused ? 4 : 3);
  }
}

TEST_F(EffectPlayTest, AnEntryWithoutFramesIsRemovedAndALoopingOneStays) {
  cEffectPlay none;
  none.InitFromCommand(0, 0, 0, 32, 32, 0);
  EXPECT_EQ(none.Step(false), 1);

  g_Database.m_vEffect[0].m_vFrames.resize(1);
  m_Database.Rebuild();
  cEffectPlay looping;
  looping.InitFromCommand(0, 0, 0, 32, 32, 0);
  for (int i = 0; i < 500; ++i) ASSERT_EQ(looping.Step(false), 0);
}

TEST_F(EffectPlayTest, ABadEffectIsReportedAndEntryZeroUsed) {
  for (const std::int16_t bad : {std::int16_t{-1}, std::int16_t{2}, std::int16_t{-32768}}) {
    ResetCloseRequests();
    cEffectPlay play;
    play.InitFromCommand(bad, 0, 0, 32, 32, 0);
    EXPECT_EQ(CloseRequestCount(), 1) << bad;
    EXPECT_EQ(play.nEffect, 0);
  }
}

TEST_F(EffectPlayTest, AHitCentresOnTheOverlapAndJitters) {
  struct Case {
    const char* what;
    int scales;
    int size;
    sPixelBox first, second;
    int width, height, stretch;
    int centreX, centreY;  // before the jitter
    int jitter;            // its largest offset
  };
  const Case cases[] = {
      {"scalable, size 3", 1, 3, {100, 200, 139, 239}, {120, 210, 200, 300}, 144, 48, 1, 58, 201, 12},
      {"scalable, size 1", 1, 1, {100, 200, 139, 239}, {120, 210, 200, 300}, 48, 16, 0, 106, 217, 4},
      {"not scalable, size 3", 0, 3, {100, 200, 139, 239}, {120, 210, 200, 300}, 48, 16, 0, 106, 217, 4},
      {"boxes apart", 0, 1, {0, 0, 10, 10}, {50, 50, 60, 60}, 48, 16, 0, -24, -8, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_Database.m_vEffect[1].m_bScaleWithSize = c.scales;
    SeedRandom(12345);
    const int first = Random();
    const int second = Random();
    SeedRandom(12345);
    cEffectPlay play;
    play.InitFromHit(1, c.first, c.second, c.size);
    EXPECT_EQ(play.nWidth, c.width);
    EXPECT_EQ(play.nHeight, c.height);
    EXPECT_EQ(play.bStretch, c.stretch);
    EXPECT_EQ(play.bRunsWhilePaused, 0);
    const int span = 2 * c.jitter + 1;
    EXPECT_EQ(play.dX, c.centreX + first % span - c.jitter);
    EXPECT_EQ(play.dY, c.centreY + second % span - c.jitter);
  }
}

TEST_F(EffectPlayTest, TheBlitCopiesTheFramesCell) {
  cEffectPlay plain;
  plain.InitFromCommand(1, 100.7, 40.2, 48, 16, 0);
  plain.Step(false);
  const sEffectBlit blit = plain.GetBlit(10, 20);
  EXPECT_EQ(blit.image, 0);
  EXPECT_FALSE(blit.stretch);
  EXPECT_EQ(blit.srcX, 144) << "cell 3 of 48-pixel cells";
  EXPECT_EQ(blit.srcWidth, 48);
  EXPECT_EQ(blit.dstX, 90);
  EXPECT_EQ(blit.dstY, 20);
  // The view position is a double: the difference is truncated, not the view.
  const sEffectBlit scrolled = plain.GetBlit(0.9, 40.5);
  EXPECT_EQ(scrolled.dstX, 99);
  EXPECT_EQ(scrolled.dstY, 0);

  cEffectPlay stretched;
  stretched.InitFromCommand(1, 0, 0, 96, 32, 0);
  stretched.Step(false);
  const sEffectBlit large = stretched.GetBlit(0, 0);
  EXPECT_TRUE(large.stretch);
  EXPECT_EQ(large.srcX, 144);
  EXPECT_EQ(large.srcWidth, 48);
  EXPECT_EQ(large.srcHeight, 16);
  EXPECT_EQ(large.dstWidth, 96);
  EXPECT_EQ(large.dstHeight, 32);
}

}  // namespace
