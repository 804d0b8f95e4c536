// What the game objects write text through: the game's fonts (by number,
// 0 to 2) and the surfaces that hold message texts. The graphics layer
// implements it beside cDrawTarget.
#pragma once

#include "game/draw/draw_target.h"

class cTextTarget {
 public:
  virtual ~cTextTarget() = default;

  // The size the text takes in the font; 0 x 0 where the font cannot
  // measure it (a proportional font under Direct3D).
  virtual void MeasureText(int nFont, const char* text, int& width, int& height) = 0;
  // The text at (x, y), keyed over what is there.
  virtual void DrawText(int nFont, sSurface dst, int x, int y, const char* text) = 0;
  // The font's framed box sized to the text, the text inside it.
  virtual void DrawTextBox(int nFont, sSurface dst, int x, int y, const char* text) = 0;
  // The font's framed box at (x, y), w x h.
  virtual void DrawBox(int nFont, sSurface dst, int x, int y, int w, int h) = 0;

  // A transparent surface of w x h for a message text; false when it could
  // not be made.
  virtual bool CreateMessageSurface(int width, int height, sSurface& surface) = 0;
  virtual void ReleaseMessageSurface(sSurface surface) = 0;
  // Fills the surface with palette colour 0 (the transparent colour).
  virtual void ClearSurface(sSurface surface) = 0;
  // True once after the surface was lost and made again empty: its owner
  // draws its content again.
  virtual bool TakeSurfaceRestored(sSurface surface) = 0;
};
