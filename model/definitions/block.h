// A block: one 32-pixel tile of a stage map, as a palette entry (the block
// lists of the common palette and of a stage palette) or as a block placed
// on a stage map (which also carries its cell).
//
// The record has the same 18 fields in every data version, then the string
// m_strName, then its tail: int16 cell column, int16 cell row, the inherit
// flags (u32 count, one byte each) and the appearance conditions (a list).
// Load ends with the inheritance from the parent entry (palette_inherit.h)
// and the validation; Save validates first and never inherits again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/definitions/condition.h"
#include "model/record/record.h"

// One inherit flag per group of members a block can take from its parent.
constexpr int BLOCK_INHERIT_GROUPS = 11;

class cEdBlock : public cEdRecordOf<cEdBlock> {
 public:
  cEdBlock();

  // The defaults of a new block, on an existing one (cell position and
  // conditions are left as they are).
  void Reset();

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;

  // Takes the flagged groups from the parent entry (once, at the end of Load).
  void ApplyInheritance();
  // Clears a parent reference outside its palette list; an empty block
  // (graphic number 0) neither collides nor is fixed.
  void Validate();
  // Clears an item reference outside its palette's item list. Palettes run
  // it once all their lists are read, since their items come after blocks.
  void ValidateItemRef();

  // Cell of a placed block (unused in palette entries).
  std::int16_t m_nCellX = 0;
  std::int16_t m_nCellY = 0;
  std::vector<std::int8_t> m_vInheritFlag;
  std::vector<cEdCondition> m_vCondition;  // appearance; empty: always there
  std::string m_strName;

  std::int8_t m_nInheritKind = 0;    // 0 none, 1 common palette, 2 stage palette
  std::int16_t m_nInheritIndex = 0;  // 0 none
  std::int8_t m_nConditionMode = 0;  // 0 all hold, 1 one holds, else never
  std::int8_t m_bConditionOnce = 0;  // once held in its cell, stays
  std::int16_t m_nGraphicNo = 0;     // 0: empty cell
  std::int8_t m_nGraphicKind = 0;    // sheet: 0 blocks, 1 characters, 2 items, 3 shots, 4 dedicated image
  std::int16_t m_nGraphicSub = 0;
  std::int8_t m_nLayer = 0;  // 0 behind the stage objects, 1 in front
  std::int8_t m_bHidden = 0;
  std::int8_t m_bOverlay = 0;  // overlay icon: 0 no, 1 shown, 2 editor only
  std::int16_t m_nOverlayCell = 0;
  std::int8_t m_nCollision = 1;    // 0 passable, 1 solid, 2 solid and fatal to the hero
  std::uint8_t m_nPassTeam = 255;  // team that passes through; 255 none
  std::int8_t m_nEffect = 0;       // effect on the hero standing on it
  std::int32_t m_nEffectValue = 0;
  std::int8_t m_nItemKind = 0;  // item given while standing on it: 0 none, 1 common, 2 stage palette
  std::int16_t m_nItemIndex = 0;
  std::int8_t m_bFixed = 0;  // the block-change command leaves the cell alone
};
