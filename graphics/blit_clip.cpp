#include "graphics/blit_clip.h"

#include <algorithm>
#include <cstdint>

namespace {

// Values below are kept in 64 bits: the rectangles come from data files.
using Wide = std::int64_t;

// One axis of an unscaled blit. False when nothing is left.
void ClipUnscaled(Wide destinationSize, Wide sourceSize, Wide& d, Wide& n, Wide& s) {
  Wide start = std::max<Wide>(s, 0);
  Wide end = std::min<Wide>(s + n, sourceSize);
  if (d < 0) {
    start -= d;
    d = 0;
  }
  if (d + (end - start) > destinationSize) end = destinationSize - d + start;
  n = end - start;
  s = start;
}

// One axis of a scaled blit: n destination pixels from m source pixels.
void ClipScaled(Wide destinationSize, Wide sourceSize, BltSizeRule rule, Wide& d, Wide& n, Wide& s, Wide& m) {
  const double factor = static_cast<double>(m) / static_cast<double>(n);
  Wide start = std::max<Wide>(s, 0);
  Wide end = std::min<Wide>(s + m, sourceSize);
  Wide destinationEnd = d + n;
  if (d < 0) {
    start = static_cast<Wide>(static_cast<double>(start) - factor * static_cast<double>(d));
    d = 0;
  }
  if (destinationEnd > destinationSize) {
    end = static_cast<Wide>(static_cast<double>(end) - factor * static_cast<double>(destinationEnd - destinationSize));
    destinationEnd = destinationSize;
  }
  m = end - start;
  s = start;
  n = rule == BltSizeRule::Direct3D ? static_cast<Wide>(static_cast<double>(m) / factor) : destinationEnd - d;
}

bool SameSign(Wide a, Wide b) { return (a < 0) == (b < 0); }

}  // namespace

bool ClipBltRects(int destinationWidth, int destinationHeight, int sourceWidth, int sourceHeight, BltSizeRule rule,
                  BltRects& rects) {
  if (rects.w <= 0 || rects.h <= 0) return false;
  Wide x = rects.x, y = rects.y, w = rects.w, h = rects.h;
  Wide sx = rects.sx, sy = rects.sy, sw = rects.sw, sh = rects.sh;
  const Wide askedSw = sw, askedSh = sh;
  if (sw == w && sh == h) {
    ClipUnscaled(destinationWidth, sourceWidth, x, w, sx);
    ClipUnscaled(destinationHeight, sourceHeight, y, h, sy);
    sw = w;
    sh = h;
  } else {
    if (sw == 0 || sh == 0) return false;
    ClipScaled(destinationWidth, sourceWidth, rule, x, w, sx, sw);
    ClipScaled(destinationHeight, sourceHeight, rule, y, h, sy, sh);
  }
  if (sw == 0 || sh == 0 || !SameSign(sw, askedSw) || !SameSign(sh, askedSh) || w <= 0 || h <= 0) return false;
  for (Wide v : {x, y, w, h, sx, sy, sw, sh})
    if (v < INT32_MIN || v > INT32_MAX) return false;
  rects = {static_cast<int>(x),  static_cast<int>(y),  static_cast<int>(w),  static_cast<int>(h),
           static_cast<int>(sx), static_cast<int>(sy), static_cast<int>(sw), static_cast<int>(sh)};
  return true;
}
