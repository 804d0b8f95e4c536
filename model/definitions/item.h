// An item definition: the template of an item (looks, when it is shown, how
// often it can be taken, and the item commands that run at once when the
// hero takes it). It is a palette entry (the item lists of the common
// palette and of a stage palette), an item placed on a stage map, and the
// definition every item object and every character's drop item embeds.
//
// The record has the same 17 fields in every data version, the string
// m_strName, then its tail: int16 cell column, int16 cell row, the inherit
// flags (u32 count, one byte each), the appearance conditions and the item
// commands (lists). Load upgrades old files, inherits from the parent entry
// and validates; Save validates first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/definitions/command.h"
#include "model/definitions/condition.h"
#include "model/record/record.h"

// One inherit flag per group of members an item can take from its parent.
constexpr int ITEM_INHERIT_GROUPS = 13;

// Who can take an item, and how often.
enum eItemPickup {
  PICKUP_ONCE,    // taken once; the item leaves the stage
  PICKUP_ALWAYS,  // taken at every new touch; it stays
  PICKUP_NEVER,   // never taken
};

class cEdItem : public cEdRecordOf<cEdItem> {
 public:
  cEdItem();

  // The defaults of a new definition on an existing one; the lists are kept.
  void Reset();

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;

  void ApplyInheritance();
  // Repairs the parent reference, the size, the sound and the commands.
  void Validate();
  // The palette checks of every item command, once the palettes exist.
  void ClampPaletteRefs();

  // Tail members.
  std::int16_t m_nCellX = 0;
  std::int16_t m_nCellY = 0;
  std::vector<std::uint8_t> m_vInheritFlag;
  std::vector<cEdCondition> m_vCondition;
  std::vector<cEdCommand> m_vCommand;  // item commands (set COMMAND_SET_ITEM)
  std::string m_strName;

  std::uint8_t m_nInheritKind = 0;    // 0 none, 1 common palette, 2 stage palette
  std::int16_t m_nInheritIndex = 0;   // 0 none
  std::uint8_t m_nConditionMode = 0;  // 0 all hold, 1 one holds
  std::uint8_t m_bConditionOnce = 0;
  std::int16_t m_nOffsetX = 0;  // pixels added to a placed item's position
  std::int16_t m_nOffsetY = 0;
  std::int16_t m_nGraphicNo = 0;
  std::uint8_t m_nGraphicKind = 2;
  std::int16_t m_nGraphicSub = 0;
  std::uint8_t m_nLayer = 6;
  std::uint8_t m_bHidden = 0;
  std::uint8_t m_bOverlay = 0;
  std::int16_t m_nOverlayCell = 0;
  std::uint8_t m_bShowIcon = 1;  // its graphic pops up over the hero when taken
  std::uint8_t m_nPickup = PICKUP_ONCE;
  std::uint8_t m_nSize = 1;   // multiplier of its 32 x 32 cell, at least 1
  std::int16_t m_nSound = 0;  // sound played when taken; 0 none
};

// The item definition that an item reference (kind 1 common palette, 2 stage
// palette; index) names, or null.
const cEdItem* FindPaletteItem(int nKind, int nIndex);
