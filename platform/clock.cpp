#include "platform/clock.h"

#include <cerrno>
#include <sched.h>
#include <time.h>

namespace platform {

namespace {

RealClock g_RealClock;
std::atomic<Clock*> g_pClock{&g_RealClock};

}  // namespace

std::uint32_t RealClock::NowMs() {
  timespec now;
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                  static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(ms);  // wraps like the Windows timer
}

void RealClock::SleepMs(std::uint32_t ms) {
  if (ms == 0) {
    ::sched_yield();
    return;
  }
  timespec left{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

Clock* SetClock(Clock* clock) { return g_pClock.exchange(clock ? clock : &g_RealClock); }

std::uint32_t timeGetTime() { return g_pClock.load()->NowMs(); }

void Sleep(std::uint32_t ms) { g_pClock.load()->SleepMs(ms); }

}  // namespace platform
