// The path table and the data-folder check.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <sys/stat.h>

#include "model/settings/paths.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "support/scoped_message_boxes.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

TEST(PathTableTest, DatabaseFilesHaveTheirDefaultCopyNextInTheTable) {
  for (int path = PATH_DB_ANIME_SET; path <= PATH_DB_BGM; path += 2) {
    const std::string_view data = g_astrFilePath[path];
    const std::string_view copy = g_astrFilePath[path + 1];
    ASSERT_TRUE(data.starts_with("data\\database\\")) << data;
    EXPECT_EQ(std::string("default\\") + std::string(data.substr(5)), copy);
  }
}

TEST(PathTableTest, RankingFoldersFollowThePlayModes) {
  const char* const expected[] = {"user_data\\story\\", "user_data\\challenge\\", "user_data\\free\\"};
  for (int mode = 0; mode < 3; ++mode) EXPECT_STREQ(g_astrFilePath[PATH_STORY_DIR + mode], expected[mode]);
  EXPECT_STREQ(g_astrFilePath[PATH_BOOT], "user_data\\Boot.dat");
  EXPECT_STREQ(g_astrFileExt[EXT_STG4], "stg4");
}

TEST(PathTableTest, ProjectFoldersAreCreatedParentsFirst) {
  TempFolder folder;
  ScopedCurrentFolder current(folder.path());
  CreateProjectFolders();
  int count = 0;
  for (const char* const* name = g_aszProjectFolders; *name != nullptr; ++name, ++count) {
    EXPECT_TRUE(fs::is_directory(platform::MapPath(*name))) << *name;
  }
  EXPECT_EQ(count, PROJECT_FOLDER_COUNT);
  CreateProjectFolders();  // existing folders are passed over
}

class DataFolderTest : public ::testing::Test {
 protected:
  void MakeDefaultFolder() {
    fs::create_directories(m_Folder / "default" / "database");
    WriteTextFile(m_Folder / "default" / "System.dat", "system");
    WriteTextFile(m_Folder / "default" / "database" / "Anime.dat", "anime");
  }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  ScopedMessageBoxes m_Boxes;
};

TEST_F(DataFolderTest, PresentDataFolderIsUsedWithoutAsking) {
  fs::create_directory(m_Folder / "data");
  EXPECT_EQ(CheckDataFolder(), 1);
  EXPECT_TRUE(m_Boxes.Shown().empty());
}

TEST_F(DataFolderTest, WithoutDefaultFolderNothingIsAsked) {
  EXPECT_EQ(CheckDataFolder(), 0);
  EXPECT_TRUE(m_Boxes.Shown().empty());
}

TEST_F(DataFolderTest, AnsweringNoCreatesNothing) {
  MakeDefaultFolder();
  m_Boxes.QueueAnswer(platform::IDNO);
  EXPECT_EQ(CheckDataFolder(), 0);
  ASSERT_EQ(m_Boxes.Shown().size(), 1u);
  EXPECT_EQ(m_Boxes.Shown()[0].caption, "デフォルトデータ作成の確認");
  EXPECT_EQ(m_Boxes.Shown()[0].text, "データが存在しません！デフォルトデータを作成しますか？\n");
  EXPECT_EQ(m_Boxes.Shown()[0].type & platform::MB_TYPEMASK, platform::MB_YESNO);
  EXPECT_FALSE(fs::exists(m_Folder / "data"));
}

TEST_F(DataFolderTest, AnsweringYesCopiesTheDefaultFolder) {
  MakeDefaultFolder();
  m_Boxes.QueueAnswer(platform::IDYES);
  EXPECT_EQ(CheckDataFolder(), 1);
  EXPECT_EQ(ReadTextFile(m_Folder / "data" / "System.dat"), "system");
  EXPECT_EQ(ReadTextFile(m_Folder / "data" / "database" / "Anime.dat"), "anime");
  EXPECT_EQ(ReadTextFile(m_Folder / "default" / "System.dat"), "system");
}

TEST_F(DataFolderTest, ADefaultFolderThatIsALinkIsCopiedNotLinked) {
  fs::create_directories(m_Folder / "shipped" / "database");
  WriteTextFile(m_Folder / "shipped" / "System.dat", "system");
  fs::create_directory_symlink("shipped", m_Folder / "default");
  m_Boxes.QueueAnswer(platform::IDYES);
  EXPECT_EQ(CheckDataFolder(), 1);
  EXPECT_FALSE(fs::is_symlink(m_Folder / "data"));
  EXPECT_EQ(ReadTextFile(m_Folder / "data" / "System.dat"), "system");
  // Writing the project's data leaves the shipped copy alone.
  WriteTextFile(m_Folder / "data" / "System.dat", "edited");
  EXPECT_EQ(ReadTextFile(m_Folder / "shipped" / "System.dat"), "system");
}

TEST_F(DataFolderTest, AFailedCopyLeavesNoPartialDataFolder) {
  MakeDefaultFolder();
  // A pipe cannot be copied: the copy fails part-way.
  ASSERT_EQ(::mkfifo((m_Folder / "default" / "database" / "pipe").c_str(), 0600), 0);
  m_Boxes.QueueAnswer(platform::IDYES);
  EXPECT_EQ(CheckDataFolder(), 0);
  EXPECT_FALSE(fs::exists(m_Folder / "data"));
  EXPECT_EQ(ReadTextFile(m_Folder / "default" / "database" / "Anime.dat"), "anime");
}

TEST_F(DataFolderTest, AFileNamedDataIsNeverRemoved) {
  MakeDefaultFolder();
  WriteTextFile(m_Folder / "data", "not a folder");
  m_Boxes.QueueAnswer(platform::IDYES);
  EXPECT_EQ(CheckDataFolder(), 0);
  EXPECT_EQ(ReadTextFile(m_Folder / "data"), "not a folder");
}

}  // namespace
