// The vertical blank of the display the stand-ins present to: a 60 Hz
// monitor whose blank k falls at the whole millisecond at or after
// k * 1000 / 60 on the platform clock (platform/clock.h). The blanks follow
// the installed clock, so under the virtual clock waiting for one advances
// that clock to it: a run that waits for the display costs no real time.
//
// Two ways to wait, as the hardware gives them:
// - WaitForNextVerticalBlank: until the next blank begins (DirectDraw's
//   WaitForVerticalBlank).
// - VerticalBlankQueue: the frames of a flip or of a present with VSync.
//   The display shows one at each blank, in order, and one frame may wait
//   for its blank while the program draws the next (as a card holds a frame
//   ahead), so queueing a frame waits only while the one before it is still
//   waiting. A frame finished a little after a blank then costs no refresh:
//   the rate holds at 60 a second on average however late each wait ends,
//   unless frames keep taking longer than a refresh.
#pragma once

#include <cstdint>

namespace platform {

constexpr unsigned kDisplayRefreshRate = 60;

// The number of the first blank after now, and the time of blank k.
std::uint64_t BlankAfter(std::uint32_t now);
std::uint32_t BlankTime(std::uint64_t blank);

void WaitForNextVerticalBlank();

class VerticalBlankQueue {
 public:
  // Queues a frame for the next free blank, first waiting until the frame
  // queued before it has left the queue (its blank has begun).
  void Queue();

 private:
  bool m_bStarted = false;
  std::uint64_t m_nLastBlank = 0;  // where the last frame queued is shown
};

}  // namespace platform
