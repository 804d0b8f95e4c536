// The game objects' drawing and text interfaces (game/draw/draw_target.h,
// game/draw/text_target.h) over the graphics layer's blits and fonts:
// image numbers are rows of g_SurfaceTable, the back buffer is
// g_sdBackBuffer, message surfaces are those of graphics/message_surfaces.h,
// fonts are g_Font, and the character-exclusive, sword and effect images
// are the image sets handed in with SetImageSet. A surface
// that does not exist (a number outside its set, an image that did not
// load) is neither drawn from nor into.
//
// EffectBlt draws each character effect through its blit (graphics/
// frame_effects.h, surface_effects.h and graphics/effects/), keyed; the
// tinted and translucent ones use g_palOriginal and g_BlendTable.
#pragma once

#include "game/draw/draw_target.h"
#include "game/draw/text_target.h"
#include "graphics/surface.h"

class cDDDrawTarget final : public cDrawTarget, public cTextTarget {
 public:
  // The surfaces of SURFACES_CHARA_EXC, SURFACES_SWORD, SURFACES_EFFECT or
  // SURFACES_PICTURE (null: none); they must outlive their use here.
  void SetImageSet(eSurfaceSet set, DDSurfaceVector* surfaces);

  bool IsDirect3D() const override;
  int BitsPerPixel() const override;
  bool SurfaceSize(sSurface surface, int& width, int& height) const override;
  void Blt(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int flags) override;
  void BltStretch(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int sw, int sh,
                  int flags) override;
  void BltEx(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int flags,
             sBltColour colour) override;
  void BltBlend(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int sw, int sh, int flags,
                sBltColour colour) override;
  void SetBltColour(sBltColour colour) override;
  void ResetBltColour() override;
  void EffectBlt(eEffectBlit kind, const sEffectBlitArgs& args) override;
  void FillRectPal(sSurface dst, int x, int y, int w, int h, int nPal) override;
  void DrawFrame(sSurface dst, int x, int y, int w, int h, int nThick, int nPal) override;

  void MeasureText(int nFont, const char* text, int& width, int& height) override;
  void DrawText(int nFont, sSurface dst, int x, int y, const char* text) override;
  void DrawTextBox(int nFont, sSurface dst, int x, int y, const char* text) override;
  void DrawBox(int nFont, sSurface dst, int x, int y, int w, int h) override;
  bool CreateMessageSurface(int width, int height, sSurface& surface) override;
  void ReleaseMessageSurface(sSurface surface) override;
  void ClearSurface(sSurface surface) override;
  bool TakeSurfaceRestored(sSurface surface) override;

 private:
  // The surface's record, or null when it does not exist.
  DDSURFACEDATA* Resolve(sSurface surface) const;

  DDSurfaceVector* m_pCharaExc = nullptr;
  DDSurfaceVector* m_pSwords = nullptr;
  DDSurfaceVector* m_pEffects = nullptr;
  DDSurfaceVector* m_pPictures = nullptr;
};
