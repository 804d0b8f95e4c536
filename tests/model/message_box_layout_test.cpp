// Placement of the message boxes that show the settings' texts.
#include <gtest/gtest.h>

#include "model/settings/message_box_layout.h"
#include "model/settings/system_data.h"

namespace {

class MessageBoxLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nDataVersion = DATA_VERSION;
    m_SavedTexts = g_SystemData.m_vTexts;
  }
  void TearDown() override { g_SystemData.m_vTexts = m_SavedTexts; }

 private:
  std::vector<std::string> m_SavedTexts;
};

TEST_F(MessageBoxLayoutTest, BoxesOfTheDefaultTexts) {
  struct cCase {
    int x, first, count, cursor;
    int left;
  };
  const cCase cases[] = {
      // Pause menu: "しゅうりょう" has 6 characters, 7 with the cursor.
      {320, 19, 3, 1, 320 - 56},
      {320, 19, 3, 0, 320 - 48},
      // World map stage prompt, centred on 304: 7 characters each.
      {304, 10, 2, 1, 304 - 64},
      // Auto-save warning alone, without a cursor: 23 characters.
      {320, 16, 1, 0, 320 - 184},
      // Continue menu: "マップへ戻る".
      {320, 22, 2, 1, 320 - 56},
      // No text: only the cursor column.
      {320, 19, 0, 1, 320 - 8},
  };
  for (const cCase& c : cases) {
    EXPECT_EQ(CenterMessageBoxX(c.x, c.first, c.count, c.cursor), c.left)
        << c.first << " x " << c.count << " cursor " << c.cursor;
  }
}

TEST_F(MessageBoxLayoutTest, EveryCharacterIsSixteenPixelsWhateverItsWidth) {
  struct cCase {
    const char* text;
    int chars;
  };
  const cCase cases[] = {
      {"abcdef", 6},
      {"ABC", 3},
      {"あいう", 3},        // double-byte: one character per pair
      {"aあbｶ", 4},         // mixed, with a half-width katakana byte
      {"two\nlines", 8},    // a line feed takes no room
      {"表示", 2},          // a trail byte of 0x5C is part of its character
      {"", 0},
  };
  for (const cCase& c : cases) {
    g_SystemData.m_vTexts[0] = c.text;
    EXPECT_EQ(MessageBoxChars(0, 1, 0), c.chars) << c.text;
    EXPECT_EQ(CenterMessageBoxX(320, 0, 1, 0), 320 - c.chars * 8) << c.text;
  }
}

}  // namespace
