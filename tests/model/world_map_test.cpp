#include "model/stage/world_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/user/save_data.h"
#include "support/byte_builder.h"

namespace {

struct MapEventSpec {
  std::int32_t kind = 0, stage = 0, flag = 0, variable = 0, value = 0, compare = 0,
               minCount = 0;
};

struct MapPointSpec {
  std::int32_t x = 0, y = 0;
  std::vector<MapEventSpec> events;
};

// The image of a WorldMap.dat as the editor writes it, built byte by byte.
struct MapFileLayout {
  std::uint32_t version = DATA_VERSION;
  std::int32_t width = 20, height = 15, pitch = 32, shift = 5;
  std::int32_t startX = 9, startY = 7;
  int chips = 10;
  std::vector<std::int32_t> grid = std::vector<std::int32_t>(15 * 32, 5);
  std::vector<MapPointSpec> points;

  std::vector<std::uint8_t> Bytes() const {
    ByteBuilder b;
    b.U32(version)
        .Ints({width, height, pitch, shift, startX, startY, 16, 0})
        .Strings({"World", "map.bmp"});
    b.U32(static_cast<std::uint32_t>(chips));
    for (int i = 0; i < chips; ++i) b.Ints({0, i < 5 ? 1 : 0, i}).Strings({"", "note"});
    b.U32(static_cast<std::uint32_t>(grid.size()));
    for (std::int32_t cell : grid) b.I32(cell);
    b.U32(static_cast<std::uint32_t>(points.size()));
    for (const MapPointSpec& point : points) {
      b.Ints({point.x, point.y}).Strings({"point"});
      b.U32(static_cast<std::uint32_t>(point.events.size()));
      for (const MapEventSpec& e : point.events) {
        if (version >= 209) {
          b.Ints({e.kind, 3, e.stage, 0, 1, 0, e.flag, e.variable, e.value, e.compare, e.minCount});
        } else {
          b.Ints({e.kind, 3, e.stage, 0, 1, 0, e.flag, e.variable, e.value, e.compare});
        }
        b.Strings({"caption", "data\\stg4\\a-1.stg4_000"});
      }
    }
    b.U32(0);  // no extra points
    return b.Get();
  }
};

class WorldMapTest : public testing::Test {
 protected:
  void SetUp() override { g_nDataVersion = DATA_VERSION; }
};

TEST_F(WorldMapTest, SetSizeDerivesThePitchAndRefusesSizesOutOfRange) {
  struct Case {
    int width, height, result, pitch, shift;
    std::size_t cells;
  };
  const Case cases[] = {
      {20, 15, 1, 32, 5, 480}, {16, 4, 1, 16, 4, 64},  {33, 1, 1, 64, 6, 64},
      {1, 1, 1, 1, 0, 1},      {0, 5, 0, 32, 5, 480},  {5, 0, 0, 32, 5, 480},
      {-3, 5, 0, 32, 5, 480},  {kMaxWorldMapSide + 1, 5, 0, 32, 5, 480},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    cEdWorldMap map;  // 20 x 15
    EXPECT_EQ(map.SetSize(c.width, c.height), c.result);
    EXPECT_EQ(map.m_nPitch, c.pitch);
    EXPECT_EQ(map.m_nPitchShift, c.shift);
    EXPECT_EQ(map.m_vGrid.size(), c.cells);
  }
}

TEST_F(WorldMapTest, ResizingKeepsTheCellsThatBothSizesShare) {
  cEdWorldMap map;
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 20; ++x) map.m_vGrid[map.GridIndex(x, y)] = (y * 20 + x) % 10;

  cEdWorldMap grown = map;
  ASSERT_EQ(grown.SetSize(40, 15), 1);
  cEdWorldMap shrunk = map;
  ASSERT_EQ(shrunk.SetSize(10, 5), 1);
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 40; ++x) {
      EXPECT_EQ(grown.m_vGrid[grown.GridIndex(x, y)], x < 20 ? (y * 20 + x) % 10 : 0);
    }
  }
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 10; ++x) {
      EXPECT_EQ(shrunk.m_vGrid[shrunk.GridIndex(x, y)], (y * 20 + x) % 10);
    }
}

TEST_F(WorldMapTest, CellLookupClampsOntoTheMap) {
  cEdWorldMap map;
  map.m_vGrid[map.GridIndex(19, 14)] = 7;
  map.m_vGrid[map.GridIndex(0, 0)] = 6;
  EXPECT_EQ(map.ChipAt(25, 30)->m_nGraphic, 7);
  EXPECT_EQ(map.ChipAt(-4, -1)->m_nGraphic, 6);
  EXPECT_EQ(map.ChipAt(-4, -1)->m_bBlocked, 0);
  EXPECT_EQ(map.ChipAt(3, 3)->m_bBlocked, 1);  // chip 0 of a reset map
}

