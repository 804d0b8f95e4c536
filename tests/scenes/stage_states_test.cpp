// The stage scene's states on a stage set up in code: the pause menu and its
// rows, the result and how it is left, the continue menu, the game over,
// the end of a play (tally, extra lives, ranking positions), the scene
// that follows it, the death display's end, the fade out and a close
// during a wait.
#include "scenes/stage/stage_scene.h"

#include <gtest/gtest.h>

#include <thread>

#include "base/close_request.h"
#include "base/requests.h"
#include "base/thread.h"
#include "model/record/play_flags.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/user/options.h"
#include "model/user/ranking.h"
#include "model/user/save_data.h"
#include "platform/keyboard.h"
#include "platform/thread_messages.h"
#include "scenes/front_end/menu_cursor.h"
#include "scenes/front_end/play_start.h"
#include "support/front_end_harness.h"
#include "support/scoped_database.h"
#include "support/scoped_virtual_clock.h"
#include "support/stage_fixture.h"
#include "support/temp_folder.h"

namespace {

class StageStates : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Harness.Started());
    std::filesystem::create_directories(m_Folder.path() / "user_data" / "challenge");
    g_LoadedStage = MakeTestStage();
    g_PlayStage.CopyStartState(g_LoadedStage);
    g_bActive = 1;
    m_pScene = std::make_unique<cStageScene>();
    m_pScene->SetStage(0, 1);
    m_Harness.sounds.clear();
  }
  void TearDown() override {
    platform::ReleaseAllKeys();
    m_pScene.reset();
    g_LoadedStage = cEdStage();
    g_PlayStage = cEdStage();
    g_bFreeStagePlay = 0;
    g_bTestPlay = 0;
    g_bActive = 0;
    g_RankingSet.Reset();
  }
  // One frame of the scene's current state with these buttons.
  void Frame(int buttons = 0, int dir = 0) {
    g_InputStates[0].wDir = static_cast<std::uint16_t>(dir);
    g_InputStates[0].wButton = static_cast<std::uint16_t>(buttons);
    m_pScene->Frame();
  }
  // Pauses from the state given with SPACE.
  void PauseFrom(int state, int step) {
    m_pScene->m_nState = state;
    m_pScene->m_nStep = step;
    platform::PressVirtualKey(platform::VK_SPACE);
    m_pScene->m_nPauseState = -1;
    ASSERT_TRUE(m_pScene->CheckPauseKey());
    platform::ReleaseVirtualKey(platform::VK_SPACE);
    m_pScene->m_nStep = 0;
    m_pScene->m_nState = STAGE_PAUSE;
  }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter{m_Folder.path()};
  ScopedVirtualClock m_Clock;
  ScopedDatabase m_Database;
  FrontEndHarness m_Harness;
  std::unique_ptr<cStageScene> m_pScene;
};

TEST_F(StageStates, ThePauseMenuHasItsRetryRowWhereThePlayModeOffersIt) {
  struct Case {
    int playStart, playMode, storyRetry, cleared, rows;
  };
  const Case cases[] = {
      {TITLE_REPLAY, PLAY_REPLAY, 1, 1, 2},        // a replay never retries
      {TITLE_STAGEFILE, PLAY_FREESTAGE, 0, 0, 3},  // a stage file always can
      {TITLE_NEWGAME, PLAY_STORY, 1, 1, 3},        // a story stage cleared before
      {TITLE_NEWGAME, PLAY_STORY, 1, 0, 2},
      {TITLE_NEWGAME, PLAY_STORY, 0, 1, 2},
  };
  for (const Case& c : cases) {
    g_SceneManager.m_nPlayStart = c.playStart;
    g_SceneManager.m_nPlayMode = c.playMode;
    g_SystemData.m_bStoryPauseRetry = c.storyRetry;
    g_SaveData.m_nStageNo = 7;
    g_SaveData.m_vSwitches[7] = c.cleared;
    EXPECT_EQ(m_pScene->PauseMenuRows(), c.rows) << c.playStart << " " << c.playMode << " " << c.cleared;
  }
}

