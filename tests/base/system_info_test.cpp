#include "base/system_info.h"

#include <gtest/gtest.h>

#include <sstream>

#include "base/report.h"
#include "support/temp_folder.h"

namespace {

constexpr std::uint64_t kMB = 1048576;

TEST(SystemInfo, LineFormats) {
  SystemDescription system;
  system.osText = "Linux 6.1.0-13-amd64 PID 2 Build 0";
  system.cpu = {"GenuineIntel", "Intel(R) Core(TM) i5", 2394567000.0};
  system.memory = {512 * kMB, static_cast<std::uint64_t>(100.4 * kMB), 1536 * kMB + kMB / 2,
                   static_cast<std::uint64_t>(1000.6 * kMB)};
  system.diskFreeBytes = 2147483647;  // more than 2 GB free is capped
  EXPECT_EQ(FormatSystemInfo(system), (std::vector<std::string>{
                                          "OS : Linux 6.1.0-13-amd64 PID 2 Build 0",
                                          "CPU : GenuineIntel Intel(R) Core(TM) i5 2394",
                                          "Mem Total : 512.000MB",
                                          "Mem Free : 100MB",
                                          "Vir Total : 1536.500MB",
                                          "Vir Free : 1001MB",
                                          "HD Free : 2048MB",
                                      }));
}

TEST(SystemInfo, ThisMachine) {
  std::string os;
  int major = 0, minor = -1;
  GetOsVersionText(&os, &major, &minor);
  EXPECT_NE(os.find(" PID 2 Build 0"), std::string::npos) << os;
  EXPECT_TRUE(IsOsVersionAtLeast(6, 0));
  EXPECT_TRUE(IsOsVersionAtLeast(major, minor));
  EXPECT_FALSE(IsOsVersionAtLeast(major, minor + 1));
  EXPECT_GT(DescribeSystem().memory.totalPhysical, 0u);
  EXPECT_GT(GetDiskFreeBytes(nullptr), 0);
  EXPECT_EQ(GetDiskFreeBytes("no\\such\\folder"), 0);
  EXPECT_EQ(GetDdiVersion(), 99999);

  TempFolder folder;
  ScopedCurrentFolder enter(folder.path());
  ASSERT_EQ(OpenReport("Report_Game.txt"), 1);
  EXPECT_EQ(ReportSystemInfo(), 1);
  std::istringstream report(ReadTextFile(folder / "Report_Game.txt"));
  std::vector<std::string> prefixes;
  for (std::string line; std::getline(report, line);) prefixes.push_back(line.substr(0, line.find(':')));
  EXPECT_EQ(prefixes, (std::vector<std::string>{"OS ", "CPU ", "Mem Total ", "Mem Free ",
                                                "Vir Total ", "Vir Free ", "HD Free "}));
}

}  // namespace
