// An item on the stage: a game object that embeds a full copy of its item
// definition. The stage keeps placed and summoned items in its item list
// (cStagePlay::m_ItemList) and applies an item the hero takes; every
// character also carries one cItem as its drop item (cCharacter), which is
// marked carried and is never in the item list.
//
// An item has no hit boxes besides its box (the stage's item box size,
// centred in the 32 x 32 cell); it grows about its box height and draw
// offset, unlike actors. Every item plays the same two-frame animation,
// one tick per drawn frame.
#pragma once

#include <cstdint>

#include "game/draw/draw_target.h"
#include "game/objects/game_object.h"
#include "model/definitions/item.h"

class cItem : public cGameObject {
 public:
  cItem() = default;
  // Copies every object member, the embedded definition and the carried flag.
  cItem(const cItem&) = default;
  cItem& operator=(const cItem&) = default;

  void AdjustYForScale(int nNew, int nOld) override;

  // Set-up from a definition (a size of 0 counts as 1). A carried item is
  // marked appeared and keeps size 1; any other takes the definition's size.
  void InitFromDefinition(int nId, const cEdItem* pDef, bool bCarried);
  // Puts the item in stage cell (cx, cy) (stage cells, without the margin),
  // grown to its size and kept in the map.
  void PlaceAtCell(int cx, int cy);
  // Draws the current frame (bPaused) or steps the animation and draws the
  // next; a hidden item draws nothing and its animation stays where it is.
  void Draw(cDrawTarget& target, sSurface dst, bool bPaused);

  cEdItem m_Item;
  std::int32_t m_bCarried = 0;
};
