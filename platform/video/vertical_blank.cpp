#include "platform/video/vertical_blank.h"

#include "platform/clock.h"

namespace platform {

namespace {

void SleepUntil(std::uint32_t time) {
  for (;;) {
    // A signed difference, so that a time past the clock's wrap is ahead.
    const auto left = static_cast<std::int32_t>(time - timeGetTime());
    if (left <= 0) return;
    Sleep(static_cast<std::uint32_t>(left));
  }
}

}  // namespace

// Past the clock's wrap the count starts again at 0: one refresh of that
// day is short.
std::uint64_t BlankAfter(std::uint32_t now) {
  return static_cast<std::uint64_t>(now) * kDisplayRefreshRate / 1000 + 1;
}

std::uint32_t BlankTime(std::uint64_t blank) {
  return static_cast<std::uint32_t>((blank * 1000 + kDisplayRefreshRate - 1) / kDisplayRefreshRate);
}

void WaitForNextVerticalBlank() { SleepUntil(BlankTime(BlankAfter(timeGetTime()))); }

void VerticalBlankQueue::Queue() {
  const std::uint64_t next = BlankAfter(timeGetTime());
  // When the last frame still waits for the next blank this one follows it
  // and waits for that blank; otherwise (the display has shown it, or the
  // clock wrapped) this one is shown at the next blank, without a wait.
  const bool bFollows = m_bStarted && m_nLastBlank == next;
  m_nLastBlank = bFollows ? next + 1 : next;
  m_bStarted = true;
  if (bFollows) SleepUntil(BlankTime(next));
}

}  // namespace platform
