// Closes and replays of the stage on the demo project, played headless from
// the keys a player presses:
//
// - a close (the window's close box) while the pause menu shows, while a
//   message holds the game until a key, while the ranking table shows after
//   a registration, and while a stage loads: the close reaches the window
//   once (a running in-stage loop ends first and raises the stage's quit
//   flag), nothing is saved that the play had not saved already, no box
//   shows, and the frames that follow do no harm;
// - a replay recorded across the pause menu's retry plays back as the play
//   after the retry went;
// - a message that holds the game inside a replay: the play after it is
//   the same however long the player took to answer it.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/close_request.h"
#include "base/input_script.h"
#include "model/definitions/command.h"
#include "model/settings/system_data.h"
#include "model/user/options.h"
#include "model/user/ranking.h"
#include "model/user/replay.h"
#include "model/user/save_data.h"
#include "platform/clock.h"
#include "scenes/scene_manager.h"
#include "scenes/stage/stage_scene.h"
#include "shell/name_entry_dialog.h"
#include "support/demo_harness_test.h"
#include "support/scoped_dialog_script.h"
#include "support/stage_harness.h"
#include "tools/make-demo/demo_flows.h"
#include "tools/make-demo/demo_stage_names.h"
#include "tools/make-demo/demo_stages.h"

namespace fs = std::filesystem;

namespace {

// The key state of button 4 (V) in a key condition.
constexpr int kKeyButton4 = demo::KEY_BUTTON1 + 3;

// Flat ground where the hero's button 4 shows a message in the middle of
// the screen that holds the game until the decide key.
cEdStage MessageRoad() {
  cEdStage stage = DemoRoad("伝言", "B.H................B");
  cEdChara& hero = stage.m_vPaletteCharas.at(demo::CHARA_HERO);
  hero.m_vInheritFlag.at(CHARA_INHERIT_GROUPS - 1) = 0;  // the flows are its own
  // Centred on the screen, shown until a key, holding the game.
  cEdCommand message = demo::FlowCommand(CMD_MESSAGE, 0, {7, 0, 0, 0, 0, 0, 0, 0, 1});
  message.m_strText = "Hello";
  hero.m_vFlow.push_back(demo::KeyFlow({kKeyButton4}, false, {message}));
  return stage;
}

// Every file of a folder with its size and time of its last write.
using FolderState = std::map<fs::path, std::pair<std::uintmax_t, fs::file_time_type>>;

FolderState ReadFolderState(const fs::path& folder) {
  FolderState state;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) state[entry.path()] = {entry.file_size(), entry.last_write_time()};
  }
  return state;
}

// The files made, changed or removed between two states.
std::vector<fs::path> WrittenFiles(const FolderState& before, const FolderState& after) {
  std::vector<fs::path> written;
  for (const auto& [path, state] : after) {
    const auto it = before.find(path);
    if (it == before.end() || it->second != state) written.push_back(path);
  }
  for (const auto& entry : before) {
    if (!after.count(entry.first)) written.push_back(entry.first);
  }
  return written;
}

class StageClosesTest : public DemoHarnessTest {
 protected:
  // The free stage started as a file and played.
  void PlayFreeStage() {
    ASSERT_TRUE(Harness().StartStageFile(demo::kFreeStageFile));
    ASSERT_TRUE(Harness().RunUntilState(STAGE_PLAY, 400));
    Harness().Frame();
  }

  // The stage list of the challenge, shown and waiting for a key.
  void EnterStageList() {
    Harness().StartChallenge();
    ASSERT_TRUE(Harness().RunUntilScene(SCENE_STAGESELECT));
    Harness().Frame();
  }

 public:
  // Preparations of the close cases: each leaves the game one frame before
  // the case's script starts.

  void PauseMenu() {
    PlayFreeStage();
    Harness().Press("SPACE");
    Harness().Frame();
    ASSERT_EQ(Stage().m_nState, STAGE_PAUSE);
  }

  void MessageWait() {
    Save(MessageRoad(), demo::kFreeStageFile);
    PlayFreeStage();
  }

  // A challenge of one part cleared with a new best score; the result shown
  // until F3 can register it under the name the name entry is given.
  void RankingResult() {
    Save(DemoRoad("一区間", "B.H.G..............B", demo::eGoalKind::LastPart), demo::kChallengeStageFile);
    cEdFlagSet& ranking = g_SystemData.m_vRanking.at(PLAY_CHALLENGE);
    ranking.m_bEnabled = 1;
    ranking.m_vKinds.assign(cRankingSet::kKinds, 0);
    ranking.m_vKinds[RANKING_SCORE] = 1;
    g_OptionData.m_nRankingMode = RANKING_MANUAL_ENTER_NAME;
    m_Dialogs.emplace("name ABC\n");
    Harness().Window().nameEntry = [this] {
      cNameEntryDialog dialog(NameEntryTarget(g_SceneManager.m_nPlayStart, &Stage().m_strRankName), true, 0, 0);
      dialog.DoModal();
    };
    EnterStageList();
    Harness().Press("Z");
    ASSERT_TRUE(Harness().RunUntilState(STAGE_PLAY));
    WalkRightUntil(STAGE_RESULT);
    ASSERT_EQ(Stage().m_vRankPosition[RANKING_SCORE], 0);
    Harness().Frames(60);
  }

