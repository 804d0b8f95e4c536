// Where a graphic's cell lies in the sprite sheets, for actors, items and
// map cells.
//
// Sheets by graphic kind: 0 blocks (image 2, alternate 3; 15 cells a
// column); 1 characters (images 4 to 19 in pairs, the second of each pair
// mirrored, alternates 18 images further; sheet pair n / 15, row n mod 15,
// column = frame); 2 items (image 40, alternate 41; columns 64 wide, two
// frames); 3 the stage's shot sheet (63 facing left, 64 right; 30 a column,
// columns 64 wide); 4 the character-exclusive images (entry n: surfaces
// 4n - 4 to 4n - 1, facing left, its alternate, facing right, its
// alternate; 16 frames a row, or cells of 32m with 16 / m a row for a wide
// entry of m cells). nUse: 1 an actor's sprite (facing from the object,
// column offset + frame), 2 an item's animation, 0 a fixed cell.
#pragma once

#include "game/draw/draw_target.h"

class cGameObject;
struct cSpriteRect;

struct sGraphicSource {
  sSurface main, alt, mirror, mirrorAlt;
  bool bColourChange = false;
  sBltColour colour;
  bool bCellMultiplier = false;
  int nMultiplier = 1;
  int x = 0, y = 0;
};

void GetGraphicSource(const cDrawTarget& target, sGraphicSource& out, int nUse, int nKind, int nIndex, int nOffset,
                      const cGameObject* pObj, int nFrame);

// A 16 x 16 icon of a graphic at (x, y).
void DrawGraphicIcon(cDrawTarget& target, sSurface dst, int x, int y, int nKind, int nIndex, int nFrame);

// Overlay mark n of the mark sheet over a sprite: at scale 1 the 32 x 32
// cell of image 43 at the sprite's top-left, at a larger scale that cell of
// image 44 stretched from the base draw size to the draw size.
void DrawMark(cDrawTarget& target, sSurface dst, const cSpriteRect& rect, int n, int nScale);

// The shot sheet image to draw from: on DirectDraw the image 18 further is
// used when the image itself was not created (without bAlt) or when that
// alternate exists (bAlt); on Direct3D the image itself.
int ShotSurfaceIndex(const cDrawTarget& target, int nImage, bool bAlt);