TEST_F(StageStates, ResumingReturnsToTheStateAndStepThatWerePausedAndHoldsTheButtons) {
  g_SceneManager.m_nPlayMode = PLAY_FREESTAGE;  // three rows
  PauseFrom(STAGE_RESULT, 1);
  Frame();
  EXPECT_EQ(g_MenuCursor.Current()->nRow, 1);  // the cursor starts on resume
  Frame(MENU_DECIDE);
  EXPECT_EQ(m_pScene->m_nState, STAGE_RESULT);
  EXPECT_EQ(m_pScene->m_nStep, 1);
  EXPECT_EQ(m_pScene->m_bHoldButtons, 1);

  // Cancel leaves a two-row menu at step 0.
  g_SceneManager.m_nPlayMode = PLAY_STORY;
  g_SystemData.m_bStoryPauseRetry = 0;
  PauseFrom(STAGE_GAMEOVER, 1);
  Frame();
  Frame(MENU_CANCEL);
  EXPECT_EQ(m_pScene->m_nState, STAGE_GAMEOVER);
  EXPECT_EQ(m_pScene->m_nStep, 0);
  EXPECT_EQ(m_Harness.sounds, (std::vector<int>{4, 1, 4, 2}));
}

TEST_F(StageStates, QuittingGoesToTheTitleOrClosesADirectStart) {
  g_SceneManager.m_nPlayStart = TITLE_CHALLENGE;
  PauseFrom(STAGE_PLAY, 0);
  Frame();
  Frame(0, CURSOR_UP);  // from resume up to quit
  Frame(MENU_DECIDE);
  EXPECT_EQ(m_pScene->m_nState, STAGE_FADEOUT);
  EXPECT_EQ(g_SceneManager.m_nNextScene, SCENE_TITLE);
  EXPECT_EQ(g_MenuCursor.Current()->nRow, TITLE_CHALLENGE);
  EXPECT_EQ(CloseRequestCount(), 0);

  g_bFreeStagePlay = 1;
  PauseFrom(STAGE_PLAY, 0);
  Frame();
  Frame(0, CURSOR_UP);
  Frame(MENU_DECIDE);
  EXPECT_EQ(CloseRequestCount(), 1);
}

TEST_F(StageStates, RetryFromThePauseMenuRestartsTheStageAtItsBanners) {
  g_SceneManager.m_nPlayMode = PLAY_FREESTAGE;
  m_pScene->m_nTimeLeft = 3;
  PauseFrom(STAGE_PLAY, 0);
  Frame();
  Frame(0, CURSOR_DOWN);
  Frame(MENU_DECIDE);
  EXPECT_EQ(m_pScene->m_nState, STAGE_START);
  EXPECT_EQ(m_pScene->m_nTimeLeft, 120);  // set up anew
}

// Without the clear banner the result can be left after its first frame;
// with it the banner needs 50 frames (4 a frame up to 200). Auto result
// ends by itself in the frame after.
TEST_F(StageStates, TheResultIsLeftOnceItsBannerHasStood) {
  struct Case {
    int clearBanner, autoResult, framesToStand;
  };
  for (const Case c : {Case{0, 0, 1}, Case{1, 0, 50}, Case{1, 1, 50}}) {
    g_LoadedStage.m_bClearBanner = c.clearBanner;
    g_LoadedStage.m_bSkipResult = c.autoResult;
    g_SceneManager.m_nPlayStart = TITLE_STAGEFILE;
    m_pScene->m_nState = STAGE_RESULT;
    m_pScene->m_nStep = 0;
    Frame(MENU_DECIDE);  // too early: ignored
    int frames = 1;
    while (m_pScene->m_nBannerCount < 200 && frames < 100) {
      Frame();
      ++frames;
    }
    EXPECT_EQ(frames, c.framesToStand) << c.clearBanner << c.autoResult;
    EXPECT_EQ(m_pScene->m_nState, STAGE_RESULT);
    if (!c.autoResult) Frame();  // decide released
    EXPECT_EQ(m_pScene->m_nState, STAGE_RESULT);
    Frame(c.autoResult ? 0 : MENU_DECIDE);
    EXPECT_EQ(m_pScene->m_nState, STAGE_FADEOUT);
    EXPECT_EQ(g_SceneManager.m_nNextScene, SCENE_STAGE);  // a stage file is played again
  }
}

TEST_F(StageStates, TheContinueMenuRetriesOrGivesUpForTheMap) {
  g_SceneManager.m_nPlayStart = TITLE_CONTINUE;
  m_pScene->m_nState = STAGE_CONTINUE;
  m_pScene->m_nStep = 0;
  Frame();
  Frame(MENU_CANCEL);  // there is no cancel
  Frame();
  EXPECT_EQ(m_pScene->m_nState, STAGE_CONTINUE);
  Frame(MENU_DECIDE);
  EXPECT_EQ(m_pScene->m_nState, STAGE_START);

  m_pScene->m_nState = STAGE_CONTINUE;
  m_pScene->m_nStep = 0;
  Frame();
  Frame(0, CURSOR_DOWN);
  Frame(MENU_DECIDE);
  EXPECT_EQ(m_pScene->m_nState, STAGE_FADEOUT);
  EXPECT_EQ(g_SceneManager.m_nNextScene, SCENE_WORLDMAP);
  EXPECT_EQ(g_SaveData.m_bGaveUp, 1);
}

