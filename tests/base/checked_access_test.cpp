// Checked element access: the report line, the close request, the element
// the caller goes on with.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <list>
#include <sstream>

#include "base/checked_access.h"
#include "base/close_request.h"
#include "base/report.h"

namespace {

class CheckedAccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_Path = std::filesystem::temp_directory_path() / ("checked_" + std::to_string(::getpid()) + ".txt");
    ASSERT_EQ(OpenReport(m_Path.string().c_str()), 1);
    ResetCloseRequests();
  }
  void TearDown() override { std::filesystem::remove(m_Path); }
  std::string Report() const {
    std::ifstream in(m_Path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::filesystem::path m_Path;
};

TEST_F(CheckedAccessTest, BadVectorIndexReportsClosesAndGivesElementZero) {
  struct Case {
    int index;
    const char* line;
  };
  for (const Case& c : {Case{-1, "err V[-1] ( 3 , 4 )"}, Case{3, "err V[3] ( 3 , 4 )"}}) {
    std::vector<int> v{10, 20, 30};
    ResetCloseRequests();
    int& element = CheckedAt(v, c.index);
    EXPECT_EQ(&element, &v[0]);
    EXPECT_EQ(CloseRequestCount(), 1);
    EXPECT_NE(Report().find(c.line), std::string::npos) << Report();
  }
  std::vector<int> v{1, 2};
  ResetCloseRequests();
  EXPECT_EQ(&CheckedAt(v, 1), &v[1]);
  EXPECT_EQ(CloseRequestCount(), 0);
}

TEST_F(CheckedAccessTest, EmptyVectorReportsThenThrows) {
  std::vector<int> empty;
  EXPECT_THROW(CheckedAt(empty, 0), std::out_of_range);
  EXPECT_NE(Report().find("err V[0] ( 0 , 4 )"), std::string::npos);
  EXPECT_EQ(CloseRequestCount(), 1);
}

TEST_F(CheckedAccessTest, BadListIndexGivesTheSharedFallback) {
  std::list<double> empty;
  double& first = CheckedAtList(empty, 0);
  first = 4.5;
  std::list<double> two{1.0, 2.0};
  double& second = CheckedAtList(two, 7);
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(second, 4.5);
  EXPECT_EQ(CheckedAtList(two, 1), 2.0);
  EXPECT_NE(Report().find("err L[7] ( 2 , 8 )"), std::string::npos);
  EXPECT_EQ(CloseRequestCount(), 2);
}

TEST_F(CheckedAccessTest, ListInsertEraseAndRemoveAll) {
  std::list<int> l{1, 2};
  ListInsertAt(l, 0, 0);
  ListInsertAt(l, 5, 9);
  ListInsertAt(l, 2, 7);
  EXPECT_EQ(l, (std::list<int>{0, 1, 7, 2, 9}));
  EXPECT_EQ(ListEraseAt(l, 10), l.end());
  EXPECT_EQ(*ListEraseAt(l, 1), 7);
  EXPECT_EQ(l, (std::list<int>{0, 7, 2, 9}));

  int a = 0, b = 0;
  std::vector<int*> v{&a, &b, &b, &a};
  EXPECT_TRUE(RemoveAll(v, &b));
  EXPECT_EQ(v, (std::vector<int*>{&a, &a}));
  EXPECT_FALSE(RemoveAll(v, &b));
}

}  // namespace
