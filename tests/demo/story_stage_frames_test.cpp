// The demo's story stage played from scripted input: its frames at a few
// points of the play match golden pictures at 32 bits and in the 8-bit
// palette mode (the status bar, an enemy's death display, a picture a flow
// shows, a message), and reading every frame back (dumping it to a file) changes
// nothing in the play.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/input_script.h"
#include "game/commands/command_workers.h"
#include "model/settings/system_data.h"
#include "platform/video/presenter.h"
#include "support/definition_builders.h"
#include "support/golden_image.h"
#include "support/graphics_device.h"
#include "support/stage_harness.h"
#include "support/temp_folder.h"
#include "tools/make-demo/demo_data.h"
#include "tools/make-demo/demo_images.h"
#include "tools/make-demo/demo_stage_names.h"

namespace {

// Walks right shooting, jumps, walks on.
constexpr const char* kStoryScript =
    "1 RIGHT down\n20 X down\n22 X up\n40 X down\n42 X up\n60 Z down\n75 Z up\n80 X down\n82 X up\n"
    "100 X down\n102 X up\n130 X down\n132 X up\n160 X down\n162 X up\n";

// The play frames at which the goldens are taken besides the frame a few
// frames into the first enemy's death display; the sign picture is shown
// in front from kPictureFrame on and a message from kMessageFrame.
constexpr int kShotFrames[] = {1, 120, 180};
constexpr int kPictureFrame = 150;
constexpr int kMessageFrame = 160;

void ShowSignPicture(cActor& hero) {
  CommandBuilder picture(CMD_SHOW_PICTURE);
  picture.Param(0, 1).Param(1, 0).Param(5, -120).Param(6, 1).Param(7, 100).Param(8, 1);
  ExecShowPicture(&hero, picture);
}

void ShowMessage(cActor& hero) {
  CommandBuilder message(CMD_MESSAGE);
  message.Text("Go right!").Param(1, 0);
  ExecMessage(&hero, message, 0);
}
constexpr int kIntoTheDeath = 4;

bool AnEnemyIsDying(const cStageScene& stage) {
  return std::any_of(stage.m_CharacterList.begin(), stage.m_CharacterList.end(),
                     [](const cCharacter& chara) { return chara.m_bDying != 0; });
}

class StoryStageFrames : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(demo::WriteDemoImages(m_Folder.path(), error) && demo::WriteDemoData(m_Folder.path(), error)) << error;
  }
  void TearDown() override {
    RemoveInputScript();
    m_Harness.reset();
  }
  // The story stage started in the mode and played to its first play frame.
  void Start(const GraphicsMode& mode) {
    m_Harness.reset();
    m_Harness = std::make_unique<StageHarness>(mode);
    ASSERT_TRUE(m_Harness->Started()) << m_Harness->Error();
    g_SystemData.m_bRecordReplay = 0;  // the seed stays: every run draws the same numbers
    ASSERT_TRUE(m_Harness->StartStageFile(demo::kStoryStageFile));
    ASSERT_TRUE(m_Harness->RunUntilState(STAGE_PLAY, 400));
    ASSERT_TRUE(m_Harness->SetInput(kStoryScript));
  }
  // Plays frames up to play frame `last`, calling `each` after every one
  // with its play-frame number.
  template <class Each>
  void PlayTo(int last, Each each) {
    for (int frame = 1; frame <= last; ++frame) {
      m_Harness->Frame();
      each(frame);
    }
  }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  std::unique_ptr<StageHarness> m_Harness;
};

TEST_F(StoryStageFrames, FramesOfAScriptedPlayMatchTheirGoldens) {
  for (const GraphicsMode& mode : {kGraphicsModes[3], kGraphicsModes[0]}) {
    SCOPED_TRACE(mode.name);
    Start(mode);
    const std::string name = std::string("scenes/story_stage_") + mode.name + "_";
    int dyingSince = 0;
    PlayTo(kShotFrames[std::size(kShotFrames) - 1], [&](int frame) {
      if (frame == kPictureFrame) ShowSignPicture(*m_Harness->Stage()->m_pHero);
      if (frame == kMessageFrame) ShowMessage(*m_Harness->Stage()->m_pHero);
      if (!dyingSince && AnEnemyIsDying(*m_Harness->Stage())) dyingSince = frame;
      if (dyingSince && frame == dyingSince + kIntoTheDeath) {
        EXPECT_TRUE(MatchesGolden(BackBufferPicture(640, 480), name + "enemy_dying"));
      }
      if (std::find(std::begin(kShotFrames), std::end(kShotFrames), frame) != std::end(kShotFrames)) {
        EXPECT_TRUE(MatchesGolden(BackBufferPicture(640, 480), name + std::to_string(frame)));
      }
    });
    EXPECT_GT(dyingSince, 0) << "no enemy died";
    EXPECT_EQ(m_Harness->Stage()->m_PictureList.size(), 1u);
    EXPECT_EQ(g_vecPictureSD.size(), 1u);
  }
}

// The same play with every frame written to a file gives the same state on
// every frame.
TEST_F(StoryStageFrames, DumpingEveryFrameChangesNothingInThePlay) {
  constexpr int kFrames = 200;
  Start(kGraphicsModes[3]);
  std::vector<std::string> headless;
  PlayTo(kFrames, [&](int) { headless.push_back(m_Harness->Digest()); });
  ASSERT_NE(headless.front(), headless.back());  // the play moved on

  Start(kGraphicsModes[3]);
  const std::string dump = (std::filesystem::path(m_Folder.path()) / "frame.png").string();
  std::vector<std::string> dumped;
  PlayTo(kFrames, [&](int) {
    EXPECT_TRUE(platform::DumpLatestFrame(dump));
    dumped.push_back(m_Harness->Digest());
  });
  ASSERT_EQ(dumped.size(), headless.size());
  for (std::size_t i = 0; i < dumped.size(); ++i) ASSERT_EQ(dumped[i], headless[i]) << "play frame " << i + 1;
  EXPECT_TRUE(std::filesystem::file_size(dump) > 0);
}

}  // namespace
