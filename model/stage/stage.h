// A stage: one playable map with its placed blocks, characters and items, its
// own palette, its backgrounds and the settings under which it runs.
//
// Stage file (after the u32 data version):
//   the base part (fields and m_strName),
//   u32 n + n int32 ranking flags,
//   five screen-out rules (base part only, no count),
//   the palette lists of blocks, characters and items (u32 n + records),
//   the placed blocks, characters and items: u32 n, then per element a u32
//     word (written 0, ignored) and the record,
//   u32 n + backgrounds, u32 n + stage strings,
//   u32 STAGE_END_MARKER (files of version 173 and later).
// Entry 0 of each palette list is the empty entry: whatever a file holds there
// is replaced on loading, and every palette list keeps at least two entries.
//
// g_LoadedStage is the stage being played: the game reads its settings and
// speed constants and changes some of them. g_PlayStage is the start state of
// those settings (fields, texts, backgrounds, screen-out rules, ranking flags;
// its object lists are empty); every restart copies it back with
// CopyStartState.
//
// While a stage is read, saved or validated, the stage palette that its
// entries inherit from and are checked against is that stage's own.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/definitions/block.h"
#include "model/definitions/chara.h"
#include "model/definitions/item.h"
#include "model/record/record.h"
#include "model/stage/stage_records.h"

constexpr std::uint32_t STAGE_END_MARKER = 123456789;

// Speed levels 1..10 run that many sub-steps per frame; 11..19 run 1..9
// sub-steps with a fixed cap of 60 pixels per frame.
constexpr int STAGE_MIN_SPEED_LEVEL = 1;
constexpr int STAGE_MAX_SPEED_LEVEL = 19;

// The play map has the stage plus a margin of 10 cells on every side, in rows
// whose pitch is a power of two. Bounding each side keeps every cell index and
// pixel position of that map far inside int32.
constexpr int STAGE_MAX_CELLS = 8000;

// Object kinds of the screen-out rules.
enum eScreenOutKind {
  SCREENOUT_CHARA = 0,
  SCREENOUT_BLOCK_CHARA = 1,
  SCREENOUT_ITEM = 2,
  SCREENOUT_CHARA_SHOT = 3,
  SCREENOUT_PLAYER_SHOT = 4,
  SCREENOUT_KINDS = 5,
};

constexpr int STAGE_RANKING_KINDS = 5;

class cEdStage : public cEdRecordOf<cEdStage> {
 public:
  cEdStage();

  std::string m_strName;

  std::vector<cEdBlock> m_vPlacedBlocks;
  std::vector<cEdChara> m_vPlacedCharas;  // the hero among them
  std::vector<cEdItem> m_vPlacedItems;

  std::vector<cEdBlock> m_vPaletteBlocks;
  std::vector<cEdChara> m_vPaletteCharas;
  std::vector<cEdItem> m_vPaletteItems;

  std::vector<cEdBackground> m_vBackgrounds;  // the scene shows the first five
  std::vector<cEdStageString> m_vStageStrings;

  std::int32_t m_nWidth = 0;   // in cells
  std::int32_t m_nReserved1 = 0;
  std::int32_t m_nReserved2 = 0;
  std::int32_t m_nHeight = 0;  // in cells
  std::int32_t m_bLimitLeft = 0;
  std::int32_t m_bLimitRight = 0;
  std::int32_t m_bLimitBottom = 0;
  std::int32_t m_bLimitTop = 0;
  std::int32_t m_nLimitLeft = 0;
  std::int32_t m_nLimitRight = 0;
  std::int32_t m_nLimitTop = 0;
  std::int32_t m_nLimitBottom = 0;
  std::int32_t m_nFps = 0;
  std::int32_t m_bTimeLimit = 0;
  std::int32_t m_nTimeLimit = 0;    // seconds
  std::int32_t m_nTimeWarning = 0;  // seconds
  std::int32_t m_bAutoScrollX = 0;
  std::int32_t m_bAutoScrollY = 0;
  std::int32_t m_nAutoScrollSpeedX = 0;  // tenths of a pixel per frame
  std::int32_t m_nAutoScrollSpeedY = 0;
  double m_dGravity = 0;  // pixels per frame per frame
  std::int32_t m_nSpeedLevel = 0;
  std::int32_t m_nHitCheckLevel = 0;
  std::int32_t m_nBgm = 0;
  std::int32_t m_bBgmLoop = 0;
  std::int32_t m_bBgmKeep = 0;
  std::int32_t m_bPriorityLayers = 0;
  std::int32_t m_bTakeOverStatus = 0;
  std::int32_t m_bKeepStatus = 0;
  std::int32_t m_bSkipResult = 0;
  std::int32_t m_bStatusBar = 0;
  std::int32_t m_bStartBanner = 0;
  std::int32_t m_bStartBanner2 = 0;
  std::int32_t m_bClearBanner = 0;
  std::int32_t m_bGameOverBanner = 0;

  std::vector<std::int32_t> m_vRankingFlags;  // one per ranking kind
  std::array<cEdScreenOutRule, SCREENOUT_KINDS> m_aScreenOut;

