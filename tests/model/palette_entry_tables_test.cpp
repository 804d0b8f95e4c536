// Field tables of blocks, characters and items at every data version where
// their layout changes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/definitions/block.h"
#include "model/definitions/chara.h"
#include "model/definitions/item.h"
#include "support/field_table_size.h"

namespace {

struct TableCase {
  const char* record;
  int version;
  std::size_t fields;
  std::size_t bytes;
};

std::unique_ptr<cEdRecord> MakeRecord(const std::string& name) {
  if (name == "block") return std::make_unique<cEdBlock>();
  if (name == "chara") return std::make_unique<cEdChara>();
  return std::make_unique<cEdItem>();
}

class PaletteEntryTableTest : public testing::TestWithParam<TableCase> {};

TEST_P(PaletteEntryTableTest, CountAndBytes) {
  const TableCase& c = GetParam();
  std::unique_ptr<cEdRecord> record = MakeRecord(c.record);
  const std::vector<cEdField>& table = record->FieldTable(c.version);
  EXPECT_EQ(table.size(), c.fields);
  EXPECT_EQ(FieldByteCount(table), c.bytes);
  EXPECT_EQ(record->StringTable(c.version).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Entries, PaletteEntryTableTest,
                         testing::Values(
                             // Blocks and items have one layout.
                             TableCase{"block", 0, 18, 26}, TableCase{"block", 566, 18, 26},
                             TableCase{"item", 0, 17, 24}, TableCase{"item", 566, 17, 24},
                             // Characters gained defence (168), the effect play modes (196), the
                             // hit range (201), scroll sync (210) and the invincibility colour (285).
                             TableCase{"chara", 0, 47, 73}, TableCase{"chara", 167, 47, 73},
                             TableCase{"chara", 168, 48, 77}, TableCase{"chara", 195, 48, 77},
                             TableCase{"chara", 196, 50, 79}, TableCase{"chara", 200, 50, 79},
                             TableCase{"chara", 201, 51, 80}, TableCase{"chara", 209, 51, 80},
                             TableCase{"chara", 210, 52, 81}, TableCase{"chara", 284, 52, 81},
                             TableCase{"chara", 285, 53, 82}, TableCase{"chara", 566, 53, 82},
                             TableCase{"chara", 9999, 53, 82}),
                         [](const testing::TestParamInfo<TableCase>& info) {
                           return std::string(info.param.record) + "_" + std::to_string(info.param.version);
                         });

}  // namespace
