// The millisecond clock and sleeping.
//
// timeGetTime gives unsigned 32-bit milliseconds from an arbitrary start;
// it wraps around after about 49.7 days, so callers take differences with
// unsigned arithmetic. The clock is swappable: the real one follows the
// monotonic system clock and Sleep really sleeps; a VirtualClock stands
// still until it is advanced, and Sleep on it advances it by the time slept
// instead of waiting, so that timed code runs deterministically in tests and
// headless runs.
#pragma once

#include <atomic>
#include <cstdint>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t NowMs() = 0;
  virtual void SleepMs(std::uint32_t ms) = 0;
};

class RealClock : public Clock {
 public:
  std::uint32_t NowMs() override;
  void SleepMs(std::uint32_t ms) override;  // 0 only yields the processor
};

class VirtualClock : public Clock {
 public:
  explicit VirtualClock(std::uint32_t startMs = 0) : m_nNow(startMs) {}
  std::uint32_t NowMs() override { return m_nNow.load(); }
  void SleepMs(std::uint32_t ms) override { Advance(ms); }
  void Advance(std::uint32_t ms) { m_nNow.fetch_add(ms); }
  void Set(std::uint32_t ms) { m_nNow.store(ms); }

 private:
  std::atomic<std::uint32_t> m_nNow;
};

// Installs the clock used from now on; nullptr puts back the real clock.
// Returns the clock it replaced. The caller keeps the clock alive while it
// is installed.
Clock* SetClock(Clock* clock);

std::uint32_t timeGetTime();
void Sleep(std::uint32_t ms);

}  // namespace platform
