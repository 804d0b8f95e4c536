#include <gtest/gtest.h>

#include <list>
#include <vector>

#include "game/draw/graphic_source.h"
#include "game/objects/character_search.h"
#include "support/definition_builders.h"
#include "support/recording_draw_target.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

// Characters of 32 x 32 at stage cells along row 2, all appeared and on
// screen unless a test says otherwise; the search point is the sprite
// centre of the first.
class CharacterSearch : public testing::Test {
 protected:
  void SetUp() override {
    const int columns[] = {0, 5, 3, 9};
    for (int i = 0; i < 4; ++i) {
      actors[i].SetUp(CharaBuilder(), columns[i], 2, i + 1);
      actors[i].m_bAppeared = actors[i].m_bOnScreen = 1;
      actors[i].UpdateScreenRect();
      list.push_back(&actors[i]);
    }
  }
  cActor* Nearest(int mode) {
    return FindNearestCharacterEx(actors[0].CenterX(), actors[0].CenterY(), list, mode, false, 0, true, false, false,
                                  false, 1);
  }
  TestStage stage;
  TestActor actors[4];
  std::vector<cActor*> list;
};

TEST_F(CharacterSearch, NearestByCentreDistanceExcludingItself) {
  EXPECT_EQ(Nearest(1), &actors[2]);
}

TEST_F(CharacterSearch, ModeZeroTakesOffScreenOnlyWhenNoneIsOnScreen) {
  actors[2].m_bOnScreen = 0;
  EXPECT_EQ(Nearest(0), &actors[1]);
  actors[1].m_bOnScreen = actors[3].m_bOnScreen = 0;
  EXPECT_EQ(Nearest(0), &actors[2]);
  EXPECT_EQ(Nearest(2), nullptr);
  EXPECT_EQ(Nearest(3), nullptr);
}

TEST_F(CharacterSearch, TiesKeepTheEarlierCharacter) {
  actors[3].PlaceAtTile(3, 2);  // same place as actors[2], later in the list
  actors[3].UpdateScreenRect();
  EXPECT_EQ(Nearest(1), &actors[2]);
}

TEST_F(CharacterSearch, FiltersDyingAppearanceAndShotSettings) {
  actors[2].m_bDying = 1;
  EXPECT_EQ(Nearest(1), &actors[1]);
  actors[1].m_bAppeared = 0;
  EXPECT_EQ(Nearest(1), &actors[3]);
  actors[3].m_Chara.m_nInvincible = 2;  // shots pass through: homing never picks it
  actors[0].m_bAppeared = 0;
  EXPECT_EQ(FindNearestCharacter(actors[0], list), nullptr);
  EXPECT_EQ(FindFirstCharacter(list, false, 0, true, false, false, false, 1), &actors[1]);
  actors[1].m_Chara.m_bBlockChara = 1;
  EXPECT_EQ(FindFirstCharacter(list, false, 0, true, false, false, true, 1), &actors[3]);
}

TEST(ShotSurface, DirectDrawFallsBackToTheAlternateImage) {
  RecordingDrawTarget target;
  EXPECT_EQ(ShotSurfaceIndex(target, 20, false), 20);
  EXPECT_EQ(ShotSurfaceIndex(target, 20, true), 38);
  target.SetSize({SURFACES_IMAGE, 63}, 256, 960);
  EXPECT_EQ(ShotSurfaceIndex(target, 63, true), 63);   // no alternate 81
  EXPECT_EQ(ShotSurfaceIndex(target, 45, false), 63);  // 45 not created
  target.m_bDirect3D = true;
  EXPECT_EQ(ShotSurfaceIndex(target, 45, false), 45);
}

}  // namespace
