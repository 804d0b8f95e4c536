// Background layers, screen-out rules and stage strings: their old layouts.
#include "model/stage/stage_records.h"

#include <gtest/gtest.h>

#include "support/byte_builder.h"

namespace {

class StageRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override { g_nDataVersion = DATA_VERSION; }
};

// Old layouts of a background, each ending with a marker word that must be
// the next thing read.
struct BackgroundLayout {
  std::uint32_t version;
  std::vector<std::uint8_t> bytes;
  // What the layer holds after loading.
  std::int32_t show;
  double speedX, speedY;
  std::int32_t autoX;
  double offsetX;
};

std::vector<BackgroundLayout> BackgroundLayouts() {
  std::vector<BackgroundLayout> layouts;
  {
    // Before 61: no show flag, integer speeds dropped, no offsets.
    ByteBuilder b;
    b.U32(60).U32(5).I32(1).I32(7).I32(1).I32(3).I32(4).Strings({"sky.bmp"});
    layouts.push_back({60, b.Get(), 1, 0.1, 0.1, 0, 0});
  }
  {
    // 61: double speeds and auto flags, integer offsets dropped.
    ByteBuilder b;
    b.U32(61).U32(9).I32(1).I32(7).I32(1).F64(0.5).F64(-2.0).I32(1).I32(0).I32(30).I32(40);
    b.Strings({"sky.bmp"});
    layouts.push_back({61, b.Get(), 1, 0.5, -2.0, 1, 0});
  }
  {
    ByteBuilder b;
    b.U32(62).U32(10).I32(0).I32(1).I32(7).I32(1).F64(0.5).F64(-2.0).I32(1).I32(0);
    b.F64(12.5).F64(3.0).Strings({"sky.bmp"});
    layouts.push_back({62, b.Get(), 0, 0.5, -2.0, 1, 12.5});
  }
  return layouts;
}

TEST_F(StageRecordsTest, BackgroundOfEachLayoutLoads) {
  for (const BackgroundLayout& layout : BackgroundLayouts()) {
    SCOPED_TRACE(layout.version);
    std::vector<std::uint8_t> bytes = layout.bytes;
    ByteBuilder end;
    end.U32(0xCAFEF00D);
    bytes.insert(bytes.end(), end.Get().begin(), end.Get().end());

    g_nFileVersion = layout.version;
    cDataReader f(bytes);
    std::uint32_t version = 0;
    ASSERT_TRUE(f.ReadU32(version));
    cEdBackground layer;
    ASSERT_TRUE(layer.Load(f)) << f.Error();
    std::uint32_t marker = 0;
    ASSERT_TRUE(f.ReadU32(marker));
    EXPECT_EQ(marker, 0xCAFEF00Du);
    EXPECT_TRUE(f.AtEnd());

    EXPECT_EQ(layer.m_bShow, layout.show);
    EXPECT_EQ(layer.m_bFill, 1);
    EXPECT_EQ(layer.m_nFillColour, 7);
    EXPECT_EQ(layer.m_nLayer, 1);
    EXPECT_EQ(layer.m_dSpeedX, layout.speedX);
    EXPECT_EQ(layer.m_dSpeedY, layout.speedY);
    EXPECT_EQ(layer.m_bAutoX, layout.autoX);
    EXPECT_EQ(layer.m_dOffsetX, layout.offsetX);
    EXPECT_EQ(layer.m_strImage, "sky.bmp");
  }
}

TEST_F(StageRecordsTest, NewBackgroundSavesTheCurrentLayout) {
  cEdBackground layer;
  ByteBuilder expected;
  expected.U32(DATA_VERSION).U32(10).I32(1).I32(0).I32(16).I32(0).F64(0.1).F64(0.1).I32(0).I32(0);
  expected.F64(0).F64(0).Strings({""});
  EXPECT_EQ(layer.SaveBytes(), expected.Get());
}

TEST_F(StageRecordsTest, ScreenOutRuleBefore125KeepsItsOtherSwitches) {
  cEdScreenOutRule rule;
  rule.SetAll(0, 1, 1, 1, 9, 9, 9, 9);
  ByteBuilder b;
  b.U32(124).Ints({1, 2, 3, 4, 5}).U32(0);
  ASSERT_TRUE(rule.LoadBytes(b.Get()));
  EXPECT_EQ(rule.m_bLeft, 1);
  EXPECT_EQ(rule.m_bRight, 1);
  EXPECT_EQ(rule.m_bTop, 1);
  EXPECT_EQ(rule.m_bBottom, 1);
  EXPECT_EQ(rule.m_nLeft, 2);
  EXPECT_EQ(rule.m_nBottom, 5);

  ByteBuilder current;
  current.U32(DATA_VERSION).Ints({1, 1, 1, 1, 2, 3, 4, 5}).U32(0);
  EXPECT_EQ(rule.SaveBytes(), current.Get());
}

TEST_F(StageRecordsTest, ListReadersRefuseACountLargerThanTheFile) {
  ByteBuilder b;
  b.U32(0xFFFFFFFF);
  cDataReader f(b.Get());
  std::vector<cEdStageString> texts(2);
  EXPECT_FALSE(LoadStageStringList(texts, f));
  EXPECT_TRUE(f.Failed());
}

TEST_F(StageRecordsTest, ListReadersReadEachElementOverADefault) {
  g_nFileVersion = 60;
  ByteBuilder b;
  b.U32(2);
  for (int i = 0; i < 2; ++i) b.U32(5).I32(0).I32(i).I32(0).I32(0).I32(0).Strings({"a.bmp"});
  cDataReader f(b.Get());
  std::vector<cEdBackground> layers(3);
  layers[0].m_bShow = 0;
  ASSERT_TRUE(LoadBackgroundList(layers, f));
  ASSERT_EQ(layers.size(), 2u);
  // The show flag that version 60 lacks is the default's, not the old list's.
  EXPECT_EQ(layers[0].m_bShow, 1);
  EXPECT_EQ(layers[1].m_nFillColour, 1);
}

}  // namespace
