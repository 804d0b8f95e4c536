#include "graphics/blit_quad.h"

#include <cstring>

#include "graphics/device.h"

using namespace platform;

void SetQuad(BLTVERTEX (&quad)[4], float left, float top, float right, float bottom, std::uint32_t colour,
             float uLeft, float vTop, float uRight, float vBottom) {
  const float xs[4] = {left, left, right, right}, ys[4] = {top, bottom, top, bottom};
  const float us[4] = {uLeft, uLeft, uRight, uRight}, vs[4] = {vTop, vBottom, vTop, vBottom};
  for (int i = 0; i < 4; ++i) quad[i] = BLTVERTEX{xs[i] - 0.5f, ys[i] - 0.5f, 0.0f, 1.0f, colour, us[i], vs[i]};
}

bool WriteQuad(Direct3DVertexBuffer9* vb, const BLTVERTEX (&quad)[4]) {
  void* data = nullptr;
  if (!vb || FAILED(vb->Lock(0, kBltQuadBytes, &data, 0))) return false;
  std::memcpy(data, quad, kBltQuadBytes);
  vb->Unlock();
  return true;
}

void DrawQuadFrom(Direct3DVertexBuffer9* vb) {
  lpDevice->SetStreamSource(0, vb, 0, sizeof(BLTVERTEX));
  lpDevice->SetFVF(kBltVertexFvf);
  lpDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
}

void SetTextureDiffuseStage(std::uint32_t colourOp, std::uint32_t alphaOp) {
  lpDevice->SetTextureStageState(0, D3DTSS_COLOROP, colourOp);
  lpDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  lpDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  lpDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, alphaOp);
  lpDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  lpDevice->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
}
