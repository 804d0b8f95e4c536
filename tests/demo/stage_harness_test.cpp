// Stages of the demo project and a stage built in code, played headless:
// a restart gives back exactly the stage of the first set-up, and a stage
// played again from its start plays the same; the stage scene's place in
// the scene changes.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/state_dump.h"
#include "base/input_script.h"
#include "model/settings/system_data.h"
#include "model/user/replay.h"
#include "model/user/save_data.h"
#include "scenes/scene_manager.h"
#include "support/condition_builders.h"
#include "support/demo_harness_test.h"
#include "support/test_stage_builder.h"
#include "tools/make-demo/demo_stage_names.h"

namespace {

// A stage with every kind of placed object: the hero, a walker with two
// more copies in a row, a character carrying an item, a block character,
// an item, solid, deadly and conditional blocks.
cEdStage EveryObjectStage() {
  cEdStage stage = FloorStage({.nCellsX = 40, .nCellsY = 15, .nSpeedLevel = 2}, 2);
  SetPlayedStageBoxes(stage);
  stage.m_vPlacedCharas.front().m_nFacing = 1;  // the hero
  stage.m_bTimeLimit = 1;
  stage.m_nTimeLimit = 90;

  const auto block = [](int x, int y, int collision, int graphic) {
    cEdBlock b;
    b.m_nCellX = static_cast<std::int16_t>(x);
    b.m_nCellY = static_cast<std::int16_t>(y);
    b.m_nCollision = static_cast<std::int8_t>(collision);
    b.m_nGraphicNo = static_cast<std::int16_t>(graphic);
    return b;
  };
  stage.m_vPlacedBlocks.push_back(block(20, 13, 2, 2));
  cEdBlock conditional = block(25, 10, 1, 1);
  conditional.m_vCondition.push_back(ConditionBuilder(COND_STAGE_VAR).Var(1).Value(1));
  stage.m_vPlacedBlocks.push_back(conditional);

  cEdChara walker;
  walker.m_nControl = 1;
  walker.m_nGraphicNo = 2;
  walker.m_nCellX = 8;
  walker.m_nCellY = 13;
  walker.m_nDropItem = -1;
  walker.m_nRepeat = 2;
  walker.m_nRepeatStepX = 40;
  stage.m_vPlacedCharas.push_back(walker);
  cEdChara carrier = walker;
  carrier.m_nRepeat = 0;
  carrier.m_nCellX = 30;
  carrier.m_nDropItem = 1;
  stage.m_vPlacedCharas.push_back(carrier);
  cEdChara platform = walker;
  platform.m_nRepeat = 0;
  platform.m_bBlockChara = 1;
  platform.m_nFlying = 1;
  platform.m_nCellX = 15;
  platform.m_nCellY = 10;
  stage.m_vPlacedCharas.push_back(platform);

  cEdItem coin;
  coin.m_nGraphicNo = 3;
  coin.m_nCellX = 5;
  coin.m_nCellY = 12;
  stage.m_vPlacedItems.push_back(coin);
  cEdItem carried = coin;
  carried.m_nCellX = 30;
  stage.m_vPlacedItems.push_back(carried);
  return stage;
}

class StageHarnessTest : public DemoHarnessTest {
 protected:
  // Starts the stage again as a retry does, without leaving the frame.
  void Retry() {
    cStageScene& stage = *m_Harness->Stage();
    g_SaveData.RestoreStageSnapshot(1, g_SceneManager.m_nPlayMode, 1);
    stage.SetStage(1, 0);
    stage.m_nStep = 0;
    stage.m_nState = STAGE_START;
  }

