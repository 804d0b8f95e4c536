#include "scenes/stage/screen_effect.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/checked_access.h"
#include "game/core/numeric.h"
#include "game/objects/game_object.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/effects/lens_blit.h"
#include "graphics/effects/mosaic_blur.h"
#include "graphics/effects/rotate_blit.h"
#include "graphics/frame_effects.h"
#include "graphics/image_table.h"
#include "graphics/scene.h"
#include "graphics/surface_effects.h"
#include "model/database/database.h"
#include "scenes/stage/stage_draw_layers.h"

const double g_dSqrt2 = std::sqrt(2.0);

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int IMAGE_EFFECT_COPY = 67, IMAGE_EFFECT_WORK = 68;
// A circle this large covers the whole screen from any centre on it.
constexpr int kMaxCircleRadius = 1024;

DDSURFACEDATA* Frame() { return &g_sdBackBuffer; }
DDSURFACEDATA* Work(int image) { return &g_SurfaceTable[image]; }

// The frame copied into the work surface; with bClear the frame becomes the
// backdrop.
DDSURFACEDATA* CopyFrame(int image, bool bClear = true) {
  DDSURFACEDATA* work = Work(image);
  DDBlt(work, 0, 0, kWidth, kHeight, Frame(), 0, 0, 0);
  if (bClear) DDFillRectPal(Frame(), 0, 0, kWidth, kHeight, kBackdropColour);
  return work;
}

// The run time in tenths of a second; at least 1, it divides.
int RunTime(const cEdScrEffect& entry) { return std::max(entry.m_anParam[0], 1); }

int Step(cScrEffectRun& run, int start, int end, int bPaused) {
  return bPaused ? 0 : (run.StepValue(start, end, run.dRate) != 0 ? 1 : 0);
}
int StepTimer(cScrEffectRun& run, const cEdScrEffect& entry, int bPaused) {
  return Step(run, 0, entry.m_anParam[0], bPaused);
}
int StepRange(cScrEffectRun& run, const cEdScrEffect& entry, int bPaused) {
  return Step(run, entry.m_anParam[1], entry.m_anParam[2], bPaused);
}

int NonNegative(double value) { return std::max(TruncToInt(value), 0); }

int ScrEffectNone(cScrEffectRun&, const cEdScrEffect&, const sScreenEffectView&, int) { return 0; }

int ScrEffectMove(cScrEffectRun& run, const cEdScrEffect& entry, const sScreenEffectView&, int bPaused) {
  DDSURFACEDATA* copy = CopyFrame(IMAGE_EFFECT_COPY);
  DDBlt(Frame(), run.anState[0], run.anState[1], kWidth, kHeight, copy, 0, 0, 0);
  if (bPaused) return 0;
  const std::int32_t* p = entry.m_anParam;
  const double time = RunTime(entry);
  run.anState[0] = TruncToInt((static_cast<double>(p[3]) - p[1]) / time * run.dValue + p[1]);
  run.anState[1] = TruncToInt(run.dValue * ((static_cast<double>(p[4]) - p[2]) / time) + p[2]);
  return StepTimer(run, entry, bPaused);
}

// The shake: the picture swings between -P1 and +P1, P2 full swings (4 P1
// pixels each) over the run time.
int Shake(cScrEffectRun& run, const cEdScrEffect& entry, int bPaused, bool bVertical) {
  DDSURFACEDATA* copy = CopyFrame(IMAGE_EFFECT_COPY);
  const int offset = TruncToInt(run.dSpare);
  DDBlt(Frame(), bVertical ? 0 : offset, bVertical ? offset : 0, kWidth, kHeight, copy, 0, 0, 0);
  if (bPaused) return 0;
  const std::int32_t* p = entry.m_anParam;
  const double swing = TruncToInt(static_cast<double>(p[2]) * p[1] * 4) / (RunTime(entry) * 6.0);
  if (run.anState[0] == 1) {
    run.dSpare -= swing;
    if (run.dSpare <= -p[1]) {
      run.dSpare = -p[1];
      run.anState[0] = 0;
    }
  } else {
    run.dSpare += swing;
    if (run.dSpare >= p[1]) {
      run.dSpare = p[1];
      run.anState[0] = 1;
    }
  }
  return StepTimer(run, entry, bPaused);
}
int ScrEffectShakeX(cScrEffectRun& run, const cEdScrEffect& entry, const sScreenEffectView&, int bPaused) {
  return Shake(run, entry, bPaused, false);
}
int ScrEffectShakeY(cScrEffectRun& run, const cEdScrEffect& entry, const sScreenEffectView&, int bPaused) {
  return Shake(run, entry, bPaused, true);
}