TEST_F(StageStates, GameOverPausesOnSpaceAndLeavesForTheTitleOnDecide) {
  m_pScene->m_nState = STAGE_GAMEOVER;
  platform::PressVirtualKey(platform::VK_SPACE);
  Frame();
  platform::ReleaseVirtualKey(platform::VK_SPACE);
  EXPECT_EQ(m_pScene->m_nState, STAGE_PAUSE);
  m_pScene->m_nState = STAGE_GAMEOVER;
  Frame(MENU_DECIDE);
  EXPECT_EQ(m_pScene->m_nState, STAGE_FADEOUT);
  EXPECT_EQ(g_SceneManager.m_nNextScene, SCENE_TITLE);
}

// From 9500 to 30500 with a step of 10000: three lives, each shown by the
// pause loop for 30 frames with sound 15; never past 99, none when
// unlimited.
TEST_F(StageStates, TheTallyGivesAnExtraLifePerStepOfScore) {
  g_SystemData.m_bExtraLifeByScore = 1;
  g_SystemData.m_nExtraLifeScore = 10000;
  struct Case {
    int lives, after, shown;
  };
  for (const Case c : {Case{2, 5, 3}, Case{98, 99, 3}, Case{UNLIMITED_LIVES, UNLIMITED_LIVES, 0}}) {
    g_SaveData.m_nLives = c.lives;
    g_SaveData.m_nTotalScore = 9500;
    g_SaveData.m_nScore = 21000;
    m_Harness.sounds.clear();
    m_pScene->EndStage();
    EXPECT_EQ(g_SaveData.m_nLives, c.after);
    EXPECT_EQ(g_SaveData.m_nTotalScore, 30500);
    EXPECT_EQ(std::count(m_Harness.sounds.begin(), m_Harness.sounds.end(), 15), c.shown);
    EXPECT_TRUE(m_pScene->m_MessageList.empty());  // each pop-up went with its wait
  }
}

TEST_F(StageStates, TheTallyAddsTheTotalsAndFindsTheRankingPositions) {
  g_SceneManager.m_bUseRanking = 1;
  g_SceneManager.m_nPlayMode = PLAY_CHALLENGE;
  g_SystemData.m_vRanking[PLAY_CHALLENGE].m_vKinds = {1, 1, 1, 0, 0};
  // The stage ranks kinds 0, 2 and 3: kinds 0 and 2 are ranked.
  g_SaveData.m_nScore = 500;
  m_pScene->m_nPlayTime = 4321;
  m_pScene->EndStage();
  EXPECT_EQ(g_SaveData.m_nTotalTimeLeft, 120);  // the stage has a limit
  EXPECT_EQ(g_SaveData.m_nTotalClearTime, 4321);
  ASSERT_NE(m_pScene->m_pHero, nullptr);
  const int hp = m_pScene->m_pHero->m_nHp, sp = m_pScene->m_pHero->m_nSp;
  EXPECT_EQ(m_pScene->m_vRankValue, (std::vector<std::int32_t>{500, 120, 4321, hp, sp}));
  EXPECT_EQ(m_pScene->m_vRankPosition, (std::vector<std::int32_t>{0, -1, 0, -1, -1}));
  EXPECT_EQ(m_pScene->m_bNewRecord, 1);

  // A ranking set that lost tables ranks the missing kinds nowhere.
  g_RankingSet.m_vLists.resize(1);
  m_pScene->EndStage();
  EXPECT_EQ(m_pScene->m_vRankPosition, (std::vector<std::int32_t>{0, -1, -1, -1, -1}));

  // A test play from the editor tallies but ranks nowhere.
  g_bTestPlay = 1;
  m_pScene->EndStage();
  g_bTestPlay = 0;
  EXPECT_EQ(m_pScene->m_vRankValue[0], 1500);
  EXPECT_EQ(m_pScene->m_vRankPosition, (std::vector<std::int32_t>(5, -1)));
  EXPECT_EQ(m_pScene->m_bNewRecord, 0);

  // A stage without a time limit (its time stopped) adds no time left.
  const int timeLeft = g_SaveData.m_nTotalTimeLeft;
  m_pScene->m_bTimeStop = 1;
  m_pScene->EndStage();
  EXPECT_EQ(g_SaveData.m_nTotalTimeLeft, timeLeft);
}