TEST_F(WorldMapTest, GridsOfAnyLengthAndCellsNamingMissingChipsLoadAndLookUpWithinBounds) {
  struct Case {
    const char* what;
    void (*change)(MapFileLayout&);
    int x, y;
    int graphic;  // of the chip found at (x, y); -1: no chip
  };
  // The layout's cells are all chip 5 (graphic 5).
  const Case cases[] = {
      {"grid ending before the last cell: it has none",
       [](MapFileLayout& s) { s.grid.resize(14 * 32 + 19); }, 19, 14, -1},
      {"grid ending before the last cell: the cell before it",
       [](MapFileLayout& s) { s.grid.resize(14 * 32 + 19); }, 18, 14, 5},
      {"grid one cell long", [](MapFileLayout& s) { s.grid.push_back(9); }, 19, 14, 5},
      {"grid one cell short", [](MapFileLayout& s) { s.grid.pop_back(); }, 19, 14, 5},
      {"no grid", [](MapFileLayout& s) { s.grid.clear(); }, 0, 0, -1},
      {"grid of a single row, clamped lookups", [](MapFileLayout& s) { s.grid.resize(32); }, -3, -1, 5},
      {"cell names a missing chip", [](MapFileLayout& s) { s.grid[3 * 32 + 4] = 10; }, 4, 3, -1},
      {"negative cell", [](MapFileLayout& s) { s.grid[3 * 32 + 4] = -1; }, 4, 3, -1},
      {"huge cell", [](MapFileLayout& s) { s.grid[3 * 32 + 4] = 1 << 30; }, 4, 3, -1},
      {"no chips", [](MapFileLayout& s) { s.chips = 0; }, 2, 2, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MapFileLayout layout;
    c.change(layout);
    cEdWorldMap map;
    std::string error;
    ASSERT_TRUE(map.LoadBytes(layout.Bytes(), &error)) << error;
    const cEdMapChip* chip = map.ChipAt(c.x, c.y);
    EXPECT_EQ(chip ? chip->m_nGraphic : -1, c.graphic);
    // Every cell of the map can be looked up, and the grid is saved as read.
    for (int y = -1; y <= map.m_nHeight; ++y)
      for (int x = -1; x <= map.m_nWidth; ++x) map.ChipAt(x, y);
    EXPECT_EQ(map.SaveBytes(), layout.Bytes());
  }
}

TEST_F(WorldMapTest, LoadingDropsPointsOutsideTheMapAndMovesTheStartOntoIt) {
  MapFileLayout layout;
  layout.startX = 25;
  layout.points = {{20, 3, {{}}}, {19, 3, {{}}}, {4, 15, {{}}}, {5, 14, {{}, {}}}};
  cEdWorldMap map;
  ASSERT_TRUE(map.LoadBytes(layout.Bytes()));
  EXPECT_EQ(map.m_nStartX, 19);
  EXPECT_EQ(map.m_nStartY, 7);
  ASSERT_EQ(map.m_vPoints.size(), 2u);
  EXPECT_EQ(map.FindPointAt(19, 3), 0);
  EXPECT_EQ(map.FindPointAt(5, 14), 1);
  EXPECT_EQ(map.FindPointAt(20, 3), -1);
  EXPECT_EQ(map.PointAt(1)->m_vEvents.size(), 2u);
  EXPECT_EQ(map.PointAt(-1), nullptr);
  EXPECT_EQ(map.PointAt(2), nullptr);
}

TEST_F(WorldMapTest, EventsOfFilesBeforeVersion209HaveNoScoreCondition) {
  for (std::uint32_t version : {208u, 209u}) {
    SCOPED_TRACE(version);
    MapFileLayout layout;
    layout.version = version;
    MapEventSpec event;
    event.minCount = 700;
    event.stage = 12;
    layout.points = {{3, 4, {event}}};
    cEdWorldMap map;
    ASSERT_TRUE(map.LoadBytes(layout.Bytes()));
    const cEdMapEvent& loaded = map.m_vPoints.at(0).m_vEvents.at(0);
    EXPECT_EQ(loaded.m_nMinCount, version >= 209 ? 700 : 0);
    EXPECT_EQ(loaded.m_nStage, 12);
    EXPECT_EQ(loaded.m_strStageFile, "data\\stg4\\a-1.stg4_000");
  }
}

TEST_F(WorldMapTest, SaveThenLoadGivesTheSameFile) {
  MapFileLayout layout;
  layout.points = {{3, 4, {{0, 5, 2, 7, 1, 4, 100}, {2, 0, 0, 0, 0, 0, 0}}}};
  layout.grid[33] = 9;
  cEdWorldMap map;
  ASSERT_TRUE(map.LoadBytes(layout.Bytes()));
  const std::vector<std::uint8_t> saved = map.SaveBytes();
  EXPECT_EQ(saved, layout.Bytes());
  cEdWorldMap again;
  ASSERT_TRUE(again.LoadBytes(saved));
  EXPECT_EQ(again.SaveBytes(), saved);
}

TEST_F(WorldMapTest, ADamagedSizeOrRowShiftFailsTheLoadAndLeavesTheMapAsItWas) {
  struct Case {
    const char* what;
    void (*damage)(MapFileLayout&);
  };
  const Case cases[] = {
      {"width 0", [](MapFileLayout& s) { s.width = 0; }},
      {"negative height", [](MapFileLayout& s) { s.height = -15; }},
      {"huge width", [](MapFileLayout& s) { s.width = 1 << 30; }},
      {"pitch below width", [](MapFileLayout& s) { s.width = 40; }},
      {"shift not the pitch", [](MapFileLayout& s) { s.shift = 4; }},
      {"shift out of range", [](MapFileLayout& s) { s.shift = 40; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MapFileLayout layout;
    c.damage(layout);
    cEdWorldMap map;
    map.m_vGrid[0] = 8;
    const std::vector<std::uint8_t> before = map.SaveBytes();
    std::string error;
    EXPECT_FALSE(map.LoadBytes(layout.Bytes(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(map.SaveBytes(), before);
  }
}

TEST_F(WorldMapTest, AFileCutAnywhereFailsCleanly) {
  MapFileLayout layout;
  layout.points = {{3, 4, {{}, {}}}};
  const std::vector<std::uint8_t> whole = layout.Bytes();
  cEdWorldMap map;
  const std::vector<std::uint8_t> before = map.SaveBytes();
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(size));
    ASSERT_FALSE(map.LoadBytes(cut)) << "cut at " << size;
  }
  EXPECT_EQ(map.SaveBytes(), before);
}

TEST_F(WorldMapTest, TheFirstEventWhoseConditionsHoldApplies) {
  struct Case {
    const char* what;
    MapEventSpec first;
    int applies;  // index of the event that applies, -1 none
  };
  // Progress: switch 4 on, variable 5 = 5, best total 300. The second event
  // of each point always applies.
  const Case cases[] = {
      {"no condition", {}, 0},
      {"switch on", {.flag = 4}, 0},
      {"switch off", {.flag = 6}, 1},
      {"switch 0 or less is no condition", {.flag = -2}, 0},
      {"5 > 3", {.variable = 5, .value = 3, .compare = 4}, 0},
      {"5 < 3", {.variable = 5, .value = 3, .compare = 5}, 1},
      {"5 == 5", {.variable = 5, .value = 5, .compare = 0}, 0},
      {"5 != 5", {.variable = 5, .value = 5, .compare = 1}, 1},
      {"5 >= 5", {.variable = 5, .value = 5, .compare = 2}, 0},
      {"5 <= 4", {.variable = 5, .value = 4, .compare = 3}, 1},
      {"unknown comparison", {.variable = 5, .value = 3, .compare = 6}, 1},
      {"variable 0 compares nothing", {.variable = 0, .value = 3, .compare = 6}, 0},
      {"score reached", {.minCount = 300}, 0},
      {"score not reached", {.minCount = 301}, 1},
  };
  cSaveData progress;
  progress.m_vSwitches[4] = 1;
  progress.m_vVariables[5] = 5;
  progress.m_nBestTotal = 300;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MapFileLayout layout;
    layout.points = {{3, 4, {c.first, {.kind = 2}}}};
    cEdWorldMap map;
    ASSERT_TRUE(map.LoadBytes(layout.Bytes()));
    const cEdMapPoint* point = map.PointAt(map.FindPointAt(3, 4));
    ASSERT_NE(point, nullptr);
    const auto applies = static_cast<std::size_t>(c.applies);
    EXPECT_EQ(FindMapEvent(point, progress), &point->m_vEvents.at(applies));
  }

  cEdMapPoint blocked;
  blocked.m_vEvents[0].m_nFlag = 6;
  EXPECT_EQ(FindMapEvent(&blocked, progress), nullptr);
  EXPECT_EQ(FindMapEvent(nullptr, progress), nullptr);
}

}  // namespace
