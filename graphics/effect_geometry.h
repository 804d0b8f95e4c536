// Where the frame, digit and raster effects put their blits.
//
// Each effect is a handful of plain or stretched blits (and fills for
// frames); these functions compute them, in drawing order, and the effects
// hand them to the blit primitives. Sizes that leave nothing to draw (a band
// of 0 or less, a card narrower than 2, a wave over an empty area) give no
// blits instead of dividing by zero. Nothing is clipped here: clipping is the
// primitives'.
#pragma once

#include <vector>

// A w x h source area at (sx, sy) drawn at (x, y).
struct BandBlt {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  int sx = 0;
  int sy = 0;
  bool operator==(const BandBlt&) const = default;
};

struct FillRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool operator==(const FillRect&) const = default;
};

// DDDrawFrame: top, bottom, left and right edges of nThick inside the
// rectangle.
std::vector<FillRect> FrameEdges(int x, int y, int w, int h, int nThick);

// DDDrawNumber: one cell per decimal digit, most significant first, moved
// right to fill nMinDigits cells (by half of that when centred). A negative
// value draws as 0. Source x of digit d is sx + d * cw.
std::vector<BandBlt> NumberCells(int x, int y, int cw, int ch, int sx, int sy, int nValue, int nMinDigits,
                                 bool bCenter);

// DDBltWave: bands of nBand rows (or columns) shifted along a sine.
std::vector<BandBlt> WaveBands(int x, int y, int w, int h, int nCycles, double dAmplitude, int nPhase, int nBand,
                               int sx, int sy, bool bColumns);

// DDBltInterlace: the odd bands shifted by -nShift, then the even ones by
// +nShift; a band of 0 is the whole area unshifted.
std::vector<BandBlt> InterlaceBands(int x, int y, int w, int h, int nBand, int nShift, int sx, int sy,
                                    bool bColumns);

// DDBltCardFlip: the narrowed rectangle a face is stretched into, and
// which face shows.
struct CardFlipFrame {
  bool bVisible = false;  // false for an unknown axis or a size below 2
  bool bBack = false;
  FillRect rect;
};
CardFlipFrame CardFlip(int x, int y, int w, int h, int nFrame, int nAxis);

// DDBltQuarters: top-left, top-right, bottom-left, bottom-right, each
// nDistance further from the centre along the diagonal.
std::vector<BandBlt> Quarters(int x, int y, int w, int h, int sx, int sy, int nDistance);
