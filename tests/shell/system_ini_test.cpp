#include "shell/system_ini.h"

#include <gtest/gtest.h>

#include <string>

#include "model/settings/system_data.h"
#include "support/scoped_message_boxes.h"
#include "support/temp_folder.h"

namespace {

// The fields a case expects; the defaults of a new project unless changed.
struct Ini {
  int direct3D = 2, windowMode = 0, bpp = 0, vSync = 2, showFps = 1;
  std::string freeStage;
};

struct IniCase {
  const char* name;
  std::string file;
  int read;
  Ini expected;
};

Ini With(void (*change)(Ini&)) {
  Ini ini;
  change(ini);
  return ini;
}

const std::string kLongPath = "data\\stg4\\" + std::string(249, 'a');  // 259 characters

const IniCase kCases[] = {
    {"AllKeys", "Direct3D=1\nWindowMode=1\nBpp=16\nVSync=0\nShowFps=2\nFreeStage=a.stg4_001\nExit\n", 1,
     {1, 1, 16, 0, 2, "a.stg4_001"}},
    {"CommentAfterSlashIsIgnored", "Bpp=16 /colour depth\nExit\n", 1, With([](Ini& i) { i.bpp = 16; })},
    {"CommentHoldingEqualsIsReadAsAKey", "Bpp=16/WindowMode=1\nExit\n", 1,
     With([](Ini& i) { i.bpp = 16; i.windowMode = 1; })},
    {"BlanksAroundTheKey", "  WindowMode \t=1\nExit\n", 1, With([](Ini& i) { i.windowMode = 1; })},
    {"BlanksInsideTheKey", "Window Mode=1\nShow\tFps=0\nExit\n", 1,
     With([](Ini& i) { i.windowMode = 1; i.showFps = 0; })},
    {"LowerCaseKeyIsIgnored", "bpp=16\nExit\n", 1, Ini{}},
    {"UnknownKeysAndLinesWithoutEqualsArePassedOver", "Colour=3\njust text\n\nBpp=8\nExit\n", 1,
     With([](Ini& i) { i.bpp = 8; })},
    {"NoExitRejectsTheWholeFile", "ShowFps=0\n", 0, With([](Ini& i) { i.showFps = 0; })},
    {"EmptyFileIsNotRead", "", 0, Ini{}},
    {"ZeroByteEndsTheFile", std::string("Bpp=32\n\0Bpp=8\n", 14), 1, With([](Ini& i) { i.bpp = 32; })},
    {"ExitOnTheLastLineWithoutLineBreak", "Bpp=8\nExit", 1, With([](Ini& i) { i.bpp = 8; })},
    {"LinesAfterExitAreNotRead", "Exit\nBpp=8\n", 1, Ini{}},
    {"CrLfLines", "Bpp=16\r\nFreeStage=data\\stg4\\x.stg4_001\r\nExit\r\n", 1,
     With([](Ini& i) { i.bpp = 16; i.freeStage = "data\\stg4\\x.stg4_001"; })},
    {"NotANumberGivesZero", "Direct3D=yes\nVSync=-\nExit\n", 1,
     With([](Ini& i) { i.direct3D = 0; i.vSync = 0; })},
    {"LeadingDigitsAndSignAreRead", "Bpp=16bit\nVSync=+1\nShowFps=-2\nExit\n", 1,
     With([](Ini& i) { i.bpp = 16; i.vSync = 1; i.showFps = -2; })},
    {"OutOfRangeNumbersAreClamped", "Bpp=99999999999999999999\nVSync=-99999999999\nExit\n", 1,
     With([](Ini& i) { i.bpp = 2147483647; i.vSync = -2147483647 - 1; })},
    {"FreeStageOfOneCharacterIsIgnored", "FreeStage=a\nExit\n", 1, Ini{}},
    {"FreeStageOf259CharactersIsTaken", "FreeStage=" + kLongPath + "\nExit\n", 1,
     With([](Ini& i) { i.freeStage = kLongPath; })},
    {"FreeStageOf260CharactersIsIgnored", "FreeStage=" + kLongPath + "b\nExit\n", 1, Ini{}},
    {"LongFreeStageBeyondTheBufferIsIgnored", "FreeStage=" + std::string(5000, 'x') + "\nBpp=8\nExit\n", 1,
     With([](Ini& i) { i.bpp = 8; })},
    {"LongKeyIsIgnored", std::string(5000, 'K') + "=1\nBpp=8\nExit\n", 1, With([](Ini& i) { i.bpp = 8; })},
    {"FreeStageIsCutAtASpace", "FreeStage=my stage.stg4_001\nExit\n", 1,
     With([](Ini& i) { i.freeStage = "my"; })},
    {"LastValueWins", "Bpp=8\nBpp=32\nExit\n", 1, With([](Ini& i) { i.bpp = 32; })},
};

class ReadSystemIniTest : public testing::TestWithParam<IniCase> {
 protected:
  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  cSystemData m_Settings;
};

TEST_P(ReadSystemIniTest, ReadsTheFieldsTheFileSets) {
  const IniCase& c = GetParam();
  WriteTextFile(m_Folder / "System.ini", c.file);
  SYSTEMINIDATA ini;
  SetSystemIniDefaults(ini, m_Settings.m_vIniKeys);
  EXPECT_EQ(ReadSystemIni("System.ini", ini, m_Settings.m_vIniKeys), c.read);
  EXPECT_EQ(ini.nDirect3D, c.expected.direct3D);
  EXPECT_EQ(ini.nWindowMode, c.expected.windowMode);
  EXPECT_EQ(ini.nBpp, c.expected.bpp);
  EXPECT_EQ(ini.nVSync, c.expected.vSync);
  EXPECT_EQ(ini.nShowFps, c.expected.showFps);
  EXPECT_EQ(std::string(ini.szFreeStage), c.expected.freeStage);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadSystemIniTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<IniCase>& info) { return info.param.name; });

