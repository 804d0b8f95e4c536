// The 8-bit palette variants: variant n (0 to 23) is the blend table
// bmp\hbt\hbtNN.dat with the palette picture's colours, the twelve 16-entry
// ramps 16 to 207 rotated by n ramps (n below 12) or all twelve made copies
// of ramp n - 11 (n from 12). Does nothing but in DirectDraw at 8 bits.
#pragma once

// 1 when loaded (or not needed); 0 after a box naming the missing table, or
// when the palette picture cannot be read. Numbers outside 0..23 count as
// the nearest.
int LoadHbtPalette(int nNumber);
