// The progress of the whole-screen fades: an angle in degrees per kind and
// back end. A fade out runs its angle from 90 down to 0, a fade in from 0 up
// to 90, one step per call; the call that draws the end state reports
// completion and puts the angle back to its start, so the next fade starts
// fresh. A fade stopped half way leaves its angle where it stopped. With a
// step of 10 a fade takes 10 calls (ceil(90 / step) + 1).
#pragma once

extern double g_dFadeOutAngleD3D;  // starts at 90
extern double g_dFadeOutAngleDD;   // starts at 90
extern double g_dFadeInAngleD3D;   // starts at 0
extern double g_dFadeInAngleDD;    // starts at 0

// Direct3D: the alpha of the black cover, 255 - trunc(sin(angle) * 255):
// 0 at 90 degrees, 255 at 0.
int FadeCoverAlpha(double dAngle);

// DirectDraw: the weight of the picture, trunc(sin(angle) * 256), 0..256.
int FadeLevel(double dAngle);

// After a step has drawn: moves the angle on by dStep, clamped at its end;
// at the end instead puts it back to its start and returns true.
bool AdvanceFadeOut(double& dAngle, double dStep);
bool AdvanceFadeIn(double& dAngle, double dStep);