// Bands of the size divided into P3 parts (at least one), shifted apart.
int Split(cScrEffectRun& run, const cEdScrEffect& entry, int bPaused, bool bColumns) {
  DDSURFACEDATA* copy = CopyFrame(IMAGE_EFFECT_COPY);
  const int parts = std::max(entry.m_anParam[3], 1);
  const int band = ((bColumns ? kWidth : kHeight) + parts - 1) / parts;
  DDBltInterlace(Frame(), 0, 0, kWidth, kHeight, band, TruncToInt(run.dValue), copy, 0, 0, 0, bColumns ? 1 : 0);
  return StepRange(run, entry, bPaused);
}
int ScrEffectSplitX(cScrEffectRun& run, const cEdScrEffect& entry, const sScreenEffectView&, int bPaused) {
  return Split(run, entry, bPaused, false);
}
int ScrEffectSplitY(cScrEffectRun& run, const cEdScrEffect& entry, const sScreenEffectView&, int bPaused) {
  return Split(run, entry, bPaused, true);
}

// P3 waves of the value's amplitude in bands of P4 lines (at least one),
// the phase turning a degree a frame.
int Wave(cScrEffectRun& run, const cEdScrEffect& entry, int bPaused, bool bColumns) {
  DDSURFACEDATA* copy = CopyFrame(IMAGE_EFFECT_COPY);
  const std::int32_t* p = entry.m_anParam;
  DDBltWave(Frame(), 0, 0, kWidth, kHeight, p[3], run.dValue, run.anState[0], std::max(p[4], 1), copy, 0, 0, 0,
            bColumns ? 1 : 0);
  if (bPaused) return 0;
  if (++run.anState[0] >= 360) run.anState[0] = 0;
  return StepRange(run, entry, bPaused);
}
int ScrEffectWaveX(cScrEffectRun& run, const cEdScrEffect& entry, const sScreenEffectView&, int bPaused) {
  return Wave(run, entry, bPaused, false);
}
int ScrEffectWaveY(cScrEffectRun& run, const cEdScrEffect& entry, const sScreenEffectView&, int bPaused) {
  return Wave(run, entry, bPaused, true);
}

// The stage hidden behind its backgrounds every other P1 frames.
int ScrEffectBlink(cScrEffectRun& run, const cEdScrEffect& entry, const sScreenEffectView& view, int bPaused) {
  if (run.anState[1] == 0 && view.drawBackgrounds) view.drawBackgrounds();
  if (run.anState[0] >= entry.m_anParam[1]) {
    run.anState[0] = 0;
    run.anState[1] = run.anState[1] ? 0 : 1;
  }
  if (bPaused) return 0;
  ++run.anState[0];
  return StepTimer(run, entry, bPaused);
}

int ScrEffectRotate(cScrEffectRun& run, const cEdScrEffect& entry, const sScreenEffectView&, int bPaused) {
  DDSURFACEDATA* copy = CopyFrame(IMAGE_EFFECT_WORK);
  DDBltRotate(Frame(), kWidth / 2, kHeight / 2, kWidth, kHeight, kWidth / 2, kHeight / 2, TruncToInt(run.dValue), copy,
              0, 0, 0);
  return StepRange(run, entry, bPaused);
}

// The larger distance from the centre to the screen's edges on each axis.
int ReachX(int cx) { return cx >= kWidth / 2 ? cx : kWidth - cx; }
int ReachY(int cy) { return cy >= kHeight / 2 ? cy : kHeight - cy; }

int ScrEffectCircle(cScrEffectRun& run, const cEdScrEffect& entry, const sScreenEffectView& view, int bPaused) {
  DDSURFACEDATA* copy = CopyFrame(IMAGE_EFFECT_COPY);
  const int cx = view.nCentreX, cy = view.nCentreY;
  const int radius = std::min(NonNegative(run.dValue), kMaxCircleRadius);
  DDBltCircle(Frame(), cx, cy, ReachX(cx), ReachY(cy), radius, std::max(entry.m_anParam[3], 1), copy, cx, cy, 0);
  return StepRange(run, entry, bPaused);
}

