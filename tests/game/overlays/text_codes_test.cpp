#include "game/overlays/text_codes.h"

#include <gtest/gtest.h>

#include <string>

#include "base/close_request.h"
#include "model/user/save_data.h"
#include "support/test_stage.h"

namespace {

// A running stage and common variables with known values; the progress is
// put back afterwards.
class TextCodesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_SaveData.m_vVariables.assign(COMMON_VARIABLE_COUNT, 0);
    g_SaveData.m_vVariables[3] = 42;
    g_SaveData.m_vVariables[4] = -7;
    g_SaveData.m_vVariables[12] = 1234;
    stage.m_vStageVar[5] = 99;
    ResetCloseRequests();
  }
  void TearDown() override { g_SaveData = saved; }

  static std::string Expand(std::string text) {
    ExpandTextCodes(text);
    return text;
  }

  cSaveData saved = g_SaveData;
  TestStage stage;
};

TEST_F(TextCodesTest, CodesBecomeTheVariablesValues) {
  struct Case {
    const char* text;
    const char* expected;
  };
  for (const Case& c : {
           Case{"#3C.", "42"},
           Case{"#C3.", "42"},
           Case{"#c3", "42"},  // cut off by the end of the text
           Case{"#3C_5.", "   42"},
           Case{"#3C_5Z.", "00042"},
           Case{"#3C_P.", "+42"},
           Case{"#3C_p5.", "+   42"},
           Case{"#4C_3.", "-  7"},
           Case{"#4C_3Z.", "-007"},
           Case{"#4C_P.", "-7"},
           Case{"#12C_3Z.", "1234"},  // the width is a minimum
           Case{"#3C_59.", "       42"},  // the last width digit counts
           Case{"#5S.", "99"},
           Case{"#5s3c.", "0"},  // number 53, and both letters name the common variable
           Case{"HP #3C/#12C!", "HP 42/1234!"},
           Case{"#3C.#3C.", "4242"},
           Case{"#3C_X", "42X"},  // an option letter it does not know ends the code
       }) {
    EXPECT_EQ(Expand(c.text), c.expected) << c.text;
  }
}

TEST_F(TextCodesTest, CodesWithoutAVariableStay) {
  for (const char* text : {"#0C.", "#300C.", "#3.", "#C.", "#", "a # b", "#99999999999999999999C."}) {
    EXPECT_EQ(Expand(text), text);
  }
  EXPECT_EQ(CloseRequestCount(), 0);
}

TEST_F(TextCodesTest, DoubleByteCharactersNeverStartOrEndInACode) {
  // 0x81 0x94 is a full-width sharp sign: its trail byte is not "#".
  const std::string wide = "\x81\x94" "3C.";
  EXPECT_EQ(Expand(wide), wide);
  // A double-byte character ends a code and stays.
  EXPECT_EQ(Expand("#3C\x82\xa0"), "42\x82\xa0");
}

TEST_F(TextCodesTest, AStageVariableBeyondTheStagesVariablesReportsAndUsesVariableZero) {
  stage.m_vStageVar.assign(10, 0);
  stage.m_vStageVar[0] = 8;
  EXPECT_EQ(Expand("#200S."), "8");
  EXPECT_EQ(CloseRequestCount(), 1);
}

}  // namespace
