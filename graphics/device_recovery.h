// Recovering the drawing surfaces after the display took their memory away.
//
// Direct3D: the device reports the loss when presenting, and the game
// thread asks the main window to restore it; DDRestoreSurface runs there,
// on the main thread, while the game thread waits for the answer, so nothing
// draws meanwhile. It releases every video-memory texture and level surface
// (Reset is refused while one is alive), resets the device once it may be
// reset, and makes every listed texture again: from its file, or empty and
// marked bRecreated so that its owner redraws it. The digit strips, whose
// owner is the graphics layer itself, are drawn again here. A texture that
// no longer fits in video memory moves to system memory, as at its first
// creation.
//
// DirectDraw: every surface reports itself lost; DDRestore (game thread)
// restores the primary, the back buffer and the image table and reloads
// what came from files. DDRestoreLostSurface is that step for one surface,
// also used for the image sets the scenes own.
#pragma once

#include "graphics/surface_data.h"

// 1 when the device was reset and everything made again (and in DirectDraw
// mode, which has no device to reset); 0 while the device cannot be reset
// yet or the reset failed: a later request tries again.
int DDRestoreSurface();

// Always true (in Direct3D mode it does nothing).
bool DDRestore();

// DirectDraw: a surface that is lost is restored, then refilled: from its
// file unless it lives in system memory, blank (palette colour 0, as made,
// and marked bRestored for its owner to redraw) when it has no file. False only when the reload failed; true for a record
// without a DirectDraw surface or one that is not lost.
bool DDRestoreLostSurface(DDSURFACEDATA* lpSD);
