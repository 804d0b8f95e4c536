#include "graphics/blit_state.h"

#include "graphics/device.h"

void DDSetBltColor(std::uint32_t dwColor) {
  if (g_lpD3DState) g_lpD3DState->dwBltColor = dwColor;
}

void DDResetBltColor() { DDSetBltColor(0xFFFFFFFF); }

void DDSetBltColorOp(int nOp) {
  if (g_lpD3DState) g_lpD3DState->dwBltColorOp = nOp;
}

void DDResetBltColorOp() { DDSetBltColorOp(4); }

void DDResetBltAlphaOp() {
  if (g_lpD3DState) g_lpD3DState->dwBltAlphaOp = 2;
}
