// The pause menu as the stage scene draws it, compared with goldens: the
// three-row menu (quit, resume, retry) over a field the project hides under
// the pause menu, and the two-row menu of a replay over the field, each
// with the cursor on its row.
#include <gtest/gtest.h>

#include <memory>

#include "base/input_state.h"
#include "model/stage/stage.h"
#include "scenes/front_end/menu_cursor.h"
#include "scenes/stage/stage_scene.h"
#include "support/scoped_database.h"
#include "support/stage_fixture.h"
#include "support/text_drawing_device.h"
#include "support/text_fonts.h"

namespace {

class PauseMenuPicture : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Device.Started());
    m_SavedInput = g_InputStates;
    g_InputStates.assign(1, cInputState());
    g_LoadedStage = MakeTestStage();
    g_PlayStage.CopyStartState(g_LoadedStage);
    m_pScene = std::make_unique<cStageScene>();
    m_pScene->SetStage(0, 1);
  }
  void TearDown() override {
    m_pScene.reset();
    g_PlayStage = cEdStage();
    g_InputStates = m_SavedInput;
    g_SceneManager.m_nPlayStart = 0;
    g_MenuCursor.Reset();
  }
  // The menu's first frame, then one frame with the cursor moved.
  void ShowPauseMenu(int dir) {
    m_pScene->m_nState = STAGE_PAUSE;
    m_pScene->m_nStep = 0;
    m_pScene->Frame();
    g_InputStates[0].wDir = static_cast<std::uint16_t>(dir);
    m_pScene->Frame();
  }

  TextDrawingDevice m_Device;
  ScopedDatabase m_Database;
  std::vector<cInputState> m_SavedInput;
  std::unique_ptr<cStageScene> m_pScene;
};

TEST_F(PauseMenuPicture, ThreeRowsOverTheHiddenFieldWithTheCursorOnRetry) {
  g_SceneManager.m_nPlayMode = PLAY_FREESTAGE;
  g_SystemData.m_bHideFieldOnPause = 1;
  ShowPauseMenu(CURSOR_DOWN);
  ASSERT_EQ(g_MenuCursor.Current()->nRow, 2);
  EXPECT_TEXT_GOLDEN(BackBufferPicture(640, 480), "scenes/pause_menu_three_rows_DD32");
}

TEST_F(PauseMenuPicture, TwoRowsOfAReplayWithTheCursorOnQuit) {
  g_SceneManager.m_nPlayStart = TITLE_REPLAY;
  g_SystemData.m_bHideFieldOnPause = 0;
  ShowPauseMenu(CURSOR_UP);
  ASSERT_EQ(g_MenuCursor.Current()->nRow, 0);
  EXPECT_TEXT_GOLDEN(BackBufferPicture(640, 480), "scenes/pause_menu_replay_DD32");
}

}  // namespace