// The result of a replay plays it again from the progress its stage
// started with: the total score, the lives and the variables.
TEST_F(StageStates, AReplaysResultReturnsToTheProgressOfTheStagesStart) {
  g_SceneManager.m_nPlayStart = TITLE_REPLAY;
  g_SaveData.m_nTotalScore = 700;
  g_SaveData.m_nLives = 3;
  g_SaveData.m_vVariables.assign(4, 0);
  g_SaveData.m_vVariables[2] = 11;
  g_SaveData.TakeStageSnapshot();
  g_SaveData.m_nTotalScore = 2200;
  g_SaveData.m_nLives = 1;
  g_SaveData.m_vVariables[2] = 99;
  EXPECT_EQ(m_pScene->DecideNextScene(), SCENE_STAGE);
  EXPECT_EQ(g_SaveData.m_nTotalScore, 700);
  EXPECT_EQ(g_SaveData.m_nLives, 3);
  EXPECT_EQ(g_SaveData.m_vVariables[2], 11);
}

TEST_F(StageStates, TheNextSceneFollowsThePlayStart) {
  g_SaveData.m_nSeriesNo = 3;
  struct Case {
    int playStart, scene;
  };
  for (const Case c : {Case{TITLE_NEWGAME, SCENE_WORLDMAP}, Case{TITLE_CHALLENGE, SCENE_STAGESELECT},
                       Case{TITLE_STAGEFILE, SCENE_STAGE}, Case{TITLE_REPLAY, SCENE_STAGE}, Case{9, SCENE_STAGESELECT}}) {
    g_SceneManager.m_nPlayStart = c.playStart;
    EXPECT_EQ(m_pScene->DecideNextScene(), c.scene) << c.playStart;
    EXPECT_EQ(g_SaveData.m_nSeriesNo, 3);
  }
}

// A challenge clear records the stage (only one that has a record) and
// opens the next.
TEST_F(StageStates, AChallengeClearRecordsOnlyAStageThatHasARecord) {
  g_SceneManager.m_nPlayStart = TITLE_CHALLENGE;
  g_SystemData.m_nChallengeStages = 3;
  g_SaveData.m_vChallenge.assign(3, cSaveIntPair());
  g_SaveData.m_nOpenStages = 1;
  g_SaveData.m_nTotalScore = 800;
  g_SaveData.m_nStageNo = 1;
  EXPECT_EQ(m_pScene->DecideNextScene(), SCENE_STAGESELECT);
  EXPECT_EQ(g_SaveData.m_vChallenge[0].m_bCleared, 1);
  EXPECT_EQ(g_SaveData.m_vChallenge[0].m_nBest, 800);
  EXPECT_EQ(g_SaveData.m_nBestTotal, 800);
  EXPECT_EQ(g_SaveData.m_nOpenStages, 2);

  g_SaveData.m_nStageNo = 9;  // no such record: record 0 stays as it is
  g_SaveData.m_nTotalScore = 5000;
  m_pScene->DecideNextScene();
  EXPECT_EQ(g_SaveData.m_vChallenge[0].m_nBest, 800);
  EXPECT_EQ(g_SaveData.m_nOpenStages, 2);
}

TEST_F(StageStates, RegisteringEntersTheNameOnceAndShowsTheTableUntilDecide) {
  g_SceneManager.m_bUseRanking = 1;
  g_SceneManager.m_nPlayMode = PLAY_CHALLENGE;
  g_OptionData.m_nRankingMode = RANKING_MANUAL_ENTER_NAME;
  g_SaveData.m_strName = "abc";
  m_Harness.nameEntry = [&] { m_pScene->m_strRankName = "XYZ"; };
  m_pScene->m_bNewRecord = 1;
  m_pScene->m_vRankPosition = {0, -1, -1, -1, -1};
  m_pScene->m_vRankValue = {700, 0, 0, 0, 0};
  g_SaveData.m_strStagePath = "stage.";
  // The ranking display ends at once: a close asked for it.
  platform::PostThreadMessage(platform::GetCurrentThreadId(), platform::WM_QUIT, 0, 0);
  m_pScene->RegisterRanking();
  platform::MSG left;
  while (platform::PeekMessage(&left, platform::PM_REMOVE)) {
  }
  EXPECT_EQ(m_Harness.nameEntries, 1);
  EXPECT_EQ(g_SaveData.m_strName, "XYZ");
  EXPECT_EQ(g_RankingSet.m_vLists[0].m_vEntries[0].m_strName, "XYZ");
  EXPECT_EQ(g_RankingSet.m_vLists[0].m_vEntries[0].m_nValue, 700);
  EXPECT_EQ(m_pScene->m_bRankingRegistered, 1);
  EXPECT_TRUE(std::filesystem::exists(m_Folder.path() / "user_data" / "challenge" / "stage.rkg"));
  m_pScene->RegisterRanking();  // a second time does nothing
  EXPECT_EQ(m_Harness.nameEntries, 1);
}

}  // namespace

