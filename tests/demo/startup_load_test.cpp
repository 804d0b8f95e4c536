// The demo project as the player meets it: generated into a temporary
// folder, then read with the start-up loads in their order; every file
// loads, saving what was loaded gives its bytes back, the stages are found
// by the names the player builds and can be played, and make-demo writes
// the same bytes on every run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "base/format.h"
#include "game/data/project_data.h"
#include "model/database/database.h"
#include "model/database/database_file.h"
#include "model/definitions/definition_context.h"
#include "model/definitions/item_command.h"
#include "model/settings/paths.h"
#include "model/settings/system_data.h"
#include "model/stage/common_palette.h"
#include "model/stage/stage.h"
#include "model/stage/stage_loader.h"
#include "model/stage/world_map.h"
#include "platform/files.h"
#include "support/scoped_message_boxes.h"
#include "support/temp_folder.h"
#include "tools/make-demo/demo_data.h"
#include "tools/make-demo/demo_flows.h"
#include "tools/make-demo/demo_images.h"
#include "tools/make-demo/demo_stage_names.h"
#include "tools/make-demo/demo_stages.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FileBytes(const char* windowsPath) {
  Bytes bytes;
  EXPECT_TRUE(platform::ReadProgramFile(windowsPath, bytes)) << windowsPath;
  return bytes;
}

// Every file below root by its relative path.
std::map<std::string, Bytes> FilesBelow(const fs::path& root) {
  std::map<std::string, Bytes> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    Bytes bytes;
    EXPECT_TRUE(platform::ReadWholeFile(entry.path(), bytes));
    files[fs::relative(entry.path(), root).generic_string()] = std::move(bytes);
  }
  return files;
}

// The demo, generated once for the whole program.
class GeneratedDemo {
 public:
  GeneratedDemo() {
    m_bWritten = demo::WriteDemoImages(m_Folder.path(), m_strError) && demo::WriteDemoData(m_Folder.path(), m_strError);
  }
  const fs::path& path() const { return m_Folder.path(); }
  bool written() const { return m_bWritten; }
  const std::string& error() const { return m_strError; }

 private:
  TempFolder m_Folder;
  std::string m_strError;
  bool m_bWritten = false;
};

const GeneratedDemo& Demo() {
  static const GeneratedDemo demo;
  return demo;
}

class DemoProjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Demo().written()) << Demo().error();
    m_Folder.emplace(Demo().path());
    std::string error;
    ASSERT_TRUE(LoadProjectData(error)) << error;
  }

  // The stage file as the loader found it, or "" when it did not load.
  static std::string LoadStage(const std::string& name, int bFindNewest) {
    return LoadStageFile(name.c_str(), bFindNewest, &g_PlayStage) != 0 ? g_LoadedStage.m_strPath : std::string();
  }

  std::optional<ScopedCurrentFolder> m_Folder;
};

TEST_F(DemoProjectTest, EveryFileLoadedAtStartUpSavesBackToItsBytes) {
  struct Case {
    int path;
    std::function<Bytes()> save;
  };
  const Case cases[] = {
      {PATH_SYSTEM, [] { return g_SystemData.SaveBytes(); }},
      {PATH_WORLD_MAP, [] { return g_WorldMap.SaveBytes(); }},
      {PATH_COMMON_PALETTE, [] { return g_CommonPalette.SaveBytes(); }},
      {PATH_DB_ANIME_SET, [] { return SaveDatabaseBytes(g_Database.m_vAnimeSet); }},
      {PATH_DB_ANIME, [] { return SaveDatabaseBytes(g_Database.m_vAnime); }},
      {PATH_DB_BMP_CHARA_EXC, [] { return SaveDatabaseBytes(g_Database.m_vBmpCharaExc); }},
      {PATH_DB_SWORD_TYPE, [] { return SaveDatabaseBytes(g_Database.m_vSwordType); }},
      {PATH_DB_EFFECT, [] { return SaveDatabaseBytes(g_Database.m_vEffect); }},
      {PATH_DB_CHARA_EFFECT, [] { return SaveDatabaseBytes(g_Database.m_vCharaEffect); }},
      {PATH_DB_SCR_EFFECT, [] { return SaveDatabaseBytes(g_Database.m_vScrEffect); }},
      {PATH_DB_PICTURE, [] { return SaveDatabaseBytes(g_Database.m_vPicture); }},
      {PATH_DB_SOUND, [] { return SaveDatabaseBytes(g_Database.m_vSound); }},
      {PATH_DB_BGM, [] { return SaveDatabaseBytes(g_Database.m_vBgm); }},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.save(), FileBytes(g_astrFilePath[c.path])) << g_astrFilePath[c.path];
  }
  for (const demo::DemoStageFile& file : demo::DemoStageFiles()) {
    ASSERT_EQ(LoadStage(file.path, 0), file.path);
    EXPECT_EQ(g_LoadedStage.SaveBytes(), FileBytes(file.path)) << file.path;
  }
}

