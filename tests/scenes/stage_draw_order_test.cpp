// The order of a stage frame's drawing, on recorded draw calls of a stage
// set up in code: objects by priority layer or in one pass, the field
// hidden under the pause menu, pictures behind the map and over the sight
// mask, the screen effect's run, and characters whose death display ends
// inside an in-stage loop, which go only when the loop has returned.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/requests.h"
#include "base/thread.h"
#include "game/objects/character.h"
#include "game/objects/item.h"
#include "graphics/image_table.h"
#include "graphics/surface.h"
#include "model/database/database.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/user/save_data.h"
#include "scenes/stage/stage_scene.h"
#include "support/front_end_harness.h"
#include "support/recording_draw_target.h"
#include "support/scoped_database.h"
#include "support/scoped_virtual_clock.h"
#include "support/stage_fixture.h"

namespace {

class StageDrawOrder : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Harness.Started());
    g_LoadedStage = MakeTestStage();
    g_PlayStage.CopyStartState(g_LoadedStage);
    g_bActive = 1;
    m_pScene = std::make_unique<cStageScene>();
    m_pScene->SetStage(0, 1);
    for (int image = 40; image < 45; ++image) m_Recorder.SetSize({SURFACES_IMAGE, image}, 640, 480);
    m_pScene->m_pDrawTarget = &m_Recorder;
  }
  void TearDown() override {
    m_pScene.reset();
    g_LoadedStage = cEdStage();
    g_PlayStage = cEdStage();
    g_bActive = 0;
  }
  // Which object each recorded blit drew, in order: H the hero, C a
  // character, I an item, repeats folded.
  std::string ObjectOrder() const {
    std::string order;
    for (const sDrawCall& call : m_Recorder.m_vCalls) {
      char c = 0;
      if (call.src == sSurface{SURFACES_IMAGE, IMAGE_ITEMS}) c = 'I';
      if (call.src.nSet == SURFACES_IMAGE && call.src.nIndex >= IMAGE_CHARACTERS && call.src.nIndex < IMAGE_ITEMS) {
        c = call.y == m_nHeroY ? 'H' : 'C';
      }
      if (c && (order.empty() || order.back() != c)) order += c;
    }
    return order;
  }

  ScopedVirtualClock m_Clock;
  ScopedDatabase m_Database;
  FrontEndHarness m_Harness;
  RecordingDrawTarget m_Recorder;
  std::unique_ptr<cStageScene> m_pScene;
  int m_nHeroY = -1;
};

// The hero, an item and a character in view: in one pass the hero comes
// first, then the items, then the characters; by priority layer each comes
// in its layer's turn.
TEST_F(StageDrawOrder, ObjectsAreDrawnInOnePassOrByPriorityLayer) {
  cEdItem coin;
  coin.m_nGraphicNo = 8;
  cItem& item = m_pScene->m_ItemList.emplace_back();
  item.InitFromDefinition(99, &coin, false);
  item.PlaceAtCell(5, 5);
  item.m_bAppeared = 1;
  ASSERT_EQ(m_pScene->m_CharacterList.size(), 1u);
  cCharacter& walker = m_pScene->m_CharacterList.front();

  g_LoadedStage.m_bPriorityLayers = 0;
  m_pScene->Draw(1, 0, 1, 1);
  ASSERT_FALSE(m_Recorder.m_vCalls.empty());
  m_nHeroY = m_Recorder.m_vCalls.front().y;  // the hero is drawn first
  EXPECT_EQ(ObjectOrder(), "HIC");

  g_LoadedStage.m_bPriorityLayers = 1;
  m_pScene->m_pHero->m_Chara.m_nLayer = 7;
  item.m_Item.m_nLayer = 0;
  walker.m_Chara.m_nLayer = 3;
  m_Recorder.m_vCalls.clear();
  m_pScene->Draw(1, 0, 1, 1);
  EXPECT_EQ(ObjectOrder(), "ICH");

  m_pScene->m_pHero->m_Chara.m_nLayer = 2;
  m_Recorder.m_vCalls.clear();
  m_pScene->Draw(1, 1, 0, 1);
  EXPECT_EQ(ObjectOrder(), "IHC");
}

// Under the pause menu the project may hide the field: only the
// backgrounds and the tone are drawn, no map and no object. The play's own
// frames always show it.
TEST_F(StageDrawOrder, ThePauseMenuHidesTheFieldWhenTheProjectAsks) {
  struct Case {
    int state, playing, hide;
    bool drawn;
  };
  for (const Case c : {Case{STAGE_PAUSE, 0, 1, false}, Case{STAGE_PAUSE, 0, 0, true},
                       Case{STAGE_PAUSE, 1, 1, true}, Case{STAGE_RESULT, 0, 1, true}}) {
    m_pScene->m_nState = c.state;
    g_SystemData.m_bHideFieldOnPause = c.hide;
    m_Recorder.m_vCalls.clear();
    m_pScene->Draw(c.playing, 1, 0, 1);
    EXPECT_EQ(!m_Recorder.m_vCalls.empty(), c.drawn) << c.state << c.playing << c.hide;
  }
}