  // The digests right after the set-up and after a restart at once, then
  // after 90 frames of play from each.
  void ExpectRestartsAreEqual() {
    m_Harness->Frame();
    ASSERT_NE(m_Harness->Stage(), nullptr);
    ASSERT_NE(m_Harness->Stage()->m_nState, SCENE_STATE_ENTER);
    const std::string first = m_Harness->Digest();
    Retry();
    m_Harness->Stage()->m_nState = STAGE_FADEIN;
    EXPECT_EQ(m_Harness->Digest(), first);

    ASSERT_TRUE(m_Harness->RunUntilState(STAGE_PLAY));
    m_Harness->Frames(90);
    const std::string played = m_Harness->Digest();
    Retry();
    ASSERT_TRUE(m_Harness->RunUntilState(STAGE_PLAY));
    m_Harness->Frames(90);
    EXPECT_EQ(m_Harness->Digest(), played);
    EXPECT_EQ(CloseRequestCount(), 0);
  }

};

TEST_F(StageHarnessTest, EachDemoStageRestartsAsItWasSetUp) {
  for (const char* file : {demo::kStoryStageFile, demo::kChallengeStageFile, demo::kChallengePart2File,
                           demo::kFreeStageFile}) {
    SCOPED_TRACE(file);
    ASSERT_TRUE(m_Harness->StartStageFile(file));
    ExpectRestartsAreEqual();
  }
}

TEST_F(StageHarnessTest, AStageWithEveryKindOfObjectRestartsAsItWasSetUp) {
  m_Harness->StartStage(EveryObjectStage());
  m_Harness->Frame();
  const cStageScene& stage = *m_Harness->Stage();
  // Three walkers, the carrier and the platform; the carried item is not
  // on the map.
  EXPECT_EQ(stage.m_CharacterList.size(), 5u);
  EXPECT_EQ(stage.m_ItemList.size(), 1u);
  std::vector<int> ids;
  for (const cCharacter& chara : stage.m_CharacterList) ids.push_back(chara.m_nId);
  EXPECT_EQ(ids, (std::vector<int>{1, 2, 3, 4, 5}));
  std::size_t listed = 0;
  for (const auto& team : stage.m_vTeamCharacter) listed += team.size();
  EXPECT_EQ(listed, 6u);
  m_Harness->StartStage(EveryObjectStage());
  ExpectRestartsAreEqual();
  // The state dump of a headless run carries the digest.
  const std::string dump = StateDumpJson();
  EXPECT_NE(dump.find("\"scene\": \"stage\""), std::string::npos);
  EXPECT_NE(dump.find("\"stage\": " + m_Harness->Digest() + "}"), std::string::npos) << dump;
}

}  // namespace

namespace {

std::vector<std::string> g_SceneLog;

// A scene that leaves for the stage on its first own frame.
class LeavingScene : public cScene {
 public:
  explicit LeavingScene(int next) : m_nNext(next) {
    SetStates({static_cast<State>(&LeavingScene::Run)});
    g_SceneLog.push_back("create test");
  }
  ~LeavingScene() override { g_SceneLog.push_back("delete test"); }
  void Frame() override { RunFrame(); }
  void Enter() override { g_SceneLog.push_back("enter test"); }
  void FadeIn() override { m_nState = 1; }
  void Run() {
    g_SceneManager.m_nNextScene = m_nNext;
    m_nState = LastState();
  }
  void Leave() override {
    g_SceneManager.m_nPrevScene = SCENE_TITLE;
    g_SceneManager.m_nScene = g_SceneManager.m_nNextScene;
  }

 private:
  int m_nNext;
};

// The stage scene with its protocol logged.
class LoggedStageScene : public cStageScene {
 public:
  LoggedStageScene() { g_SceneLog.push_back("create stage"); }
  ~LoggedStageScene() override { g_SceneLog.push_back("delete stage"); }
  void Enter() override {
    g_SceneLog.push_back("enter stage");
    cStageScene::Enter();
  }
  void FadeIn() override {
    if (g_SceneLog.back() != "fade in stage") g_SceneLog.push_back("fade in stage");
    cStageScene::FadeIn();
  }
  void Leave() override {
    if (g_SceneLog.back() != "fade out stage") g_SceneLog.push_back("fade out stage");
    cStageScene::Leave();
  }
};

TEST_F(StageHarnessTest, TheStageSceneIsMadeEnteredFadedAndDeletedInOrder) {
  g_SceneLog.clear();
  cSceneManager::SetSceneFactory(SCENE_TITLE, [] { return std::make_unique<LeavingScene>(SCENE_STAGE); });
  cSceneManager::SetSceneFactory(SCENE_STAGE, [] { return std::make_unique<LoggedStageScene>(); });
  m_Harness->StartStage(EveryObjectStage());
  m_Harness->Window().Start(SCENE_TITLE);
  m_Harness->Frames(2);
  ASSERT_TRUE(m_Harness->RunUntilState(STAGE_PLAY));
  EXPECT_EQ(g_pStageScene, m_Harness->Stage());
  // The play quits to the title (as the pause menu's quit does).
  g_SceneManager.m_nNextScene = SCENE_TITLE;
  m_Harness->Stage()->m_nState = STAGE_FADEOUT;
  for (int i = 0; i < 40 && g_SceneManager.Scene(SCENE_STAGE); ++i) m_Harness->Frame();
  EXPECT_EQ(g_pStageScene, nullptr);
  EXPECT_EQ(g_SceneLog, (std::vector<std::string>{"create test", "enter test", "delete test", "create stage",
                                                  "enter stage", "fade in stage", "fade out stage", "delete stage",
                                                  "create test", "enter test"}));
  EXPECT_EQ(g_SceneManager.m_nFps, 60);
}

}  // namespace

