// The common palette: the block, character and item templates shared by every
// stage of the project, read once at start-up from data\CommonPalette.cplt4.
//
// File (after the u32 data version): u32 0 and u32 0 (no fields, no strings),
// then the block, character and item lists, each a u32 count and the
// records. There is no end word.
//
// Entry 0 of every palette list, here and in a stage's palette, is the empty
// entry: a template reference with index 0 names no template, and whatever a
// file holds there is replaced by a freshly reset entry (a list stored empty
// gets one). Every palette list keeps at least two entries. The common
// templates keep no inheritance of their own: loading clears their flags,
// after they took what they inherit.
//
// The palette list readers are shared with the stage file: a u32 count, then
// the list holds that many default entries, and each is read in order, so
// that an entry inheriting from a later one sees that entry's defaults.
#pragma once

#include <vector>

#include "model/definitions/block.h"
#include "model/definitions/chara.h"
#include "model/definitions/item.h"
#include "model/record/record.h"

class cEdCommonPalette : public cEdRecordOf<cEdCommonPalette> {
 public:
  cEdCommonPalette();

  std::vector<cEdBlock> m_vBlocks;
  std::vector<cEdChara> m_vCharas;
  std::vector<cEdItem> m_vItems;

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& visitor) override;
  void Validate();
};

extern cEdCommonPalette g_CommonPalette;

bool LoadBlockList(std::vector<cEdBlock>& list, cDataReader& f);
bool LoadCharaList(std::vector<cEdChara>& list, cDataReader& f);
bool LoadItemList(std::vector<cEdItem>& list, cDataReader& f);

// Entry 0 becomes the empty entry; an empty list gets one.
template <class T>
void SetEmptyPaletteEntry(std::vector<T>& list) {
  if (list.empty()) {
    list.emplace_back();
  } else {
    list.front() = T();
  }
}

// A palette list holds the empty entry and at least one more.
template <class T>
void FillPaletteList(std::vector<T>& list) {
  if (list.size() < 2) list.resize(2);
}

// The reference checks of every entry, run once all palette lists are in
// place: blocks (with their item references), then characters, then items.
void ValidateEntryRefs(std::vector<cEdBlock>& blocks, std::vector<cEdChara>& charas,
                         std::vector<cEdItem>& items);
