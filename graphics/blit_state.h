// The blit colour and the texture-stage operations that Direct3D blits use
// (fields of D3DSTATE). All do nothing in DirectDraw mode.
#pragma once

#include <cstdint>

void DDSetBltColor(std::uint32_t dwColor);  // ARGB
void DDResetBltColor();                     // 0xFFFFFFFF
void DDSetBltColorOp(int nOp);
void DDResetBltColorOp();  // 4 (modulate)
void DDResetBltAlphaOp();  // 2 (first argument)
