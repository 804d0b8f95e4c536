#include "graphics/fade_progress.h"

#include <cmath>

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

}  // namespace

double g_dFadeOutAngleD3D = 90.0;
double g_dFadeOutAngleDD = 90.0;
double g_dFadeInAngleD3D = 0.0;
double g_dFadeInAngleDD = 0.0;

int FadeCoverAlpha(double dAngle) {
  return 255 - static_cast<int>(std::trunc(std::sin(dAngle * kRadiansPerDegree) * 255.0));
}

int FadeLevel(double dAngle) { return static_cast<int>(std::trunc(std::sin(dAngle * kRadiansPerDegree) * 256.0)); }

bool AdvanceFadeOut(double& dAngle, double dStep) {
  if (dAngle > 0.0) {
    dAngle -= dStep;
    if (dAngle < 0.0) dAngle = 0.0;
    return false;
  }
  dAngle = 90.0;
  return true;
}

bool AdvanceFadeIn(double& dAngle, double dStep) {
  if (dAngle < 90.0) {
    dAngle += dStep;
    if (dAngle > 90.0) dAngle = 90.0;
    return false;
  }
  dAngle = 0.0;
  return true;
}
