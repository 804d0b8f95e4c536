#include "graphics/fade_progress.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Step {
  double drawnAt;
  bool done;
};

std::vector<Step> RunFade(bool out, double step, int calls) {
  double angle = out ? 90.0 : 0.0;
  std::vector<Step> steps;
  for (int i = 0; i < calls; ++i) {
    const double drawn = angle;
    steps.push_back({drawn, out ? AdvanceFadeOut(angle, step) : AdvanceFadeIn(angle, step)});
  }
  return steps;
}

// With the scenes' speed of 10 a fade out takes 10 calls: the first draws
// nothing visible, the ninth draws at 10 degrees, the tenth full black and
// reports completion; the eleventh starts a new fade at 90.
TEST(FadeProgress, FadeOutTakesTenCallsAtStepTen) {
  const std::vector<Step> steps = RunFade(true, 10.0, 11);
  for (int i = 0; i < 10; ++i) {
    EXPECT_DOUBLE_EQ(steps[i].drawnAt, 90.0 - 10 * i) << i;
    EXPECT_EQ(steps[i].done, i == 9) << i;
  }
  EXPECT_DOUBLE_EQ(steps[10].drawnAt, 90.0);
  EXPECT_EQ(FadeCoverAlpha(steps[0].drawnAt), 0);
  EXPECT_EQ(FadeLevel(steps[0].drawnAt), 256);
  EXPECT_EQ(FadeCoverAlpha(steps[9].drawnAt), 255);
  EXPECT_EQ(FadeLevel(steps[9].drawnAt), 0);
}

TEST(FadeProgress, FadeInRunsTheOtherWay) {
  const std::vector<Step> steps = RunFade(false, 10.0, 11);
  for (int i = 0; i < 10; ++i) {
    EXPECT_DOUBLE_EQ(steps[i].drawnAt, 10.0 * i) << i;
    EXPECT_EQ(steps[i].done, i == 9) << i;
  }
  EXPECT_DOUBLE_EQ(steps[10].drawnAt, 0.0);
}

// A step that does not divide 90 is clamped at the end: ceil(90 / 7) + 1
// calls.
TEST(FadeProgress, UnevenStepsClampAtTheEnd) {
  const std::vector<Step> steps = RunFade(true, 7.0, 14);
  EXPECT_DOUBLE_EQ(steps[12].drawnAt, 90.0 - 7 * 12);
  EXPECT_DOUBLE_EQ(steps[13].drawnAt, 0.0);
  for (int i = 0; i < 14; ++i) EXPECT_EQ(steps[i].done, i == 13) << i;
}

struct LevelCase {
  double angle;
  int alpha;
  int level;
};

TEST(FadeProgress, CoverAndLevelFollowTheSine) {
  for (const LevelCase& c : {LevelCase{90, 0, 256}, LevelCase{0, 255, 0}, LevelCase{30, 128, 127},
                             LevelCase{50, 60, 196}, LevelCase{10, 211, 44}}) {
    EXPECT_EQ(FadeCoverAlpha(c.angle), c.alpha) << c.angle;
    EXPECT_EQ(FadeLevel(c.angle), c.level) << c.angle;
  }
}

}  // namespace
