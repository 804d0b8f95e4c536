// The clipping of a blit, on sizes alone (DDClipBlt applies it to surfaces).
//
// A blit copies the sw x sh source rectangle at (sx, sy) onto the w x h
// destination rectangle at (x, y); negative sw (sh) reads the source right
// to left (bottom to top). Clipping limits the source to its picture (a
// negative source start is raised to 0 without moving the destination), then
// cuts what falls outside the destination, moving the source by the same
// share. Unscaled blits (sw = w, sh = h) move pixel for pixel; scaled ones by
// the factor sw / w (truncated). The destination size of a scaled blit is
// sw / factor on Direct3D and the clipped destination end minus x on
// DirectDraw. True when something is left to draw.
#pragma once

struct BltRects {
  int x = 0, y = 0, w = 0, h = 0;      // destination
  int sx = 0, sy = 0, sw = 0, sh = 0;  // source
};

enum class BltSizeRule { Direct3D, DirectDraw };

bool ClipBltRects(int destinationWidth, int destinationHeight, int sourceWidth, int sourceHeight, BltSizeRule rule,
                  BltRects& rects);