  // The registration took the name and saved the ranking before the table
  // showed; the close left the rest of the result undone.
  void ExpectRankingSavedAndResultKept() {
    EXPECT_EQ(Harness().Window().nameEntries, 1);
    EXPECT_EQ(Stage().m_bRankingRegistered, 1);
    cRankingSet saved;
    ASSERT_EQ(LoadStageRanking(saved, PLAY_CHALLENGE, g_SaveData.m_strStagePath), 1);
    EXPECT_EQ(saved.m_vLists.at(RANKING_SCORE).m_vEntries.at(0).m_strName, "ABC");
    EXPECT_EQ(Stage().m_nState, STAGE_RESULT);
  }

  // The stage list's decide: the challenge's stage file loads on the frame
  // of the key.
  void StageListDecide() { EnterStageList(); }

  // The frame after this one makes the stage scene, which loads its images.
  void StageSceneEnter() {
    EnterStageList();
    Harness().Press("Z");
    for (int i = 0; i < 200 && g_SceneManager.m_nScene != SCENE_STAGE; ++i) Harness().Frame();
    ASSERT_EQ(g_SceneManager.m_nScene, SCENE_STAGE);
    ASSERT_EQ(Harness().Stage(), nullptr);
  }

  // After both loads the stage plays, its file the challenge's.
  void ExpectTheStagePlays() {
    ASSERT_TRUE(Harness().RunUntilState(STAGE_PLAY, 400));
    EXPECT_EQ(g_SaveData.m_nStageNo, 1);
  }

 protected:
  std::optional<ScopedDialogScript> m_Dialogs;
};

struct CloseCase {
  const char* name;
  void (StageClosesTest::*prepare)();
  // Input with the close; keys after it end a wait only if the close fails to.
  const char* script;
  int frames;                         // run from the script's start through the close
  bool quit;                          // the close came during an in-stage loop: the quit flag is up
  int writes;                         // files the play itself wrote meanwhile
  void (StageClosesTest::*expect)();  // what else holds afterwards; may be null
};

class StageCloseTest : public StageClosesTest, public testing::WithParamInterface<CloseCase> {};

