#include "graphics/dd_draw_target.h"

#include <algorithm>
#include <cmath>

#include "game/core/numeric.h"
#include "graphics/blit.h"
#include "graphics/blit_state.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/frame_effects.h"
#include "graphics/image_table.h"
#include "graphics/effects/lens_blit.h"
#include "graphics/effects/mosaic_blur.h"
#include "graphics/effects/rotate_blit.h"
#include "graphics/effects/tinted_blits.h"
#include "graphics/message_surfaces.h"
#include "graphics/palette_colours.h"
#include "graphics/surface_effects.h"

namespace {

// The font with the number, or null.
Font* FontAt(int nFont) { return nFont >= 0 && nFont < 3 ? &g_Font[nFont] : nullptr; }

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
    case SURFACES_PICTURE: m_pPictures = surfaces; break;
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
    case SURFACES_PICTURE: set = m_pPictures; break;
    case SURFACES_MESSAGE: found = DDFindMessageSurface(surface.nIndex); break;
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

void cDDDrawTarget::EffectBlt(eEffectBlit kind, const sEffectBlitArgs& args) {
  DDSURFACEDATA *to = Resolve(args.dst), *from = Resolve(args.src);
  if (!to || !from) return;
  const int x = args.x, y = args.y, w = args.width, h = args.height, sx = args.srcX, sy = args.srcY;
  const int value = TruncToInt(args.value);
  // The centre's distances to the box's edges, and the same point in the source.
  const int left = args.centreX - x, top = args.centreY - y;
  const int centreSx = sx + left, centreSy = sy + top;
  switch (kind) {
    case EFFECT_BLIT_QUARTERS: DDBltQuarters(to, x, y, w, h, from, sx, sy, value, kColourKey); break;
    case EFFECT_BLIT_INTERLACE:
      DDBltInterlace(to, x, y, w, h, args.band, value, from, sx, sy, kColourKey, args.vertical);
      break;
    case EFFECT_BLIT_WAVE:
      DDBltWave(to, x, y, w, h, args.period, args.value, args.phase, args.band, from, sx, sy, kColourKey,
                args.vertical);
      break;
    case EFFECT_BLIT_ROTATE:
      DDBltRotate(to, args.centreX, args.centreY, w, h, left, top, value, from, sx, sy, kColourKey);
      break;
    case EFFECT_BLIT_CARD_FLIP:
      // The mirrored sheet holds each cell mirrored in place.
      if (DDSURFACEDATA* back = Resolve(args.mirror))
        DDBltCardFlip(to, x, y, w, h, from, sx, sy, back, sx, sy, w, h, kColourKey, value, 0);
      break;
    case EFFECT_BLIT_CIRCLE:
      DDBltCircle(to, args.centreX, args.centreY, std::min(left, w - left), std::min(top, h - top), value, args.band, from,
                  centreSx, centreSy, kColourKey);
      break;
    case EFFECT_BLIT_LENS: {
      // The disc reaches the box's far corners from the lens centre; the
      // value is the lens depth.
      const int reach = std::max({std::abs(left), std::abs(w - left), std::abs(top), std::abs(h - top)});
      DDBltLens(to, args.centreX, args.centreY, TruncToInt(std::sqrt(2.0) * reach), std::max(value, 0), from,
                centreSx, centreSy, kColourKey);
      break;
    }
    case EFFECT_BLIT_ALPHA:
      DDBltAlpha(to, x, y, w, h, from, sx, sy, kColourKey, g_palOriginal.data(), g_BlendTable, args.tint, value);
      break;
    case EFFECT_BLIT_TRANSLUCENT: DDBltTranslucent(to, x, y, w, h, from, sx, sy, kColourKey, g_BlendTable); break;
    case EFFECT_BLIT_MOSAIC: DDMosaic(to, x, y, w, h, value, from, sx, sy, kColourKey); break;
    case EFFECT_BLIT_BLUR: DDBlur(to, x, y, w, h, value, value, from, sx, sy, kColourKey); break;
  }
}

void cDDDrawTarget::FillRectPal(sSurface dst, int x, int y, int w, int h, int nPal) {
  if (DDSURFACEDATA* to = Resolve(dst)) DDFillRectPal(to, x, y, w, h, static_cast<std::uint32_t>(nPal));
}

void cDDDrawTarget::DrawFrame(sSurface dst, int x, int y, int w, int h, int nThick, int nPal) {
  if (DDSURFACEDATA* to = Resolve(dst)) DDDrawFrame(to, x, y, w, h, nThick, static_cast<std::uint32_t>(nPal));
}

void cDDDrawTarget::MeasureText(int nFont, const char* text, int& width, int& height) {
  const Font* font = FontAt(nFont);
  const platform::TextExtent size = font ? font->MeasureText(text) : platform::TextExtent{};
  width = size.cx;
  height = size.cy;
}

void cDDDrawTarget::DrawText(int nFont, sSurface dst, int x, int y, const char* text) {
  Font* font = FontAt(nFont);
  DDSURFACEDATA* to = Resolve(dst);
  if (font && to) font->DrawText(to, x, y, text, 0);
}

void cDDDrawTarget::DrawTextBox(int nFont, sSurface dst, int x, int y, const char* text) {
  Font* font = FontAt(nFont);
  DDSURFACEDATA* to = Resolve(dst);
  if (font && to) font->DrawTextBox(to, x, y, 0, 0, text, 0);
}

void cDDDrawTarget::DrawBox(int nFont, sSurface dst, int x, int y, int w, int h) {
  Font* font = FontAt(nFont);
  DDSURFACEDATA* to = Resolve(dst);
  if (font && to) font->DrawBox(to, x, y, w, h);
}

bool cDDDrawTarget::CreateMessageSurface(int width, int height, sSurface& surface) {
  const int id = DDAddMessageSurface(width, height);
  if (id == 0) return false;
  surface = {SURFACES_MESSAGE, id};
  return true;
}

void cDDDrawTarget::ReleaseMessageSurface(sSurface surface) {
  if (surface.nSet == SURFACES_MESSAGE) DDRemoveMessageSurface(surface.nIndex);
}

void cDDDrawTarget::ClearSurface(sSurface surface) {
  if (DDSURFACEDATA* found = Resolve(surface)) DDFillRectPal(found, 0, 0, found->nWidth, found->nHeight, 0);
}

bool cDDDrawTarget::TakeSurfaceRestored(sSurface surface) {
  DDSURFACEDATA* found = Resolve(surface);
  if (!found) return false;
  int* flag = found->lpDT ? &found->lpDT->bRecreated : found->lpDDraw ? &found->lpDDraw->bRestored : nullptr;
  if (!flag || !*flag) return false;
  *flag = 0;
  return true;
}
