#include "graphics/dd_draw_target.h"

#include "graphics/blit.h"
#include "graphics/blit_state.h"
#include "graphics/device.h"
#include "graphics/image_table.h"

namespace {

bool Exists(const DDSURFACEDATA* surface) {
  return surface && ((surface->lpDT && (surface->lpDT->lpSurface || surface->lpLinkSD)) ||
                     (surface->lpDDraw && surface->lpDDraw->lpDDS));
}

}  // namespace

void cDDDrawTarget::SetImageSet(eSurfaceSet set, DDSurfaceVector* surfaces) {
  switch (set) {
    case SURFACES_CHARA_EXC: m_pCharaExc = surfaces; break;
    case SURFACES_SWORD: m_pSwords = surfaces; break;
    case SURFACES_EFFECT: m_pEffects = surfaces; break;
    default: break;
  }
}

DDSURFACEDATA* cDDDrawTarget::Resolve(sSurface surface) const {
  DDSURFACEDATA* found = nullptr;
  DDSurfaceVector* set = nullptr;
  switch (surface.nSet) {
    case SURFACES_BACK_BUFFER: found = &g_sdBackBuffer; break;
    case SURFACES_IMAGE:
      if (surface.nIndex >= 0 && surface.nIndex < kImageCount) found = &g_SurfaceTable[surface.nIndex];
      break;
    case SURFACES_CHARA_EXC: set = m_pCharaExc; break;
    case SURFACES_SWORD: set = m_pSwords; break;
    case SURFACES_EFFECT: set = m_pEffects; break;
  }
  if (set && surface.nIndex >= 0 && static_cast<std::size_t>(surface.nIndex) < set->size())
    found = &(*set)[static_cast<std::size_t>(surface.nIndex)];
  DDSURFACEDATA* drawn = found;
  DDResolveLink(&drawn);
  return Exists(drawn) ? found : nullptr;
}

bool cDDDrawTarget::IsDirect3D() const { return g_lpD3DState != nullptr; }

int cDDDrawTarget::BitsPerPixel() const { return g_nBpp; }

bool cDDDrawTarget::SurfaceSize(sSurface surface, int& width, int& height) const {
  const DDSURFACEDATA* found = Resolve(surface);
  if (!found) return false;
  width = found->nWidth;
  height = found->nHeight;
  return true;
}

void cDDDrawTarget::Blt(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int flags) {
  DDSURFACEDATA *to = Resolve(dst), *from = Resolve(src);
  if (to && from) DDBlt(to, x, y, w, h, from, sx, sy, flags);
}

void cDDDrawTarget::BltStretch(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int sw, int sh,
                               int flags) {
  DDSURFACEDATA *to = Resolve(dst), *from = Resolve(src);
  if (to && from) DDBltStretch(to, x, y, w, h, from, sx, sy, sw, sh, flags);
}

void cDDDrawTarget::BltEx(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int flags,
                          sBltColour colour) {
  DDSURFACEDATA *to = Resolve(dst), *from = Resolve(src);
  const int blend[2] = {static_cast<int>(colour.nArgb), colour.nOp};
  if (to && from) DDBltEx(to, x, y, w, h, from, sx, sy, flags, blend);
}

void cDDDrawTarget::BltBlend(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int sw, int sh,
                             int flags, sBltColour colour) {
  DDSURFACEDATA *to = Resolve(dst), *from = Resolve(src);
  const int blend[2] = {static_cast<int>(colour.nArgb), colour.nOp};
  if (to && from) DDBltBlend(to, x, y, w, h, from, sx, sy, sw, sh, flags, blend);
}

void cDDDrawTarget::SetBltColour(sBltColour colour) {
  DDSetBltColor(colour.nArgb);
  DDSetBltColorOp(colour.nOp);
}

void cDDDrawTarget::ResetBltColour() {
  DDResetBltColor();
  DDResetBltColorOp();
}

void cDDDrawTarget::EffectBlt(eEffectBlit, const sEffectBlitArgs& args) {
  Blt(args.dst, args.x, args.y, args.width, args.height, args.src, args.srcX, args.srcY, kColourKey);
}

void cDDDrawTarget::FillRectPal(sSurface dst, int x, int y, int w, int h, int nPal) {
  if (DDSURFACEDATA* to = Resolve(dst)) DDFillRectPal(to, x, y, w, h, static_cast<std::uint32_t>(nPal));
}
