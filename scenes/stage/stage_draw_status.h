// The stage's status bar and time-limit digits, drawn over the frame after
// the screen effect.
//
// The status bar shows the System's five items in order (running total,
// stage score, HP gauge, SP gauge, lives), each with a label or a 16 x 16
// icon, spread evenly over 638 pixels on the bar picture (image 46). Icons
// and gauges come from the accessory sheet (image 49); texts use the text
// font, gauge numbers the small font. The time limit is the time left in
// the 32 x 32 digits of image 51 at (272, 24).
#pragma once

#include "graphics/surface_data.h"

class cActor;
class cStagePlay;

struct sStatusBarValues {
  int nTotalScore = 0;
  int nStageScore = 0;
  int nHp = 0, nMaxHp = 0;
  int nSp = 0, nMaxSp = 0;
  int nLives = 0;  // 999999: unlimited
};

// The progress's scores and lives with the hero's HP and SP (0 without a
// hero).
sStatusBarValues StatusBarValuesOf(const cActor* pHero);

// Nothing when no item is shown or the loaded stage hides the bar. Gauges
// of HP below 0 or above the maximum show empty or full.
void DrawStatusBar(DDSURFACEDATA* lpSD, const sStatusBarValues& values);

// Nothing while the time is stopped (also a stage without a time limit).
// With bSound, at the start of each second of the last seconds the stage
// warns about, system sound 13 is requested.
void DrawTimeLimit(const cStagePlay& play, DDSURFACEDATA* lpSD, int bSound);
