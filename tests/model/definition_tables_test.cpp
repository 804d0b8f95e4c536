// Field tables of the flow, condition, command, movement and shot records at
// every data version where their layout changes.
#include <gtest/gtest.h>

#include <memory>

#include "model/definitions/command.h"
#include "model/definitions/condition.h"
#include "model/definitions/flow.h"
#include "model/definitions/move.h"
#include "model/definitions/shot.h"
#include "support/field_table_size.h"

namespace {

struct TableCase {
  const char* record;
  int version;
  std::size_t fields;
  std::size_t bytes;
};

std::unique_ptr<cEdRecord> MakeRecord(const std::string& name) {
  if (name == "shot") return std::make_unique<cEdShot>();
  if (name == "move") return std::make_unique<cEdMove>();
  if (name == "condition") return std::make_unique<cEdCondition>();
  if (name == "key condition") return std::make_unique<cEdKeyCondition>();
  if (name == "flow") return std::make_unique<cEdFlow>();
  return std::make_unique<cEdCommand>();
}

class FieldTableTest : public testing::TestWithParam<TableCase> {};

TEST_P(FieldTableTest, CountAndBytes) {
  const TableCase& c = GetParam();
  std::unique_ptr<cEdRecord> record = MakeRecord(c.record);
  const std::vector<cEdField>& table = record->FieldTable(c.version);
  EXPECT_EQ(table.size(), c.fields);
  EXPECT_EQ(FieldByteCount(table), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, FieldTableTest,
    testing::Values(
        // The shot gained its mirror switch (158), a stored byte (197), the
        // scroll switch (211) and acceleration (213).
        TableCase{"shot", 157, 52, 83}, TableCase{"shot", 158, 53, 84}, TableCase{"shot", 196, 53, 84},
        TableCase{"shot", 197, 54, 85}, TableCase{"shot", 210, 54, 85}, TableCase{"shot", 211, 55, 86},
        TableCase{"shot", 212, 55, 86}, TableCase{"shot", 213, 58, 91}, TableCase{"shot", 566, 58, 91},
        TableCase{"move", 157, 28, 48}, TableCase{"move", 158, 29, 49}, TableCase{"move", 159, 30, 50},
        TableCase{"move", 161, 30, 50}, TableCase{"move", 162, 32, 52}, TableCase{"move", 566, 32, 52},
        TableCase{"condition", 42, 5, 11}, TableCase{"condition", 43, 6, 12},
        TableCase{"condition", 109, 6, 12}, TableCase{"condition", 110, 17, 28},
        TableCase{"condition", 566, 17, 28}, TableCase{"key condition", 0, 5, 7},
        TableCase{"key condition", 566, 5, 7}, TableCase{"flow", 0, 8, 8}, TableCase{"flow", 566, 8, 8},
        TableCase{"command", 0, 8, 12}, TableCase{"command", 566, 8, 12}),
    [](const testing::TestParamInfo<TableCase>& info) {
      std::string name = std::string(info.param.record) + "_" + std::to_string(info.param.version);
      for (char& ch : name) {
        if (ch == ' ') ch = '_';
      }
      return name;
    });

TEST(FieldTableTest, CommandHasOneString) {
  cEdCommand command;
  EXPECT_EQ(command.StringTable(DATA_VERSION).size(), 1u);
}

}  // namespace
