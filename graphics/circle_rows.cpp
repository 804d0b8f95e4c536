#include "graphics/circle_rows.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

int HalfChord(std::int64_t radius, std::int64_t middle) {
  const std::int64_t square = radius * radius - middle * middle;
  const std::int64_t half = square > 0 ? static_cast<std::int64_t>(std::sqrt(static_cast<double>(square))) : 0;
  return static_cast<int>(std::min(half, radius - 1));
}

}  // namespace

std::vector<CircleBlt> CircleBltRows(int x, int y, int halfWidth, int halfHeight, int radius, int band,
                                     int destinationHeight, int sourceWidth, int sx, int sy) {
  std::vector<CircleBlt> rows;
  if (radius <= 0 || band <= 0) return rows;
  const std::int64_t left = std::max<std::int64_t>(0, std::int64_t{sx} - halfWidth);
  const std::int64_t right = std::min<std::int64_t>(std::int64_t{sx} + halfWidth, sourceWidth);
  const auto add = [&](std::int64_t first, std::int64_t middle, int count) {
    const int half = HalfChord(radius, middle);
    std::int64_t source = std::int64_t{sx} - half;
    std::int64_t destination = std::int64_t{x} - half;
    std::int64_t width = 2 * std::int64_t{half};
    if (source < left) {
      destination += left - source;
      width -= left - source;
      source = left;
    }
    if (source + width >= right) width = right - source;
    if (width <= 0) return;
    rows.push_back({static_cast<int>(destination), static_cast<int>(y + first), static_cast<int>(source),
                    static_cast<int>(sy + first), static_cast<int>(width), count});
  };
  // Rows outside the destination draw nothing: the walks skip them in one
  // step, so a huge radius or box costs no more than the destination's rows.
  const std::int64_t below = std::int64_t{destinationHeight} - y;  // first offset under the destination
  const std::int64_t above = -std::int64_t{y};                      // first offset on it
  if (band == 1) {
    const std::int64_t first = std::min({std::int64_t{radius} - 1, std::int64_t{halfHeight} - 1, below - 1});
    const std::int64_t last = std::max({-std::int64_t{radius}, -std::int64_t{halfHeight}, above});
    for (std::int64_t i = first; i >= last; --i) add(i, i, 1);
    return rows;
  }
  const auto skipFrom = [band](std::int64_t j, std::int64_t limit) {  // first j below limit
    return j >= limit ? j - ((j - limit) / band + 1) * band : j;
  };
  std::int64_t j = skipFrom(std::int64_t{radius} - band, halfHeight);
  for (bool first = true; j >= -std::int64_t{radius}; j -= band, first = false) {
    if (!first) j = skipFrom(j, below);  // after the first band none moves up
    if (j < -std::int64_t{radius}) break;
    if (j + band <= -std::int64_t{halfHeight}) break;
    if (j + band > halfHeight) j = std::int64_t{halfHeight} - band;
    if (j < -std::int64_t{halfHeight}) j = -std::int64_t{halfHeight};
    if (j + band <= above) break;
    if (j < below) add(j, j + (band >> 1), band);
  }
  return rows;
}