class LoadSystemIniTest : public testing::Test {
 protected:
  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  ScopedMessageBoxes m_Boxes;
  cSystemData m_Settings;
};

TEST_F(LoadSystemIniTest, AFileThatIsNotReadIsReportedAndEveryDefaultKept) {
  m_Settings.m_vIniKeys[4].m_nValue = 2;  // a project whose default differs
  m_Settings.m_vIniKeys[5].m_strValue = "data\\stg4\\start.stg4_001";
  for (const char* file : {static_cast<const char*>(nullptr), "ShowFps=0\nBpp=8\n"}) {
    SCOPED_TRACE(file ? file : "missing");
    if (file) WriteTextFile(m_Folder / "System.ini", file);
    m_Boxes.Clear();
    SYSTEMINIDATA ini;
    LoadSystemIni(ini, m_Settings.m_vIniKeys);
    EXPECT_EQ(ini.nShowFps, 2);
    EXPECT_EQ(ini.nBpp, 0);
    EXPECT_STREQ(ini.szFreeStage, "data\\stg4\\start.stg4_001");
    ASSERT_EQ(m_Boxes.Shown().size(), 1u);
    EXPECT_EQ(m_Boxes.Shown()[0].text, "System.ini の読み込みに失敗しました！");
  }
}

TEST_F(LoadSystemIniTest, ARenamedKeyOfTheProjectIsTheOneRead) {
  m_Settings.m_vIniKeys[2].m_strKey = "ColourDepth";
  WriteTextFile(m_Folder / "System.ini", "Bpp=8\nColourDepth=16\nExit\n");
  SYSTEMINIDATA ini;
  LoadSystemIni(ini, m_Settings.m_vIniKeys);
  EXPECT_EQ(ini.nBpp, 16);
  EXPECT_TRUE(m_Boxes.Shown().empty());
}

}  // namespace