TEST_F(DemoProjectTest, StagesAreFoundByTheNamesThePlayerBuilds) {
  // The stage select: challenge stage n, then the follow-on part of its series.
  ASSERT_EQ(g_SystemData.m_nChallengeStages, demo::kChallengeStageCount);
  std::string name;
  FormatString(name, "%s%02d-1.%s", g_astrFilePath[PATH_CHALLENGE_STAGE_PREFIX], 1, g_astrFileExt[EXT_STG4]);
  EXPECT_EQ(LoadStage(name, 1), demo::kChallengeStageFile);
  FormatString(name, "%s%02d-%d.%s", g_astrFilePath[PATH_CHALLENGE_STAGE_PREFIX], 1, 2, g_astrFileExt[EXT_STG4]);
  EXPECT_EQ(LoadStage(name, 1), demo::kChallengePart2File);

  // The world map: every stage entry's file, the story stage first.
  std::vector<std::string> entered;
  for (const cEdMapPoint& point : g_WorldMap.m_vPoints) {
    for (const cEdMapEvent& event : point.m_vEvents) {
      if (event.m_nKind == cEdMapEvent::KIND_STAGE) entered.push_back(LoadStage(event.m_strStageFile, 1));
    }
  }
  EXPECT_EQ(entered, (std::vector<std::string>{demo::kStoryStageFile, demo::kFreeStageFile}));
  // The road reaches both points from the start.
  for (const cEdMapPoint& point : g_WorldMap.m_vPoints) {
    EXPECT_EQ(point.m_nY, g_WorldMap.m_nStartY);
    for (int x = std::min(point.m_nX, g_WorldMap.m_nStartX); x <= std::max(point.m_nX, g_WorldMap.m_nStartX); ++x) {
      EXPECT_FALSE(g_WorldMap.ChipAt(x, point.m_nY)->m_bBlocked) << "cell " << x;
    }
  }
}

TEST_F(DemoProjectTest, SystemIniGivesTheSettingsKeysAndEndsWithExit) {
  std::string expected;
  for (const cEdIniKey& key : g_SystemData.m_vIniKeys) {
    expected += key.m_strKey + "=" + (key.m_nKind == 1 ? key.m_strValue : std::to_string(key.m_nValue)) + "\n";
  }
  EXPECT_EQ(ReadTextFile(Demo().path() / "System.ini"), expected + "Exit\n");
  EXPECT_LT(g_SystemData.m_vIniKeys.at(0).m_nValue, 2) << "the launcher would be shown";
}

TEST_F(DemoProjectTest, DefinitionsAreCheckedAgainstTheLoadedProject) {
  const cDefinitionContext& context = DefinitionContext();
  EXPECT_EQ(context.DatabaseListSize(eDatabaseList::CharaImage), g_Database.m_vBmpCharaExc.size());
  EXPECT_EQ(context.PaletteListSize(ePaletteSource::Common, ePaletteList::Chara), g_CommonPalette.m_vCharas.size());
  ASSERT_EQ(LoadStage(demo::kFreeStageFile, 0), demo::kFreeStageFile);
  EXPECT_EQ(context.PaletteListSize(ePaletteSource::Stage, ePaletteList::Item), g_LoadedStage.m_vPaletteItems.size());
  // A sword lasts as long as its sword type's frames, one tenth each.
  for (const cEdFlow& flow : g_CommonPalette.m_vCharas.at(demo::CHARA_HERO).m_vFlow) {
    for (const cEdCommand& command : flow.m_vCommand) {
      if (command.m_nKind == CMD_SWORD) {
        EXPECT_EQ(command.m_nTime, demo::kSwordFrameCount);
      }
    }
  }
}

