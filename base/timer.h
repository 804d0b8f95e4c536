// Frame timing over the platform's millisecond clock.
//
// All times are unsigned 32-bit milliseconds and every difference is taken
// with wrap-around, so the clock passing 2^32 costs at most one frame. The
// state is process-wide and belongs to the thread that runs the frame loop
// (the game thread, or a pause loop while the game thread waits for it).
#pragma once

#include <cstdint>

// Returns the current time and stores it as the start of the frame.
std::uint32_t StartTimer();
// Milliseconds since the last StartTimer.
std::uint32_t GetElapsedTime();
// The number of calls made during the last complete second (0 during the
// first second); called once per frame it is the frame rate.
int CountFps();
// True when the next frame may start: ticks 1000 / fps ms apart on average
// (whole milliseconds: 16, 17, 17 ... at 60), each counted from the last
// tick, so that frames started a little late keep the rate; a frame that
// starts a whole step late or more counts the next tick from now, so that
// time lost in a long frame is not made up. fps 0 means no limit.
bool WaitFrame(unsigned fps);
// Waits until WaitFrame(fps) lets the next frame start, sleeping until
// shortly before that moment instead of spinning.
void WaitForNextFrame(unsigned fps);
// mode 0: reset to 0, returns 0. mode 2: 1 when the counter is 0, else 0,
// without changing it. Other modes: count one; on reaching period (or
// passing it) the counter goes back to 0 and 1 is returned, else 0.
int StepCounter(int mode, int period);
// Back to the state at program start, as when the frame loop starts anew.
void ResetTimers();
