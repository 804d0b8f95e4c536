// Where a palette reference (source, index) finds its entry.
//
// Blocks, characters and items name a palette entry by a source (1 the
// common palette, 2 the palette of the stage being read or played) and an
// index into that palette's list of the same class. The owner of the
// palettes installs a provider of the lists; until one is installed no
// palette is known, and code that needs a list leaves the reference as it
// is. A provider must give the lists as they stand while a palette file is
// being read: an entry may inherit from the list it is part of.
#pragma once

#include <cstddef>
#include <vector>

#include "model/definitions/definition_context.h"

class cEdBlock;
class cEdChara;
class cEdItem;

// The stored values of a palette source.
enum ePaletteSourceKind : int {
  PALETTE_NONE = 0,
  PALETTE_COMMON = 1,
  PALETTE_STAGE = 2,
};

class cPaletteLists {
 public:
  virtual ~cPaletteLists() = default;
  // The list of a source (PALETTE_COMMON or PALETTE_STAGE), or null while
  // that palette is not known.
  virtual const std::vector<cEdBlock>* Blocks(int /*nSource*/) const { return nullptr; }
  virtual const std::vector<cEdChara>* Charas(int /*nSource*/) const { return nullptr; }
  virtual const std::vector<cEdItem>* Items(int /*nSource*/) const { return nullptr; }
};

const cPaletteLists& PaletteLists();
// Installs a provider (not owned); null restores the one that knows nothing.
void SetPaletteLists(const cPaletteLists* lists);

// The list of T (cEdBlock, cEdChara or cEdItem) of a source; null for a
// source other than 1 and 2 and for a palette that is not known.
template <class T>
const std::vector<T>* FindPaletteList(int nSource);
template <>
const std::vector<cEdBlock>* FindPaletteList<cEdBlock>(int nSource);
template <>
const std::vector<cEdChara>* FindPaletteList<cEdChara>(int nSource);
template <>
const std::vector<cEdItem>* FindPaletteList<cEdItem>(int nSource);

// The entry of T at (source, index); null when the source names no known
// list or the index is negative or not below the list's size.
template <class T>
const T* FindPaletteEntry(int nSource, int nIndex) {
  const std::vector<T>* list = FindPaletteList<T>(nSource);
  if (list == nullptr || IndexOutOfRange(nIndex, list->size())) return nullptr;
  return &(*list)[static_cast<std::size_t>(nIndex)];
}