TEST_P(StageCloseTest, ReachesTheWindowOnceSavesNothingAndLeavesLaterFramesHarmless) {
  const CloseCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE((this->*c.prepare)());
  const FolderState before = ReadFolderState(m_Folder.path());
  const std::uint32_t start = platform::timeGetTime();
  ResetCloseRequests();
  Harness().Window().programCloses = 0;

  ASSERT_TRUE(Harness().SetInput(c.script));
  Harness().Frames(c.frames);
  // Well before the failsafe keys and the pause loop's grace: the close
  // itself ended what it came in.
  EXPECT_LT(platform::timeGetTime() - start, 2000u);
  const cStageScene* stage = Harness().Stage();
  EXPECT_EQ(stage && stage->m_bQuit, c.quit);
  // Each close either ended the loop or reached the window; a loop's end
  // by a close closes once more from the stage.
  EXPECT_GE(Harness().Window().programCloses, 1);
  EXPECT_EQ(CloseRequestCount(), Harness().Window().programCloses + (c.quit ? 1 : 0));
  EXPECT_EQ(WrittenFiles(before, ReadFolderState(m_Folder.path())).size(), static_cast<std::size_t>(c.writes));
  if (c.expect) (this->*c.expect)();

  // The game thread would stop now; frames that still come do no harm.
  const int stageFrame = stage ? stage->m_nStageFrame : 0;
  RemoveInputScript();
  Harness().Frames(60);
  if (c.quit) {
    EXPECT_EQ(Harness().Stage()->m_nStageFrame, stageFrame);
  }
  EXPECT_EQ(WrittenFiles(before, ReadFolderState(m_Folder.path())).size(), static_cast<std::size_t>(c.writes));
  EXPECT_TRUE(Harness().Boxes().Shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Closes, StageCloseTest,
    testing::Values(CloseCase{"DuringThePauseMenu", &StageClosesTest::PauseMenu, "1 close", 2, false, 0, nullptr},
                    CloseCase{"DuringAMessageWait", &StageClosesTest::MessageWait,
                              "1 V down\n3 V up\n30 close\n600 Z down\n602 Z up", 3, true, 0, nullptr},
                    CloseCase{"DuringTheRankingTable", &StageClosesTest::RankingResult,
                              "1 F3 down\n3 F3 up\n20 close\n600 Z down\n602 Z up", 3, true, 1,
                              &StageClosesTest::ExpectRankingSavedAndResultKept},
                    CloseCase{"OnTheStageListDecide", &StageClosesTest::StageListDecide, "1 Z down\n1 close\n3 Z up", 3,
                              false, 0, &StageClosesTest::ExpectTheStagePlays},
                    CloseCase{"AsTheStageSceneLoads", &StageClosesTest::StageSceneEnter, "1 close", 1, false, 0,
                              &StageClosesTest::ExpectTheStagePlays}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// Walks right, jumps twice, turns back and shoots.
constexpr const char* kPlayScript =
    "12 RIGHT down\n30 Z down\n44 Z up\n70 Z down\n74 Z up\n100 RIGHT up\n"
    "104 LEFT down\n110 X down\n114 X up\n140 LEFT up\n150 X down\n152 X up\n";

class ReplayClosesTest : public StageClosesTest {
 protected:
  void SaveReplay(const std::string& path) {
    RemoveInputScript();
    ASSERT_EQ(g_ReplayLog.SaveReplay(path.c_str(), g_LoadedStage, g_PlayStage, g_ReplaySaveData), 1);
  }
  // A new harness, as a new run of the player, playing the replay.
  void StartReplay(const std::string& path) {
    m_Harness.reset();
    m_Harness = std::make_unique<StageHarness>();
    ASSERT_TRUE(m_Harness->Started());
    ASSERT_TRUE(m_Harness->StartReplay(path));
    ASSERT_TRUE(m_Harness->RunUntilState(STAGE_PLAY, 400));
  }
  // Every frame of play that both have from stage frame `from` on is the
  // same; at least `least` of them.
  static void ExpectSameFrom(const std::map<int, std::string>& expected, const std::map<int, std::string>& played,
                             int from, int least) {
    int compared = 0;
    for (auto it = played.lower_bound(from); it != played.end(); ++it) {
      const auto match = expected.find(it->first);
      if (match == expected.end()) continue;
      ASSERT_EQ(it->second, match->second) << "stage frame " << it->first;
      ++compared;
    }
    EXPECT_GE(compared, least);
  }
};

TEST_F(ReplayClosesTest, AReplayRecordedAcrossThePauseMenuRetryPlaysThePlayAfterTheRetry) {
  const std::string path = "user_data\\rpl4\\free01_pause_retry.rpl4_566";
  g_SystemData.m_bRecordReplay = 1;
  PlayFreeStage();
  ASSERT_TRUE(Harness().SetInput("1 RIGHT down\n60 RIGHT up"));
  const std::map<int, std::string> before = Harness().PlayDigests(90);
  // The pause menu: down from resume to retry, decided.
  Harness().Press("SPACE");
  Harness().Frame();
  ASSERT_EQ(Stage().m_nState, STAGE_PAUSE);
  Harness().Press("DOWN");
  Harness().Frame();
  Harness().Press("Z");
  ASSERT_EQ(Stage().m_nState, STAGE_START);
  ASSERT_TRUE(Harness().RunUntilState(STAGE_PLAY, 400));
  ASSERT_TRUE(Harness().SetInput(kPlayScript));
  const std::map<int, std::string> recorded = Harness().PlayDigests(200);
  ASSERT_NE(recorded.begin()->second, recorded.rbegin()->second) << "the hero did not move";
  // The retry started the stage over: its frames count from the start again.
  EXPECT_LT(recorded.begin()->first, before.rbegin()->first);
  SaveReplay(path);

  StartReplay(path);
  ExpectSameFrom(recorded, Harness().PlayDigests(200), 0, 150);
  EXPECT_EQ(CloseRequestCount(), 0);
}

TEST_F(ReplayClosesTest, AMessageWaitInAReplayLeavesThePlayAfterItAsRecordedHoweverLongItLasts) {
  const std::string path = "user_data\\rpl4\\free01_message.rpl4_566";
  g_SystemData.m_bRecordReplay = 1;
  Save(MessageRoad(), demo::kFreeStageFile);
  PlayFreeStage();
  // The message at the tenth frame, answered at once, walking on after it.
  ASSERT_TRUE(Harness().SetInput("1 RIGHT down\n10 V down\n12 V up\n40 Z down\n42 Z up\n3000 close"));
  const std::map<int, std::string> recorded = Harness().PlayDigests(120);
  SaveReplay(path);
  const int waitFrame = recorded.begin()->first + 10;

  std::vector<std::uint32_t> waited;
  for (const int answer : {60, 300}) {
    SCOPED_TRACE(answer);
    StartReplay(path);
    const std::string script = std::to_string(answer) + " Z down\n" + std::to_string(answer + 2) + " Z up\n3000 close";
    ASSERT_TRUE(Harness().SetInput(script));
    const std::uint32_t start = platform::timeGetTime();
    // Fewer frames than recorded: the replay does not run out and start over.
    const std::map<int, std::string> played = Harness().PlayDigests(110);
    waited.push_back(platform::timeGetTime() - start);
    EXPECT_FALSE(Stage().m_bQuit);
    ExpectSameFrom(recorded, played, waitFrame + 1, 50);
  }
  // The second answer came about four seconds later than the first.
  EXPECT_GT(waited[1], waited[0] + 3000);
  EXPECT_EQ(CloseRequestCount(), 0);
}

}  // namespace