namespace {

// What follows the hero's death display, decided in the frame it ends: a
// replay starts over without a life taken; no life left is the game over
// (also in story play with the continue menu); story play with the continue
// menu asks; otherwise the stage starts again.
TEST_F(StageStates, TheEndOfTheHerosDeathDisplayDecidesWhatFollows) {
  struct Case {
    int playStart, playMode, storyContinue, lives, state, livesAfter;
  };
  const Case cases[] = {
      {TITLE_REPLAY, PLAY_REPLAY, 0, 0, STAGE_START, 0},
      {TITLE_NEWGAME, PLAY_STORY, 1, 0, STAGE_GAMEOVER, 0},
      {TITLE_NEWGAME, PLAY_STORY, 1, 2, STAGE_CONTINUE, 1},
      {TITLE_NEWGAME, PLAY_STORY, 0, 2, STAGE_START, 1},
      {TITLE_CHALLENGE, PLAY_CHALLENGE, 1, 2, STAGE_START, 1},
  };
  for (const Case& c : cases) {
    g_SceneManager.m_nPlayStart = c.playStart;
    g_SceneManager.m_nPlayMode = c.playMode;
    g_SystemData.m_bStoryContinue = c.storyContinue;
    g_SaveData.m_nLives = c.lives;
    g_SaveData.TakeStageSnapshot();
    m_pScene->SetStage(0, 0);
    m_pScene->m_nState = STAGE_PLAY;
    ASSERT_NE(m_pScene->m_pHero, nullptr);
    // Without a death effect the hero's display lasts a second of frames.
    m_pScene->m_pHero->m_bDying = 1;
    int frames = 0;
    while (m_pScene->m_nState == STAGE_PLAY && frames < 100) {
      m_pScene->Draw(1, 0, 1, 1);
      ++frames;
    }
    EXPECT_EQ(frames, g_LoadedStage.m_nFps + 1);
    EXPECT_EQ(m_pScene->m_nState, c.state) << c.playStart << " " << c.lives;
    EXPECT_EQ(g_SaveData.m_nLives, c.livesAfter) << c.playStart << " " << c.lives;
  }
}

}  // namespace

namespace {

// The fade out hands over to the next scene and makes the scene enter anew
// when it comes back; a stage file played on its own is read again, and
// one that cannot be read any more closes the program.
TEST_F(StageStates, LeavingHandsOverAndReadsAStageFileAgain) {
  g_SceneManager.m_nPlayStart = TITLE_STAGEFILE;
  g_SceneManager.m_nNextScene = SCENE_STAGE;
  g_LoadedStage.m_strPath = "data\\stg4\\gone.stg4_000";
  m_pScene->m_nState = STAGE_FADEOUT;
  int frames = 0;
  while (m_pScene->m_nState == STAGE_FADEOUT && frames < 100) {
    Frame();
    ++frames;
  }
  EXPECT_EQ(m_pScene->m_nState, SCENE_STATE_ENTER);
  EXPECT_EQ(g_SceneManager.m_nScene, SCENE_STAGE);
  EXPECT_EQ(g_SceneManager.m_nPrevScene, SCENE_STAGE);
  EXPECT_EQ(g_SceneManager.m_nFps, 60);
  EXPECT_EQ(CloseRequestCount(), 1);
}

}  // namespace

namespace {

// A close while the pause loop waits for a key: the main window raises the
// quit flag and posts the loop's quit (here from another thread, as it
// does); without that post the loop ends itself two seconds after it saw
// the flag. Either way the program is asked to close once the loop has
// returned.
TEST_F(StageStates, ACloseEndsAKeyWaitAndClosesTheProgram) {
  for (const bool postQuit : {true, false}) {
    ResetCloseRequests();
    m_pScene->m_bQuit = 0;
    m_pScene->m_Wait = {1, 0, 1, 0, 0};  // a message waiting for decide
    std::thread closer([&] {
      while (!thPause.IsRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      m_pScene->m_bQuit = 1;
      if (postQuit) platform::PostThreadMessage(thPause.ThreadId(), platform::WM_QUIT, 0, 0);
    });
    m_pScene->RunModalWait();
    closer.join();
    EXPECT_FALSE(thPause.IsRunning());
    EXPECT_EQ(CloseRequestCount(), 1) << postQuit;
    platform::MSG left;
    while (platform::PeekMessage(&left, platform::PM_REMOVE)) {
    }
  }
}

}  // namespace
