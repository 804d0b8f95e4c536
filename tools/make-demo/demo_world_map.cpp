#include "tools/make-demo/demo_world_map.h"

#include <cstddef>
#include <vector>

#include "tools/make-demo/demo_images.h"
#include "tools/make-demo/demo_stage_names.h"

namespace demo {

namespace {

// Chip kinds of the map (a reset map has ten: 0 to 4 block the cursor,
// 5 to 9 let it pass) and the tiles they show.
struct ChipKind {
  int kind;
  const char* name;
  int tile;
};
constexpr ChipKind kGrass = {0, "草原", kChipGrass};
constexpr ChipKind kMountain = {1, "山", kChipMountain};
constexpr ChipKind kWater = {2, "川", kChipWater};
constexpr ChipKind kRoad = {5, "道", kChipPath};
constexpr ChipKind kBridge = {6, "橋", kChipBridge};

// The map shows 20 x 15 cells with the hero at the view's column 9 and row
// 7: the road keeps 9 columns of the map left of its start and 10 right of
// its end, so that the map fills the screen wherever the hero stands.
constexpr int kRoadRow = 7;
constexpr int kRoadFirst = 9;
constexpr int kRoadLast = kRoadFirst + 13;
constexpr int kRiverColumn = kRoadFirst + 7;

void SetCell(cEdWorldMap& map, int x, int y, const ChipKind& chip) {
  map.m_vGrid[static_cast<std::size_t>(map.GridIndex(x, y))] = chip.kind;
}

cEdMapEvent StageEvent(int nStage, int icon, const char* caption, const char* file) {
  cEdMapEvent event;
  event.m_nKind = cEdMapEvent::KIND_STAGE;
  event.m_nIcon = icon;
  event.m_nStage = nStage;
  event.m_bManual = 1;
  event.m_bReplayable = 1;
  event.m_strCaption = caption;
  event.m_strStageFile = file;
  return event;
}

cEdMapPoint Point(int x, const char* name, std::vector<cEdMapEvent> events) {
  cEdMapPoint point;
  point.m_nX = x;
  point.m_nY = kRoadRow;
  point.m_strName = name;
  point.m_vEvents = std::move(events);
  return point;
}

}  // namespace

cEdWorldMap DemoWorldMap() {
  cEdWorldMap map;  // every cell chip 0
  map.SetSize(kWorldMapWidth, kWorldMapHeight);
  map.m_strName = "デモワールド";
  map.m_strImage = kWorldBackImage;
  map.m_bShowImage = 1;
  for (const ChipKind& chip : {kGrass, kMountain, kWater, kRoad, kBridge}) {
    cEdMapChip& record = map.m_vChips.at(static_cast<std::size_t>(chip.kind));
    record.m_strName = chip.name;
    record.m_nGraphic = chip.tile;
  }
  for (int y = 0; y < map.m_nHeight; ++y) SetCell(map, kRiverColumn, y, kWater);
  for (int x = 0; x < map.m_nWidth; ++x) {
    if (x != kRiverColumn) {
      SetCell(map, x, 2, kMountain);
      SetCell(map, x, 12, kMountain);
    }
  }
  for (int x = kRoadFirst; x <= kRoadLast; ++x) SetCell(map, x, kRoadRow, x == kRiverColumn ? kBridge : kRoad);
  map.m_nStartX = kRoadFirst;
  map.m_nStartY = kRoadRow;

  // Clearing stage 1 sets progress switch 1, which opens the second point;
  // until then the point is a wall.
  cEdMapEvent second = StageEvent(2, kEventCastle, "ステージ2 フリーステージ", kFreeStageFile);
  second.m_nFlag = 1;
  cEdMapEvent closed;
  closed.m_nKind = cEdMapEvent::KIND_BLOCKED;
  closed.m_nIcon = kEventGate;
  closed.m_strCaption = "ステージ1をクリアすると進めます";
  map.m_vPoints.push_back(
      Point(kRoadFirst + 3, "ステージ1", {StageEvent(1, kEventStage, "ステージ1 はじまりの草原", kStoryStageFile)}));
  map.m_vPoints.push_back(Point(kRoadFirst + 11, "ステージ2", {second, closed}));
  return map;
}

}  // namespace demo
