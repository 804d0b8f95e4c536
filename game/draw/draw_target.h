// What the game objects draw through: a narrow drawing interface that the
// graphics layer implements (tests use a recording one).
//
// Surfaces are named, not held: an image of the image table by number
// (2 the block sheet, 4 to 19 the character sheets, 40 the item sheet, 43/44
// the mark sheet, 49 the accessory sheet, 63/64 the stage's shot sheet,
// 65 the sight mask, 68 the work image), an entry of the character-exclusive, sword or effect
// image sets, or the frame being drawn (the back buffer). Blits copy a
// source rectangle to a destination position; kColourKey skips the source's
// transparent colour. The effect blits of the character effects take one
// argument record; what each kind reads of it is noted at eEffectBlit.
#pragma once

#include <cstdint>

enum eSurfaceSet {
  SURFACES_IMAGE,
  SURFACES_CHARA_EXC,
  SURFACES_SWORD,
  SURFACES_EFFECT,
  SURFACES_BACK_BUFFER,
  SURFACES_MESSAGE,  // a message window's text surface, by the id the text target gave it
  SURFACES_PICTURE,  // a shown picture's surface, by its position in the stage's picture list
};

struct sSurface {
  eSurfaceSet nSet = SURFACES_IMAGE;
  int nIndex = 0;
  bool operator==(const sSurface&) const = default;
};

constexpr sSurface kBackBuffer{SURFACES_BACK_BUFFER, 0};
constexpr int IMAGE_BLOCKS = 2;
constexpr int IMAGE_CHARACTERS = 4;
constexpr int IMAGE_ALTERNATES = 18;  // the alternate of image i is i + 18 (4 to 21)
constexpr int IMAGE_ITEMS = 40;
constexpr int IMAGE_ITEM_ICONS = 42;
constexpr int IMAGE_MARKS = 43;
constexpr int IMAGE_MARKS_SCALED = 44;
constexpr int IMAGE_ACCESSORY = 49;
constexpr int IMAGE_STAGE_SHOTS = 63;
constexpr int IMAGE_SIGHT_MASK = 65;
constexpr int IMAGE_WORK = 68;

constexpr int kColourKey = 1;

// A colour the following Direct3D blits are tinted with.
struct sBltColour {
  std::uint32_t nArgb = 0xFFFFFFFFu;
  std::int32_t nOp = 4;  // modulate
  bool operator==(const sBltColour&) const = default;
};

enum eEffectBlit {
  EFFECT_BLIT_QUARTERS,     // value: distance the four quarters move apart
  EFFECT_BLIT_INTERLACE,    // band height, value: shift, vertical
  EFFECT_BLIT_WAVE,         // band height, period: waves over the box, value: amplitude, phase (degrees), vertical
  EFFECT_BLIT_ROTATE,       // about the centre, value: angle in degrees
  EFFECT_BLIT_CARD_FLIP,    // mirror surface (cells mirrored in place), value: the turn's frame
  EFFECT_BLIT_CIRCLE,       // about the centre, band height, value: radius
  EFFECT_BLIT_LENS,         // centre (may lie off the box's middle), value: lens depth; the disc covers the box
  EFFECT_BLIT_ALPHA,        // tint: palette number, value: level (1 half-way to the tint, each further level more)
  EFFECT_BLIT_TRANSLUCENT,  // half over what the destination holds
  EFFECT_BLIT_MOSAIC,       // value: cell size
  EFFECT_BLIT_BLUR,         // value: radius
};

// The sprite's source rectangle (srcX, srcY, width, height) drawn with the
// colour key at (x, y); the centre is a destination point. Values are
// truncated to whole pixels or degrees, except the wave's amplitude.
struct sEffectBlitArgs {
  sSurface dst;
  int x = 0, y = 0;  // destination of the sprite's top-left corner
  sSurface src;
  int srcX = 0, srcY = 0, width = 0, height = 0;
  double value = 0;
  int band = 0;
  int phase = 0;
  int period = 0;
  bool vertical = false;
  int centreX = 0, centreY = 0;
  sSurface mirror;
  int tint = 0;
  bool operator==(const sEffectBlitArgs&) const = default;
};

class cDrawTarget {
 public:
  virtual ~cDrawTarget() = default;

  virtual bool IsDirect3D() const = 0;
  virtual int BitsPerPixel() const = 0;
  // The size of a surface; false when it does not exist.
  virtual bool SurfaceSize(sSurface surface, int& width, int& height) const = 0;

  virtual void Blt(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int flags) = 0;
  virtual void BltStretch(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int sw, int sh,
                          int flags) = 0;
  // Direct3D: a blit tinted with the colour (DirectDraw blits plainly).
  virtual void BltEx(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int flags,
                     sBltColour colour) = 0;
  virtual void BltBlend(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int sw, int sh,
                        int flags, sBltColour colour) = 0;
  // The colour state of the following Direct3D blits.
  virtual void SetBltColour(sBltColour colour) = 0;
  virtual void ResetBltColour() = 0;
  virtual void EffectBlt(eEffectBlit kind, const sEffectBlitArgs& args) = 0;
  virtual void FillRectPal(sSurface dst, int x, int y, int w, int h, int nPal) = 0;
  // The outline of a rectangle, nThick pixels wide inside it.
  virtual void DrawFrame(sSurface dst, int x, int y, int w, int h, int nThick, int nPal) = 0;
};
