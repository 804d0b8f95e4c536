#include "tools/make-demo/demo_stages.h"

#include <cstddef>
#include <stdexcept>

#include "model/stage/palette_lookup.h"
#include "tools/make-demo/demo_images.h"
#include "tools/make-demo/demo_sounds.h"
#include "tools/make-demo/demo_stage_names.h"

namespace demo {

namespace {

constexpr std::size_t kStageRows = 15;
constexpr std::size_t kViewColumns = 20;
// One sub-step per frame with the 60-pixel cap: the hero's one-frame walking
// commands then move it on every frame its keys are held.
constexpr int kSpeedLevel = 11;
constexpr int kTimeLimit = 300;
// The inherit group of an item's commands.
constexpr std::size_t kItemCommandGroup = 12;

template <class T>
void InheritAll(T& entry, int nKind, std::size_t index) {
  entry.m_nInheritKind = static_cast<decltype(entry.m_nInheritKind)>(nKind);
  entry.m_nInheritIndex = static_cast<std::int16_t>(index);
  for (auto& flag : entry.m_vInheritFlag) flag = 1;
}

// The stage palette: the common entries at the same indices, each taking
// everything from its template.
template <class T>
std::vector<T> StagePalette(std::vector<T> list) {
  for (std::size_t i = 1; i < list.size(); ++i) InheritAll(list[i], PALETTE_COMMON, i);
  return list;
}

template <class T>
T Placed(const std::vector<T>& palette, std::size_t index, std::size_t x, std::size_t y) {
  T entry = palette.at(index);
  InheritAll(entry, PALETTE_STAGE, index);
  entry.m_nCellX = static_cast<std::int16_t>(x);
  entry.m_nCellY = static_cast<std::int16_t>(y);
  return entry;
}

void PlaceCell(cEdStage& stage, char cell, std::size_t x, std::size_t y) {
  const auto block = [&](eDemoBlock index) { stage.m_vPlacedBlocks.push_back(Placed(stage.m_vPaletteBlocks, index, x, y)); };
  const auto chara = [&](eDemoChara index) {
    cEdChara placed = Placed(stage.m_vPaletteCharas, index, x, y);
    placed.m_nDropItem = -1;  // carries nothing
    stage.m_vPlacedCharas.push_back(placed);
  };
  const auto item = [&](eDemoItem index) { stage.m_vPlacedItems.push_back(Placed(stage.m_vPaletteItems, index, x, y)); };
  switch (cell) {
    case '.': break;
    case '#': block(BLOCK_GROUND); break;
    case 'B': block(BLOCK_BRICK); break;
    case '^': block(BLOCK_SPIKES); break;
    case '~': block(BLOCK_CLOUD); break;
    case 'H': chara(CHARA_HERO); break;
    case 'w': chara(CHARA_WALKER); break;
    case 's': chara(CHARA_SHOOTER); break;
    case 'f': chara(CHARA_FLYER); break;
    case 'c': item(ITEM_COIN); break;
    case 'h': item(ITEM_HEART); break;
    case 'G': item(ITEM_GOAL); break;
    default: throw std::invalid_argument(std::string("unknown cell '") + cell + "' in the stage layout");
  }
}

}  // namespace

cEdStage BuildStage(const StageLayout& layout) {
  const std::size_t width = layout.rows.empty() ? 0 : layout.rows.front().size();
  if (layout.rows.size() != kStageRows || width < kViewColumns) {
    throw std::invalid_argument(std::string("stage layout ") + layout.name + " is not 15 rows of 20 cells or more");
  }
  cEdStage stage;
  stage.m_strName = layout.name;
  stage.m_nWidth = static_cast<std::int32_t>(width);
  stage.m_nHeight = static_cast<std::int32_t>(kStageRows);
  // The area objects may be in is the whole play map (the stage and its
  // margin of ten cells on each side), as the editor sets it.
  stage.m_nAreaExtraX = static_cast<std::int32_t>((width + 20) * 32 - 640);
  stage.m_nAreaExtraY = static_cast<std::int32_t>((kStageRows + 20) * 32 - 640);
  stage.SetSpeedLevel(kSpeedLevel);
  stage.m_bTimeLimit = 1;
  stage.m_nTimeLimit = kTimeLimit;
  stage.m_bStartBanner = 1;
  stage.m_nBgm = kStageMusicEntry;
  stage.m_bBgmLoop = 1;

  cEdBackground sky;
  sky.m_strImage = kBackgroundImage;
  sky.m_dSpeedX = 0.5;
  sky.m_dSpeedY = 0.5;
  stage.m_vBackgrounds = {sky};

  stage.m_vPaletteBlocks = StagePalette(CommonBlocks());
  stage.m_vPaletteCharas = StagePalette(CommonCharas());
  stage.m_vPaletteItems = StagePalette(CommonItems());
  if (layout.goal == eGoalKind::LastPart) {
    cEdItem& goal = stage.m_vPaletteItems.at(ITEM_GOAL);
    goal = GoalItem(eGoalKind::LastPart);
    InheritAll(goal, PALETTE_COMMON, ITEM_GOAL);
    goal.m_vInheritFlag.at(kItemCommandGroup) = 0;
  }

  for (std::size_t y = 0; y < kStageRows; ++y) {
    const std::string& row = layout.rows[y];
    if (row.size() != width) {
      throw std::invalid_argument(std::string("stage layout ") + layout.name + " has rows of different lengths");
    }
    for (std::size_t x = 0; x < width; ++x) PlaceCell(stage, row[x], x, y);
  }
  return stage;
}

std::vector<DemoStageFile> DemoStageFiles() {
  return {
      {kStoryStageFile,
       {"はじまりの草原",
        {
            "............................................................",
            "............................................................",
            "............................................................",
            "............................................................",
            "............................................................",
            "............................................................",
            "............................................................",
            "................ccc.........................................",
            "...............BBBBB.........ccc............................",
            "...........c.c......................................h.......",
            "B.........BBBBB...................................BBBBB....B",
            "B..................................s.......................B",
            "B.H.........w.............w...~....BB...........w........G.B",
            "####################..##################...#################",
            "####################^^##################^^^#################",
        },
        eGoalKind::NextPart}},
      {kChallengeStageFile,
       {"チャレンジ1 前半",
        {
            "........................................",
            "........................................",
            "........................................",
            "........................................",
            "........................................",
            "........................................",
            "........................................",
            "........................................",
            "................................f.......",
            ".........c.c............................",
            "B.......BBBBB....cccc..................B",
            "B.........................s............B",
            "B.H...........w...........BB.........G.B",
            "##################..####################",
            "##################^^####################",
        },
        eGoalKind::NextPart}},
      {kChallengePart2File,
       {"チャレンジ1 後半",
        {
            "........................................",
            "........................................",
            "........................................",
            "........................................",
            "........................................",
            "........................................",
            "........................................",
            "..............................f.........",
            ".........................cc.............",
            "....................h...................",
            "B...........ccc...BBBBB..BB............B",
            "B......................................B",
            "B.H.....w.........w..............s...G.B",
            "############...#########....############",
            "############^^^#########^^^^############",
        },
        eGoalKind::LastPart}},
      {kFreeStageFile,
       {"フリーステージ",
        {
            "..................................................",
            "..................................................",
            "..................................................",
            "..................................................",
            "..................................................",
            "..................................................",
            ".........................f........................",
            "...............c.c.c..............................",
            "..............BBBBBBB.................f...........",
            ".........................................h........",
            "B......................................BBBBB.....B",
            "B.....................ccc.....s..................B",
            "B.H.......w......~..........w.B...........w...G..B",
            "######################...########...##############",
            "######################^^^########^^^##############",
        },
        eGoalKind::NextPart}},
  };
}

}  // namespace demo