// The value is the width the screen is shown at (640 the normal size).
int ScrEffectZoom(cScrEffectRun& run, const cEdScrEffect& entry, const sScreenEffectView& view, int bPaused) {
  const double z = std::max(run.dValue, 0.0) * 0.0015625;
  if (z >= 1) {
    DDSURFACEDATA* copy = CopyFrame(IMAGE_EFFECT_WORK, false);
    const double w = kWidth / z, h = kHeight / z;
    int x = TruncToInt(view.nCentreX - w * 0.5), y = TruncToInt(view.nCentreY - h * 0.5);
    if (x + TruncToInt(w) > kWidth - 1) x = TruncToInt(kWidth - w);
    if (x < 0) x = 0;
    if (y + TruncToInt(h) > kHeight - 1) y = TruncToInt(kHeight - h);
    if (y < 0) y = 0;
    DDBltStretch(Frame(), 0, 0, kWidth, kHeight, copy, x, y, TruncToInt(w), TruncToInt(h), 1);
  } else {
    DDSURFACEDATA* copy = CopyFrame(IMAGE_EFFECT_WORK);
    DDBltStretch(Frame(), TruncToInt((kWidth - kWidth * z) * 0.5), TruncToInt((kHeight - kHeight * z) * 0.5),
                 TruncToInt(kWidth * z), TruncToInt(kHeight * z), copy, 0, 0, kWidth, kHeight, 1);
  }
  return StepRange(run, entry, bPaused);
}

// A lens over the whole screen around the hero's centre moved by (P3, P4);
// the centre stays within a screen beyond each edge.
int ScrEffectLens(cScrEffectRun& run, const cEdScrEffect& entry, const sScreenEffectView& view, int bPaused) {
  const std::int32_t* p = entry.m_anParam;
  const int ex = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{view.nCentreX} + p[3], -kWidth, 2 * kWidth));
  const int ey = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{view.nCentreY} + p[4], -kHeight, 2 * kHeight));
  const int r = TruncToInt(g_dSqrt2 * std::max(ReachX(ex), ReachY(ey)));
  const int side = g_nBpp == 16 ? 4 * r : 2 * r;
  DDFillRectPal(Work(IMAGE_EFFECT_WORK), 0, 0, side, side, 0);
  DDSURFACEDATA* copy = CopyFrame(IMAGE_EFFECT_WORK);
  DDBltLens(Frame(), ex, ey, r, NonNegative(run.dValue), copy, ex, ey, 0);
  return StepRange(run, entry, bPaused);
}

int ScrEffectMosaic(cScrEffectRun& run, const cEdScrEffect& entry, const sScreenEffectView&, int bPaused) {
  DDSURFACEDATA* copy = CopyFrame(IMAGE_EFFECT_WORK);
  DDMosaic(Frame(), 0, 0, kWidth, kHeight, std::max(TruncToInt(run.dValue), 1), copy, 0, 0, 0);
  return StepRange(run, entry, bPaused);
}

}  // namespace

const std::array<ScrEffectHandler, SCR_EFFECT_KIND_COUNT> g_ScrEffectHandlers = {
    ScrEffectNone,   ScrEffectMove,   ScrEffectShakeX, ScrEffectShakeY, ScrEffectSplitX,
    ScrEffectSplitY, ScrEffectWaveX,  ScrEffectWaveY,  ScrEffectBlink,  ScrEffectRotate,
    ScrEffectCircle, ScrEffectZoom,   ScrEffectLens,   ScrEffectMosaic,
};

sScreenEffectView ScreenEffectViewOf(const cGameObject* pHero) {
  sScreenEffectView view;
  if (pHero) {
    view.nCentreX = pHero->CenterX();
    view.nCentreY = pHero->CenterY();
  }
  return view;
}

void DrawScreenEffect(cScrEffectRun& run, const sScreenEffectView& view, int bPaused) {
  if (run.nIndex == 0) return;
  const int kind = CheckedAt(g_Database.m_vScrEffect, run.nIndex).m_nKind;
  if (kind < 0 || kind >= SCR_EFFECT_KIND_COUNT) return;
  if (g_ScrEffectHandlers[static_cast<std::size_t>(kind)](run, run.Entry(), view, bPaused) == 1) {
    run.nIndex = 0;
    DDSetVirBackBuffer(0);
  }
}