// What a stage needs to be played: a hero steered by the keys, enemies that
// move, a deadly cell, floor under the hero and a goal that clears it.
TEST_F(DemoProjectTest, EveryStageCanBePlayed) {
  const auto hasCommand = [](const cEdChara& chara, auto test) {
    return std::any_of(chara.m_vFlow.begin(), chara.m_vFlow.end(), [&](const cEdFlow& flow) {
      return std::any_of(flow.m_vCommand.begin(), flow.m_vCommand.end(),
                         [&](const cEdCommand& command) { return test(flow, command); });
    });
  };
  const auto pressed = [](const cEdFlow& flow, int key) {
    return !flow.m_vKeyCondition.empty() && flow.m_vKeyCondition.back().m_vKeyState.at(key) == KEY_PRESSED;
  };
  for (const demo::DemoStageFile& file : demo::DemoStageFiles()) {
    SCOPED_TRACE(file.path);
    ASSERT_EQ(LoadStage(file.path, 0), file.path);
    const cEdStage& stage = g_LoadedStage;
    const cEdChara& hero = stage.m_vPlacedCharas.at(static_cast<std::size_t>(stage.FindHero()));
    const auto heroDoes = [&](int key, int kind) {
      return hasCommand(hero, [&](const cEdFlow& flow, const cEdCommand& c) { return pressed(flow, key) && c.m_nKind == kind; });
    };
    EXPECT_TRUE(heroDoes(demo::KEY_LEFT, CMD_MOVE_STRAIGHT));
    EXPECT_TRUE(heroDoes(demo::KEY_RIGHT, CMD_MOVE_STRAIGHT));
    EXPECT_TRUE(heroDoes(demo::KEY_BUTTON1, CMD_JUMP));
    EXPECT_TRUE(heroDoes(demo::KEY_BUTTON2, CMD_SHOT));
    EXPECT_TRUE(heroDoes(demo::KEY_BUTTON3, CMD_SWORD));

    const auto solidAt = [&](int x, int y) {
      return std::any_of(stage.m_vPlacedBlocks.begin(), stage.m_vPlacedBlocks.end(), [&](const cEdBlock& block) {
        return block.m_nCellX == x && block.m_nCellY == y && block.m_nGraphicNo != 0 && block.m_nCollision == 1;
      });
    };
    EXPECT_TRUE(solidAt(hero.m_nCellX, hero.m_nCellY + 1));
    EXPECT_TRUE(std::any_of(stage.m_vPlacedBlocks.begin(), stage.m_vPlacedBlocks.end(),
                            [](const cEdBlock& block) { return block.m_nCollision == 2; }));

    int movingEnemies = 0;
    for (const cEdChara& chara : stage.m_vPlacedCharas) {
      movingEnemies += chara.m_nControl != 0 && chara.m_nTeam != hero.m_nTeam &&
                       hasCommand(chara, [](const cEdFlow&, const cEdCommand& c) {
                         return c.m_nKind >= CMD_MOVE_STRAIGHT && c.m_nKind <= CMD_MOVE_AVOID_OFFSCREEN && c.m_pMove;
                       });
    }
    EXPECT_GE(movingEnemies, 2);

    const auto clears = [](const cEdItem& item) {
      return item.m_nGraphicNo != 0 && item.m_nPickup != PICKUP_NEVER &&
             std::any_of(item.m_vCommand.begin(), item.m_vCommand.end(), [](const cEdCommand& c) {
               return c.m_nSet == COMMAND_SET_ITEM && c.m_nKind == ICMD_STAGE_CLEAR;
             });
    };
    EXPECT_EQ(std::count_if(stage.m_vPlacedItems.begin(), stage.m_vPlacedItems.end(), clears), 1);
  }
}

