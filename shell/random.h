// The program's random numbers: the linear congruential generator
// x = x * 214013 + 2531011, giving (x >> 16) & 32767. Each thread has its own
// state, seeded 1 until SeedRandom is called on that thread, so a replay
// draws the same numbers whatever other threads do.
#pragma once

void SeedRandom(unsigned seed);
// 0 to 32767.
int Random();
// The calling thread's generator state (what the next draw starts from).
unsigned RandomState();
