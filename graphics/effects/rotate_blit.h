// The rotated blit: the nWidth x nHeight rectangle at (sx, sy) of src turned
// by nAngle degrees (clockwise on the screen) about the pivot (nPivotX,
// nPivotY) of the rectangle, on either back end.
//
// Direct3D draws one rotated textured quad with the blit colour and
// operations of graphics/blit_state.h (the pivot lands at
// (x + nPivotX - nWidth / 2, y + nPivotY - nHeight / 2)), unless a surface is
// a system-memory texture. Otherwise, and always on DirectDraw, every
// destination pixel of the turned rectangle's box is mapped back into the
// rectangle with sine and cosine in 10-bit fixed point (truncated, shifts
// flooring) and the source value copied unchanged (the pivot lands at
// (x, y)); with dwFlags 1 source pixels equal to g_dwTransmit are left out.
// Points outside the rectangle or src leave their destination pixel as it
// was (16-bit texture pixels are converted onto the full-screen Direct3D
// back buffer). With the pivot in the middle both paths put the middle at
// (x, y).
//
// False only when a surface fails to lock on the software path; a missing
// surface draws nothing. Game thread only.
#pragma once

#include "graphics/surface_data.h"

bool DDBltRotate(DDSURFACEDATA* lpDst, int x, int y, int nWidth, int nHeight, int nPivotX, int nPivotY, int nAngle,
                 DDSURFACEDATA* lpSrc, int sx, int sy, int dwFlags);

// The fixed-point sine and cosine of the software path: sin and cos of
// nAngle degrees times 1024, truncated toward zero.
struct FixedRotation {
  int nSin = 0, nCos = 0;
};
FixedRotation FixedRotationOf(int nAngle);
