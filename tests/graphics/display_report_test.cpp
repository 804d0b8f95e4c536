#include "graphics/display_report.h"

#include <gtest/gtest.h>

#include <sstream>

#include "base/report.h"
#include "support/graphics_device.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace {

std::vector<std::string> ReportLines(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  std::istringstream in(ReadTextFile(file));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class DisplayReport : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(OpenReport("Report_Game.txt"), 1); }
  std::vector<std::string> Lines() const { return ReportLines(m_Folder / "Report_Game.txt"); }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter{m_Folder.path()};
};

TEST_F(DisplayReport, DirectDrawGivesItsModeDepthVideoMemoryAndRefreshRate) {
  platform::DisplayConfig config;
  config.videoMemoryBytes = 8u << 20;
  ScopedGraphicsDevice device({"DD16_565", 0, 16, 0, false}, config);
  ASSERT_TRUE(device.Started());
  const int before = static_cast<int>(Lines().size());
  EXPECT_EQ(ReportDisplayInfo(), 1);
  const auto lines = Lines();
  ASSERT_EQ(static_cast<int>(lines.size()), before + 5);
  EXPECT_EQ(lines[before], "Mode : Fullscreen");
  EXPECT_EQ(lines[before + 1], "Bpp : 16");
  EXPECT_EQ(lines[before + 2], "VRAM Total : 8.000MB");
  EXPECT_EQ(lines[before + 3].rfind("VRAM Free : ", 0), 0u);
  EXPECT_EQ(lines[before + 4], "RR : 60");
}

TEST_F(DisplayReport, Direct3DDescribesTheSoftwareDevice) {
  platform::DisplayConfig config;
  config.texturePow2 = true;
  ScopedGraphicsDevice device({"D3D32Window", 1, 32, 1, false}, config);
  ASSERT_TRUE(device.Started());
  const int before = static_cast<int>(Lines().size());
  EXPECT_EQ(ReportDisplayInfo(), 1);
  const auto lines = Lines();
  ASSERT_GT(static_cast<int>(lines.size()), before + 10);
  EXPECT_EQ(lines[before], "Mode : Window");
  EXPECT_EQ(lines[before + 1], "Bpp : 32");
  EXPECT_EQ(lines[before + 3].rfind("TextureMem : ", 0), 0u);
  EXPECT_EQ(lines[before + 4], Utf8(u8"---デバイス0"));
  const std::vector<std::string> tail(lines.begin() + before + 9, lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"TextureMaxSize : (4096,4096)", "TextureMaxBlend : (1,1)",
                                            "D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD", "D3DPTEXTURECAPS_POW2",
                                            Utf8(u8"DirectDraw : ○"), Utf8(u8"Direct3D : ○"), Utf8(u8"AGP : ×")}));
}

}  // namespace