// A character whose death display ends during an in-stage loop is no more
// drawn, and erased once the loop has returned; outside a loop it is
// erased in the frame its display ends.
TEST_F(StageDrawOrder, ACharacterWhoseDeathDisplayEndsInALoopGoesWhenTheLoopReturns) {
  ASSERT_EQ(m_pScene->m_CharacterList.size(), 1u);
  cCharacter& walker = m_pScene->m_CharacterList.front();
  walker.m_bDying = 1;  // a death effect of no kind: the display is over at once
  const cActor* erased = &walker;
  m_pScene->m_Wait = {2, 0, 0, 3, 0};
  // The loop draws three frames; the list keeps the character to its end.
  const int result = m_pScene->RunInStageLoop(thPause, [](cStageScene* scene) {
    const int ended = StagePauseLoop(scene);
    return ended + 10 * static_cast<int>(scene->m_CharacterList.size());
  });
  EXPECT_EQ(result, 1 + 10);
  EXPECT_TRUE(m_pScene->m_CharacterList.empty());
  EXPECT_TRUE(m_pScene->m_vErasedInLoop.empty());
  for (const std::list<cActor*>& team : m_pScene->m_vTeamCharacter) {
    EXPECT_EQ(std::count(team.begin(), team.end(), erased), 0);
  }
}

// The back pictures come before the map's back cells, the front ones after
// the sight mask; a timed picture whose time is over goes with its surface
// in the frame it ends, the others stay.
TEST_F(StageDrawOrder, PicturesAreDrawnBehindTheMapAndOverTheSightMask) {
  m_pScene->m_Player.m_Chara.m_nSightShape = 3;
  m_Recorder.SetSize({SURFACES_IMAGE, IMAGE_SIGHT_MASK}, 1280, 960);
  m_Recorder.SetSize({SURFACES_IMAGE, IMAGE_BLOCKS}, 640, 480);
  cEdBlock wall;
  wall.m_nGraphicNo = 1;
  m_pScene->MapCell(static_cast<int>(m_pScene->m_ScrollX.m_dPos) >> 5, static_cast<int>(m_pScene->m_ScrollY.m_dPos) >> 5)
      .m_Block = wall;
  const auto show = [this](int layer, int mode, int time) {
    cPicture& picture = m_pScene->m_PictureList.emplace_back();
    picture.Setup(1, 400, 400, 64, 48, 0, layer, 100, mode, time, 0, 0, 0);
  };
  show(1, DISPLAY_TIMED, 1);  // position 0, ends in the second frame
  show(0, 0, 0);              // position 1
  show(1, 0, 0);              // position 2
  const auto order = [this] {
    std::string drawn;
    for (const sDrawCall& call : m_Recorder.m_vCalls) {
      std::string c;
      if (call.src.nSet == SURFACES_PICTURE) c = "P" + std::to_string(call.src.nIndex);
      if (call.src == sSurface{SURFACES_IMAGE, IMAGE_BLOCKS}) c = "B";
      if (call.src == sSurface{SURFACES_IMAGE, IMAGE_SIGHT_MASK}) c = "M";
      if (!c.empty() && (drawn.size() < c.size() || drawn.substr(drawn.size() - c.size()) != c)) drawn += c;
    }
    return drawn;
  };
  m_pScene->Draw(1, 0, 1, 1);
  EXPECT_EQ(order(), "P1BMP0P2");
  m_Recorder.m_vCalls.clear();
  m_pScene->Draw(1, 0, 1, 1);
  // The back picture is drawn from position 1 still; the timed picture
  // then leaves position 0 and the last front one is drawn from position 1.
  EXPECT_EQ(order(), "P1BMP1");
  ASSERT_EQ(m_pScene->m_PictureList.size(), 2u);
  EXPECT_EQ(m_pScene->m_PictureList.front().m_nLayer, 0);
}

// A screen effect started by a flow runs with the frames the play draws,
// stands still in paused frames, and once over is no more running.
TEST_F(StageDrawOrder, TheScreenEffectRunsWithThePlaysFramesAndEnds) {
  cEdScrEffect& blink = g_Database.m_vScrEffect[1];
  blink.m_nKind = SCR_EFFECT_BLINK;
  blink.m_anParam[0] = 1;  // a tenth of a second: 6 frames
  blink.m_anParam[1] = 2;
  m_Database.Rebuild();
  m_pScene->m_ScreenEffect.Start(1, EFFECT_RUN_NORMAL, 0);
  for (int frame = 0; frame < 10; ++frame) m_pScene->Draw(0, 1, 0, 1);
  EXPECT_EQ(m_pScene->m_ScreenEffect.nIndex, 1);
  int frames = 0;
  while (m_pScene->m_ScreenEffect.nIndex != 0 && frames < 100) {
    m_pScene->Draw(1, 0, 1, 1);
    ++frames;
  }
  EXPECT_EQ(frames, 12);  // until its value passes the run time: (1 + 1) x 6 frames
}

// A change of the hero's sight makes its mask again, sized for the new
// radius, with the round opening's hole surface for a round sight.
TEST_F(StageDrawOrder, TheSightMaskIsMadeForTheHerosSight) {
  cPlayer& hero = m_pScene->m_Player;
  hero.m_Chara.m_nSightShape = 1;
  hero.m_nSight = 64;
  m_pScene->RebuildSightMask();
  EXPECT_EQ(g_SurfaceTable[IMAGE_SIGHT_MASK].nWidth, 1280 + 128);
  EXPECT_EQ(g_SurfaceTable[IMAGE_SIGHT_MASK].nHeight, 960 + 128);
  EXPECT_EQ(g_SurfaceTable[IMAGE_SIGHT_MASK + 1].nWidth, 128);
  hero.m_nSight = -16;  // less than none counts as none
  m_pScene->RebuildSightMask();
  EXPECT_EQ(g_SurfaceTable[IMAGE_SIGHT_MASK].nWidth, 1280);
  DDReleaseSurface(&g_SurfaceTable[IMAGE_SIGHT_MASK]);
  DDReleaseSurface(&g_SurfaceTable[IMAGE_SIGHT_MASK + 1]);
}

}  // namespace
