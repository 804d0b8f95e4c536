// The lens blit: the disc of nRadius around (sx, sy) of src drawn around
// (x, y) of dst as if seen through a convex lens of depth nDepth (0 or more;
// the smaller against the radius, the stronger the magnification, L / nDepth
// at the centre with L the truncated root of nRadius^2 + nDepth^2, falling
// to about 1 at the rim).
//
// Destination pixel (x + j, y + i) of the disc (i^2 + j^2 <= nRadius^2)
// shows source pixel (sx + u, sy + v), u = trunc(j * nDepth / q + 0.5) and
// v likewise with q = sqrt(L^2 - i^2 - j^2) (u = j, v = i where q is 0).
// Source points outside the screen size (g_nScreenWidth x
// g_nScreenHeight) or outside src, and transparent source pixels (whatever
// dwFlags says), leave their destination pixel as it was; values are copied
// unchanged (16-bit texture pixels converted onto the full-screen Direct3D
// back buffer). Always computed on locked surfaces, on either back end.
//
// False when the arguments describe no lens (a negative radius or depth, or
// L <= nDepth) or a surface fails to lock; else true. Game thread only.
#pragma once

#include "graphics/surface_data.h"

bool DDBltLens(DDSURFACEDATA* lpDst, int x, int y, int nRadius, int nDepth, DDSURFACEDATA* lpSrc, int sx, int sy,
               int dwFlags);