namespace {

// Walks right, jumps twice, turns back and shoots.
constexpr const char* kPlayScript =
    "12 RIGHT down\n30 Z down\n44 Z up\n70 Z down\n74 Z up\n100 RIGHT up\n"
    "104 LEFT down\n110 X down\n114 X up\n140 LEFT up\n150 X down\n152 X up\n";

class ReplayTest : public StageHarnessTest {
 protected:
  std::map<int, std::string> Play(int frames) { return m_Harness->PlayDigests(frames); }
  // Records a play of the free stage and saves it; the digests of the play.
  std::map<int, std::string> Record(const std::string& path, bool bRetry) {
    g_SystemData.m_bRecordReplay = 1;
    EXPECT_TRUE(m_Harness->StartStageFile(demo::kFreeStageFile));
    EXPECT_TRUE(m_Harness->RunUntilState(STAGE_PLAY, 400));
    EXPECT_TRUE(m_Harness->SetInput(kPlayScript));
    std::map<int, std::string> digests = Play(200);
    if (bRetry) {
      Retry();
      EXPECT_TRUE(m_Harness->RunUntilState(STAGE_PLAY, 400));
      EXPECT_TRUE(m_Harness->SetInput(kPlayScript));
      digests = Play(200);
    }
    RemoveInputScript();
    EXPECT_EQ(g_ReplayLog.SaveReplay(path.c_str(), g_LoadedStage, g_PlayStage, g_ReplaySaveData), 1);
    return digests;
  }
  // A new harness, as a new run of the player.
  void FreshHarness() {
    m_Harness.reset();
    m_Harness = std::make_unique<StageHarness>();
    ASSERT_TRUE(m_Harness->Started());
  }
  // Every frame of play of the playback equals the recording's.
  static void ExpectSame(const std::map<int, std::string>& recorded, const std::map<int, std::string>& played) {
    ASSERT_GT(recorded.size(), 150u);
    int compared = 0;
    for (const auto& [frame, digest] : played) {
      const auto it = recorded.find(frame);
      if (it == recorded.end()) continue;
      ASSERT_EQ(digest, it->second) << "stage frame " << frame;
      ++compared;
    }
    EXPECT_GT(compared, 150);
  }
};

TEST_F(ReplayTest, APlaybackMatchesTheRecordingOnEveryFrame) {
  const std::string path = "user_data\\rpl4\\free01.rpl4_566";
  const std::map<int, std::string> recorded = Record(path, false);
  // Something happened: the hero moved.
  ASSERT_NE(recorded.begin()->second, recorded.rbegin()->second);
  FreshHarness();
  ASSERT_TRUE(m_Harness->StartReplay(path));
  ASSERT_TRUE(m_Harness->RunUntilState(STAGE_PLAY, 400));
  ExpectSame(recorded, Play(200));
}

TEST_F(ReplayTest, APlaybackAfterARetryMatchesThePlayAfterTheRetry) {
  const std::string path = "user_data\\rpl4\\free01_retry.rpl4_566";
  const std::map<int, std::string> recorded = Record(path, true);
  FreshHarness();
  ASSERT_TRUE(m_Harness->StartReplay(path));
  ASSERT_TRUE(m_Harness->RunUntilState(STAGE_PLAY, 400));
  ExpectSame(recorded, Play(200));
}

TEST_F(ReplayTest, AReplayThatLoopsMatchesBothTimes) {
  const std::string path = "user_data\\rpl4\\free01_loop.rpl4_566";
  const std::map<int, std::string> recorded = Record(path, false);
  FreshHarness();
  ASSERT_TRUE(m_Harness->StartReplay(path));
  ASSERT_TRUE(m_Harness->RunUntilState(STAGE_PLAY, 400));
  ExpectSame(recorded, Play(200));
  // Past its last frame the replay starts over from the stage's start.
  ASSERT_TRUE(m_Harness->RunUntilState(STAGE_START, 50));
  ASSERT_TRUE(m_Harness->RunUntilState(STAGE_PLAY, 400));
  ExpectSame(recorded, Play(200));
  EXPECT_EQ(CloseRequestCount(), 0);
}

}  // namespace
