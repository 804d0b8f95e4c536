// Inheritance of palette entries from a parent entry.
//
// A block, character or item may name a parent: m_nInheritKind (1 the
// common palette, 2 the stage palette, 0 none) and m_nInheritIndex (0 none)
// into the palette list of its own class. Flag i of m_vInheritFlag set takes
// group i of the class's group table from the parent. The copy is made once,
// at the end of the entry's Load, with the parent as the palette list holds
// it at that moment (an entry inheriting from a later entry of the list
// being read gets that entry's defaults); afterwards the entry is
// independent of its parent. The reference and the flags stay in the entry.
//
// A parent index that is negative or not below its list's size is no parent:
// the inheritance copies nothing and the reference is cleared, kind and
// index, as the validation clears a reference made bad later (so a loaded
// entry never keeps a stale index under kind 0). A palette that is not known
// yet (no provider, see palette_lookup.h) leaves the reference untouched.
// Flags past the end of the group table have no group and are ignored.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

#include "base/checked_access.h"
#include "model/definitions/definition_context.h"
#include "model/stage/palette_lookup.h"

// Copies one group of members from parent to entry (the two may be the same
// record).
template <class T>
using tInheritGroup = void (*)(T& entry, const T& parent);

template <class T, std::size_t N>
using tInheritGroupTable = std::array<tInheritGroup<T>, N>;

// The parent list that entry's reference names, or null when the kind is
// not a palette or the palette is not known.
template <class T>
const std::vector<T>* InheritParentList(const T& entry) {
  return FindPaletteList<T>(static_cast<int>(entry.m_nInheritKind));
}

template <class T>
void ClearInheritRef(T& entry) {
  entry.m_nInheritKind = 0;
  entry.m_nInheritIndex = 0;
}

template <class T, std::size_t N>
void ApplyPaletteInheritance(T& entry, const tInheritGroupTable<T, N>& groups) {
  if (entry.m_nInheritIndex == 0 || entry.m_nInheritKind == 0) return;
  const std::vector<T>* list = InheritParentList(entry);
  if (list == nullptr) return;
  if (IndexOutOfRange(entry.m_nInheritIndex, list->size())) {
    ClearInheritRef(entry);
    return;
  }
  const T& parent = CheckedAt(*list, entry.m_nInheritIndex);
  const std::size_t count = std::min(entry.m_vInheritFlag.size(), N);
  for (std::size_t i = 0; i < count; ++i) {
    if (entry.m_vInheritFlag[i] != 0) groups[i](entry, parent);
  }
}

// Clears a parent reference that names no entry of its palette list.
template <class T>
void ValidateInheritRef(T& entry) {
  const std::vector<T>* list = InheritParentList(entry);
  if (list != nullptr && IndexOutOfRange(entry.m_nInheritIndex, list->size())) ClearInheritRef(entry);
}

// The upgrade for a group inserted at index at by a later data version: the
// flags become exactly nGroups long, those from at on move up by one (the
// last one is lost) and the new group inherits.
template <class Flag>
void InsertInheritFlag(std::vector<Flag>& flags, std::size_t nGroups, std::size_t at) {
  flags.resize(nGroups, Flag{0});
  if (at >= nGroups) return;
  std::copy_backward(flags.begin() + static_cast<std::ptrdiff_t>(at), flags.end() - 1, flags.end());
  flags[at] = Flag{1};
}

// Groups that blocks, characters and items share.
template <class T>
void InheritName(T& entry, const T& parent) {
  entry.m_strName = parent.m_strName;
}

template <class T>
void InheritConditions(T& entry, const T& parent) {
  entry.m_vCondition = parent.m_vCondition;
  entry.m_nConditionMode = parent.m_nConditionMode;
  entry.m_bConditionOnce = parent.m_bConditionOnce;
}

template <class T>
void InheritGraphic(T& entry, const T& parent) {
  entry.m_nGraphicKind = parent.m_nGraphicKind;
  entry.m_nGraphicNo = parent.m_nGraphicNo;
  entry.m_nGraphicSub = parent.m_nGraphicSub;
}

template <class T>
void InheritOverlay(T& entry, const T& parent) {
  entry.m_bOverlay = parent.m_bOverlay;
  entry.m_nOverlayCell = parent.m_nOverlayCell;
}

// One member, or two, as a group of their own:
// InheritMember<&cEdBlock::m_nLayer>, InheritPair<&cEdBlock::m_nEffect, &cEdBlock::m_nEffectValue>.
template <auto Member, class T>
void InheritMember(T& entry, const T& parent) {
  entry.*Member = parent.*Member;
}

template <auto First, auto Second, class T>
void InheritPair(T& entry, const T& parent) {
  entry.*First = parent.*First;
  entry.*Second = parent.*Second;
}
