#include "base/timer.h"

#include "platform/clock.h"

namespace {

std::uint32_t g_nFrameStart = 0;

bool g_bFpsStarted = false;
std::uint32_t g_nFpsSecondStart = 0;
int g_nFpsCount = 0;
int g_nFpsLast = 0;

bool g_bLimiterStarted = false;
std::uint32_t g_nNextTick = 0;
// The part of a millisecond, in 1/fps ms, that the ticks so far fell short
// of 1000 / fps each.
unsigned g_nTickRemainder = 0;

int g_nStepCounter = 0;

// Milliseconds from now to the next allowed tick; zero or less once passed.
// Taken as a signed difference so that a tick beyond the wrap of the clock
// is still in the future.
std::int32_t MsUntilNextTick(std::uint32_t now) {
  return static_cast<std::int32_t>(g_nNextTick - now);
}

// The whole milliseconds of the next step: 1000 / fps, one more whenever the
// fractions left out add up to a millisecond (16, 17, 17 ... at 60).
std::uint32_t NextStepMs(unsigned fps) {
  g_nTickRemainder += 1000 % fps;
  std::uint32_t step = 1000 / fps;
  if (g_nTickRemainder >= fps) {
    g_nTickRemainder -= fps;
    ++step;
  }
  return step;
}

}  // namespace

std::uint32_t StartTimer() {
  g_nFrameStart = platform::timeGetTime();
  return g_nFrameStart;
}

std::uint32_t GetElapsedTime() { return platform::timeGetTime() - g_nFrameStart; }

int CountFps() {
  const std::uint32_t now = platform::timeGetTime();
  if (!g_bFpsStarted) {
    g_bFpsStarted = true;
    g_nFpsSecondStart = now;
  }
  if (now - g_nFpsSecondStart < 1000) {
    ++g_nFpsCount;
    return g_nFpsLast;
  }
  g_nFpsLast = g_nFpsCount;
  g_nFpsSecondStart = now;
  g_nFpsCount = 0;
  return g_nFpsLast;
}

bool WaitFrame(unsigned fps) {
  const std::uint32_t now = platform::timeGetTime();
  if (!g_bLimiterStarted) {
    g_bLimiterStarted = true;
    g_nNextTick = now;
  }
  if (fps == 0) return true;
  if (MsUntilNextTick(now) > 0) return false;
  const std::uint32_t step = NextStepMs(fps);
  // A caller that comes late by less than a step keeps the rhythm of the
  // ticks, so that late wake-ups do not slow the rate; one a whole step late
  // or more (a long frame) counts from now: that time is not made up.
  g_nNextTick = now - g_nNextTick < step ? g_nNextTick + step : now + step;
  return true;
}

void WaitForNextFrame(unsigned fps) {
  while (!WaitFrame(fps)) {
    // Sleep to a millisecond before the tick, then a millisecond at a time:
    // a sleep may end late, never early.
    const std::int32_t left = MsUntilNextTick(platform::timeGetTime());
    platform::Sleep(left > 2 ? static_cast<std::uint32_t>(left - 1) : 1);
  }
}

int StepCounter(int mode, int period) {
  if (mode == 0) {
    g_nStepCounter = 0;
    return 0;
  }
  if (mode == 2) return g_nStepCounter == 0 ? 1 : 0;
  // Reaching the period means getting to it or past it, so a period below 1
  // (or one lowered while counting) still ends the count instead of letting
  // it grow without end.
  if (++g_nStepCounter >= period) {
    g_nStepCounter = 0;
    return 1;
  }
  return 0;
}

void ResetTimers() {
  g_nFrameStart = 0;
  g_bFpsStarted = false;
  g_nFpsSecondStart = 0;
  g_nFpsCount = 0;
  g_nFpsLast = 0;
  g_bLimiterStarted = false;
  g_nNextTick = 0;
  g_nTickRemainder = 0;
  g_nStepCounter = 0;
}
