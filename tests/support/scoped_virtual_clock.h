// Installs a virtual clock for one test (time stands still until advanced;
// Sleep advances it) and puts the previous clock back afterwards.
#pragma once

#include "platform/clock.h"

class ScopedVirtualClock : public platform::VirtualClock {
 public:
  explicit ScopedVirtualClock(std::uint32_t startMs = 0)
      : VirtualClock(startMs), m_pPrevious(platform::SetClock(this)) {}
  ~ScopedVirtualClock() override { platform::SetClock(m_pPrevious); }
  ScopedVirtualClock(const ScopedVirtualClock&) = delete;
  ScopedVirtualClock& operator=(const ScopedVirtualClock&) = delete;

 private:
  platform::Clock* m_pPrevious;
};
