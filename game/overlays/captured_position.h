// A position taken the first time an overlay is drawn and held from then on
// (pictures and message windows that stay where they first appeared).
#pragma once

#include <cstdint>

struct sCapturedPosition {
  std::int32_t bCaptured = 0;
  std::int32_t nX = 0, nY = 0;

  // The first call keeps (x, y); every call gives back what was kept.
  void Hold(int& x, int& y) {
    if (!bCaptured) {
      bCaptured = 1;
      nX = x;
      nY = y;
    }
    x = nX;
    y = nY;
  }
  void Release() { bCaptured = 0; }
};
