// The demo's palette entries: the blocks, characters and items of the
// common palette, which every stage places, and the goal that ends a
// series of stage parts.
//
// Each list starts with its empty entry 0; the entries that follow are
// named by the enumerations below, which are their indices in the common
// palette. The hero walks on the direction keys, jumps on button 1, shoots
// on button 2 and swings its sword on button 3; enemies walk, fly or shoot
// by their own flows; a coin adds score, a heart heals, the goal clears the
// stage, spikes kill and the cloud throws the hero up.
#pragma once

#include <cstdint>
#include <vector>

#include "model/definitions/block.h"
#include "model/definitions/chara.h"
#include "model/stage/common_palette.h"
#include "model/definitions/item.h"

namespace demo {

enum eDemoBlock { BLOCK_GROUND = 1, BLOCK_BRICK, BLOCK_SPIKES, BLOCK_CLOUD, DEMO_BLOCK_COUNT };
enum eDemoChara { CHARA_HERO = 1, CHARA_WALKER, CHARA_SHOOTER, CHARA_FLYER, DEMO_CHARA_COUNT };
enum eDemoItem { ITEM_COIN = 1, ITEM_HEART, ITEM_GOAL, DEMO_ITEM_COUNT };

// Where the stage clear of a goal leads.
enum class eGoalKind {
  NextPart,  // the next part of the series, when there is one
  LastPart,  // the series ends here
};

// The three lists of the common palette.
std::vector<cEdBlock> CommonBlocks();
std::vector<cEdChara> CommonCharas();
std::vector<cEdItem> CommonItems();

cEdCommonPalette DemoCommonPalette();

// The goal item of the common palette with the stage clear of `kind`.
cEdItem GoalItem(eGoalKind kind);

}  // namespace demo
