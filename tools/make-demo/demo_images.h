// The pictures and blend tables of the demo project, made in code.
//
// BuildDemoFiles makes every file under bmp\ that the player reads for the
// demo: the palette picture, the 8-bit blend tables of the 24 palette options,
// the pictures of the fixed image table (except the optional second to eighth
// character sheets and the stage background placeholders, which the stages
// replace by their own names) and the pictures that the demo's database
// entries and world map name (below). Every picture is an 8-bit bitmap in the
// palette's numbering, which every screen depth accepts; its colour 0 is the
// transparent colour. Names are Windows-style paths relative to the project
// folder. The same files, byte for byte, on every run.
//
// WriteDemoImages writes them under a project folder, creating the folders.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace demo {

// Figures of bmp\Character1.bmp: graphic number n is row n of the sheet.
// Every row has the same columns (frames): 0 standing, 1 to 3 walking (play
// 1, 2, 3, 2), 4 to 7 the same four while invincible and 8 to 11 as a block
// character (the default offsets 4 and 8 of an animation set), 12 jumping.
inline constexpr int kHeroGraphic = 0;    // a red-capped figure in blue
inline constexpr int kWalkerGraphic = 1;  // a red blob
inline constexpr int kFlyerGraphic = 2;   // a purple bat
inline constexpr int kSpikyGraphic = 3;   // a green shell with spikes (hurts to touch)
inline constexpr int kStandFrame = 0;
inline constexpr int kWalkFrames[] = {1, 2, 3, 2};
inline constexpr int kJumpFrame = 12;

// Cells of bmp\Block.bmp (graphic 0 is never drawn).
inline constexpr int kBlockGround = 1;  // earth with grass on top
inline constexpr int kBlockBrick = 2;
inline constexpr int kBlockSpikes = 3;  // the deadly one
inline constexpr int kBlockBonus = 4;
inline constexpr int kBlockWater = 5;  // cycling colours
inline constexpr int kBlockLava = 6;   // cycling colours
inline constexpr int kBlockEarth = 7;
inline constexpr int kBlockCloud = 8;  // a platform

// Items of bmp\Item.bmp (two frames each) and bmp\Item_Mini.bmp.
inline constexpr int kItemCoin = 1;
inline constexpr int kItemGoalFlag = 2;
inline constexpr int kItemHeart = 3;
inline constexpr int kItemStar = 4;
inline constexpr int kItemKey = 5;

// Shots of bmp\Shot.bmp (two frames each, pointing left).
inline constexpr int kShotBall = 0;
inline constexpr int kShotArrow = 1;
inline constexpr int kShotFire = 2;
inline constexpr int kShotStar = 3;

// Marks of bmp\Mark.bmp.
inline constexpr int kMarkExclamation = 1;
inline constexpr int kMarkQuestion = 2;
inline constexpr int kMarkArrowDown = 3;
inline constexpr int kMarkHeart = 4;

// Tiles of bmp\WorldMapChip.bmp and icon rows of bmp\WorldEvent.bmp.
inline constexpr int kChipGrass = 0;
inline constexpr int kChipPath = 1;
inline constexpr int kChipWater = 2;
inline constexpr int kChipMountain = 3;  // meant to be impassable
inline constexpr int kChipForest = 4;
inline constexpr int kChipBridge = 5;
inline constexpr int kEventStage = 0;
inline constexpr int kEventCastle = 1;
inline constexpr int kEventHouse = 2;
inline constexpr int kEventGate = 3;

// Pictures for the demo's database and world map.
// A character image: 32 x 32 cells, 16 a row, frames as on the character sheet.
inline constexpr char kCharaExcImage[] = "bmp\\chara_sp\\Knight.bmp";
// A sword type's two pictures: frame k is the 32 x 16 rectangle at (32 k, 0).
inline constexpr char kSwordImageLeft[] = "bmp\\sword\\SwordLeft.bmp";
inline constexpr char kSwordImageRight[] = "bmp\\sword\\SwordRight.bmp";
inline constexpr int kSwordFrameWidth = 32;
inline constexpr int kSwordFrameHeight = 16;
inline constexpr int kSwordFrameCount = 3;
// An effect strip of 32 x 32 cells: a burst that grows and fades.
inline constexpr char kEffectImage[] = "bmp\\effect\\Burst.bmp";
inline constexpr int kEffectCellSize = 32;
inline constexpr int kEffectCellCount = 4;
// A picture (160 x 64): a signboard.
inline constexpr char kPictureImage[] = "bmp\\picture\\Sign.bmp";
// A stage background (320 x 240, tiled, no transparent pixel): sky, clouds, hills.
inline constexpr char kBackgroundImage[] = "bmp\\back\\Sky.bmp";
// The world map's background (640 x 480): the sea.
inline constexpr char kWorldBackImage[] = "bmp\\WorldBack.bmp";

struct DemoFile {
  std::string name;  // Windows-style, relative to the project folder
  std::vector<std::uint8_t> bytes;
};

std::vector<DemoFile> BuildDemoFiles();

// False, with "<path>: <what>: <reason>" in `error` (the path relative to
// the project folder), when a folder or a file cannot be written; files
// written before stay.
bool WriteDemoImages(const std::filesystem::path& projectRoot, std::string& error);

}  // namespace demo
