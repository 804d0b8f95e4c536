// The screen effects a flow starts from the database's screen effects: the
// finished stage frame is moved, shaken, split, waved, blinked, rotated,
// cut to a circle round the hero, zoomed, seen through a lens or turned to
// a mosaic for the effect's run time.
//
// The stage drawing calls DrawScreenEffect after the objects, effects and
// message windows and before the status bar, with the frame drawn into the
// virtual back buffer while an effect runs. Most kinds copy the frame into
// a work surface (image 67, or 68 for the software effects), clear the
// frame to the backdrop colour and draw the copy back distorted; a paused
// frame draws without stepping. Parameters that would divide by zero or
// give negative sizes are clamped to the nearest meaningful value.
#pragma once

#include <array>
#include <functional>

#include "game/effects/effect_run.h"
#include "model/database/effect_kinds.h"

// What the effects need of the stage.
struct sScreenEffectView {
  // The hero's centre on the screen (circle, zoom and lens).
  int nCentreX = 320, nCentreY = 240;
  // The blink hides the stage by drawing both background layers over it.
  std::function<void()> drawBackgrounds;
};

// The view with the hero's centre on the screen (its sprite rectangle as
// last placed; the screen's centre without a hero); drawBackgrounds is
// left for the caller.
class cGameObject;
sScreenEffectView ScreenEffectViewOf(const cGameObject* pHero);

// One handler per kind: draws the frame of the run and, unless paused,
// steps it; 1 when the effect has ended.
using ScrEffectHandler = int (*)(cScrEffectRun& run, const cEdScrEffect& entry, const sScreenEffectView& view,
                                 int bPaused);
extern const std::array<ScrEffectHandler, SCR_EFFECT_KIND_COUNT> g_ScrEffectHandlers;

extern const double g_dSqrt2;

// The running effect (its number nIndex, 0 none) drawn over the frame. When
// it ends the number becomes 0 and the virtual back buffer is switched off.
// A number outside the database is reported and the window asked to close
// (entry 0 is used); a kind outside the table draws nothing.
void DrawScreenEffect(cScrEffectRun& run, const sScreenEffectView& view, int bPaused);
