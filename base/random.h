// The program's random numbers: the linear congruential generator
// x = x * 214013 + 2531011, giving (x >> 16) & 32767. Each thread has its own
// state, seeded 1 until SeedRandom is called on that thread, so a replay
// draws the same numbers whatever other threads do.
#pragma once

void SeedRandom(unsigned seed);
// 0 to 32767.
int Random();
// low + Random() mod (high - low + 1), the width taken in 64 bits (so a
// width beyond the int range works, and high below low gives a number above
// low as the C remainder does). A range of width 0 (high = low - 1) gives
// low and still takes its draw, so that replays keep their count of draws.
int RandomBetween(int low, int high);
// The calling thread's generator state (what the next draw starts from).
unsigned RandomState();