TEST_F(DemoProjectTest, OnlyTheLastPartOfTheChallengeEndsItsSeries) {
  // The stage clear's first parameter: 0 goes on to the next part, 2 ends.
  const auto goalClear = [&](const char* file) {
    EXPECT_EQ(LoadStage(file, 0), file);
    for (const cEdItem& item : g_LoadedStage.m_vPlacedItems) {
      for (const cEdCommand& command : item.m_vCommand) {
        if (command.m_nKind == ICMD_STAGE_CLEAR) return command.m_vParam.at(0);
      }
    }
    return -1;
  };
  EXPECT_EQ(goalClear(demo::kChallengeStageFile), 0);
  EXPECT_EQ(goalClear(demo::kChallengePart2File), 2);
}

// A copy of the demo for a test that changes it.
class DemoCopy {
 public:
  DemoCopy() { fs::copy(Demo().path(), m_Folder.path(), fs::copy_options::recursive); }
  const fs::path& path() const { return m_Folder.path(); }

 private:
  TempFolder m_Folder;
};

TEST(DemoStartUpFailures, AMissingFileStopsTheLoadWithItsMessage) {
  ASSERT_TRUE(Demo().written()) << Demo().error();
  struct Case {
    std::vector<const char*> removed;
    std::string message;
  };
  const Case cases[] = {
      {{"data"}, "「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性があります。"},
      {{"data\\database\\Sound.dat"}, "データベースの読み込みに失敗…"},
      {{"data\\System.dat"}, "data\\System.dat の読み込みに失敗…"},
      {{"data\\WorldMap.dat"}, "data\\WorldMap.dat のロードに失敗！"},
      {{"data\\CommonPalette.cplt4"}, "data\\CommonPalette.cplt4 のロードに失敗！"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    DemoCopy copy;
    ScopedCurrentFolder folder(copy.path());
    for (const char* removed : c.removed) fs::remove_all(platform::MapPath(removed));
    ScopedMessageBoxes boxes;
    std::string error;
    EXPECT_FALSE(LoadProjectData(error));
    EXPECT_EQ(error, c.message);
    const auto shown = boxes.Shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().text, c.message);
  }
}

TEST(DemoStartUpFailures, AMissingDataFolderIsMadeFromTheDefaultFolder) {
  ASSERT_TRUE(Demo().written()) << Demo().error();
  DemoCopy copy;
  ScopedCurrentFolder folder(copy.path());
  fs::rename(copy.path() / "data", copy.path() / "default");
  ScopedMessageBoxes boxes;
  boxes.QueueAnswer(platform::IDYES);
  std::string error;
  EXPECT_TRUE(LoadProjectData(error)) << error;
  EXPECT_EQ(FilesBelow(copy.path() / "data"), FilesBelow(copy.path() / "default"));
}

#ifdef MAKE_DEMO_PROGRAM
// Runs make-demo with its output in files; the exit status.
int RunMakeDemo(const fs::path& target, const fs::path& output) {
  const std::string command = std::string("'") + MAKE_DEMO_PROGRAM + "' '" + target.string() + "' > '" +
                              (output / "out.txt").string() + "' 2> '" + (output / "err.txt").string() + "'";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(MakeDemo, WritesTheSameBytesOnEveryRun) {
  TempFolder first, second, output;
  ASSERT_EQ(RunMakeDemo(first.path(), output.path()), 0) << ReadTextFile(output / "err.txt");
  ASSERT_EQ(RunMakeDemo(second.path(), output.path()), 0) << ReadTextFile(output / "err.txt");
  const auto files = FilesBelow(first.path());
  EXPECT_EQ(files, FilesBelow(second.path()));
  // The same as the generator's functions write, and every file listed.
  EXPECT_EQ(files, FilesBelow(Demo().path()));
  const std::string listed = ReadTextFile(output / "out.txt");
  for (const auto& [name, bytes] : files) EXPECT_NE(listed.find(name + "\n"), std::string::npos) << name;
}

TEST(MakeDemo, NamesWhatItCannotWriteAndFails) {
  TempFolder folder, output;
  const fs::path blocked = folder / "file";
  WriteTextFile(blocked, "not a folder");
  EXPECT_EQ(RunMakeDemo(blocked, output.path()), 1);
  EXPECT_NE(ReadTextFile(output / "err.txt").find(blocked.string()), std::string::npos)
      << ReadTextFile(output / "err.txt");
}
#endif

}  // namespace