  // Boxes: width and height in pixels inside the object's 32 x 32 cell.
  std::int32_t m_nPlayerSizeW = 0, m_nPlayerSizeH = 0;
  std::int32_t m_nPlayerFlySizeW = 0, m_nPlayerFlySizeH = 0;
  std::int32_t m_nPlayerBox1W = 0, m_nPlayerBox1H = 0;
  std::int32_t m_nPlayerFlyBox1W = 0, m_nPlayerFlyBox1H = 0;
  std::int32_t m_nPlayerBox2W = 0, m_nPlayerBox2H = 0;
  std::int32_t m_nPlayerBox3W = 0, m_nPlayerBox3H = 0;
  std::int32_t m_bPlayerSizeBottom = 0;
  std::int32_t m_bPlayerFlySizeBottom = 0;
  std::int32_t m_bPlayerBox1Bottom = 0;
  std::int32_t m_bPlayerFlyBox1Bottom = 0;
  std::int32_t m_nShowPlayerSize = 0;
  std::int32_t m_nShowPlayerBox1 = 0;
  std::int32_t m_nShowPlayerBox2 = 0;
  std::int32_t m_nShowPlayerBox3 = 0;
  std::int32_t m_nPlayerSizeColour = 0;
  std::int32_t m_nPlayerBox1Colour = 0;
  std::int32_t m_nPlayerBox2Colour = 0;
  std::int32_t m_nPlayerBox3Colour = 0;
  std::int32_t m_nCharaSizeW = 0, m_nCharaSizeH = 0;
  std::int32_t m_nCharaFlySizeW = 0, m_nCharaFlySizeH = 0;
  std::int32_t m_nCharaBox1W = 0, m_nCharaBox1H = 0;
  std::int32_t m_nCharaFlyBox1W = 0, m_nCharaFlyBox1H = 0;
  std::int32_t m_nCharaBox2W = 0, m_nCharaBox2H = 0;
  std::int32_t m_bCharaSizeBottom = 0;
  std::int32_t m_bCharaFlySizeBottom = 0;
  std::int32_t m_bCharaBox1Bottom = 0;
  std::int32_t m_bCharaFlyBox1Bottom = 0;
  std::int32_t m_nItemBoxW = 0, m_nItemBoxH = 0;
  std::int32_t m_nCharaShotBoxW = 0, m_nCharaShotBoxH = 0;
  std::int32_t m_nCharaShotSizeW = 0, m_nCharaShotSizeH = 0;
  std::int32_t m_nPlayerShotBoxW = 0, m_nPlayerShotBoxH = 0;
  std::int32_t m_nPlayerShotSizeW = 0, m_nPlayerShotSizeH = 0;
  std::int32_t m_nReserved3 = 0;

  std::string m_strPath;  // the stage file being played (not saved)
  std::int32_t m_bFindNewest = 0;
  std::int32_t m_bLoaded = 0;

  std::int32_t m_nAreaExtraX = 0;  // the stage area ends 640 + this many pixels right
  std::int32_t m_nAreaExtraY = 0;  // and down

  // Derived from the speed level by SetSpeedLevel; stored, never trusted.
  std::int32_t m_nSubSteps6 = 0;
  std::int32_t m_nSubSteps = 0;
  double m_dSubSteps = 0;
  double m_dSubStepsSq = 0;
  double m_dMaxSpeed = 0;      // pixels per frame
  double m_dGravityStep = 0;   // pixels per sub-step per sub-step
  double m_dMaxSpeedStep = 0;  // pixels per sub-step
  std::int32_t m_nSubSteps8 = 0;

  // No-damage times in frames.
  std::int32_t m_bHitOnlyOnScreen = 0;
  std::int32_t m_nPlayerContactGuard = 0;
  std::int32_t m_nPlayerHitGuard = 0;
  std::int32_t m_nCharaContactGuard = 0;
  std::int32_t m_nCharaHitGuard = 0;

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& visitor) override;

  // The stage part of a replay file: the layout of Save, with the fields,
  // ranking flags, screen-out rules, backgrounds and texts taken from start.
  void SaveForReplay(cDataWriter& f, cEdStage& start);

  // The defaults of a new stage; the stage strings are kept.
  void Reset();
  void Validate();
  // Stores the level (clamped into 1..19) and derives the speed constants.
  void SetSpeedLevel(int nLevel);
  // Per sub-step of a frame, 1 where the attack hit tests run.
  std::vector<std::int8_t> HitCheckSteps() const;

  // Index in m_vPlacedCharas of the first player-controlled character with a
  // graphic, or -1.
  int FindHero() const;
  bool HasHero() const { return FindHero() != -1; }

  // Takes the start state of from: the registered fields and texts, the
  // backgrounds, the stage strings, the screen-out rules and the ranking
  // flags. The object lists are left alone.
  void CopyStartState(const cEdStage& from);
  // Empties the three placed and the three palette lists.
  void ClearObjectLists();

 private:
  void Upgrade(std::uint32_t nFileVersion);
  void SaveTail(cDataWriter& f, cEdStage& settings);
};

extern cEdStage g_LoadedStage;
extern cEdStage g_PlayStage;
