// A drawing target that records every call, for tests of what the game
// objects draw: each call becomes one sDrawCall with the operation's name
// and its arguments. Surface sizes are what the test declares with
// SetSize; undeclared surfaces do not exist.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "game/draw/draw_target.h"

struct sDrawCall {
  // "Blt", "BltStretch", "BltEx", "BltBlend", "SetBltColour", "ResetBltColour", "Effect", "Fill", "Frame"
  std::string op;
  sSurface dst;
  int x = 0, y = 0, w = 0, h = 0;
  sSurface src;
  int sx = 0, sy = 0, sw = 0, sh = 0;
  int flags = 0;
  sBltColour colour;
  eEffectBlit effect = EFFECT_BLIT_QUARTERS;
  sEffectBlitArgs args;
  int pal = 0;    // Fill and Frame
  int thick = 0;  // Frame
};

class RecordingDrawTarget : public cDrawTarget {
 public:
  RecordingDrawTarget() {
    for (int image = 4; image < 22; ++image) SetSize({SURFACES_IMAGE, image}, 640, 480);
    for (int image = 22; image < 40; ++image) SetSize({SURFACES_IMAGE, image}, 640, 480);
    SetSize({SURFACES_IMAGE, IMAGE_ACCESSORY}, 256, 208);
  }
  void SetSize(sSurface surface, int width, int height) { m_Sizes[Key(surface)] = {width, height}; }

  bool IsDirect3D() const override { return m_bDirect3D; }
  int BitsPerPixel() const override { return m_nBits; }
  bool SurfaceSize(sSurface surface, int& width, int& height) const override {
    const auto it = m_Sizes.find(Key(surface));
    if (it == m_Sizes.end()) return false;
    width = it->second.first;
    height = it->second.second;
    return true;
  }
  void Blt(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int flags) override {
    Add(Copy("Blt", dst, x, y, w, h, src, sx, sy, w, h, flags, {}));
  }
  void BltStretch(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int sw, int sh,
                  int flags) override {
    Add(Copy("BltStretch", dst, x, y, w, h, src, sx, sy, sw, sh, flags, {}));
  }
  void BltEx(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int flags,
             sBltColour colour) override {
    Add(Copy("BltEx", dst, x, y, w, h, src, sx, sy, w, h, flags, colour));
  }
  void BltBlend(sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy, int sw, int sh, int flags,
                sBltColour colour) override {
    Add(Copy("BltBlend", dst, x, y, w, h, src, sx, sy, sw, sh, flags, colour));
  }
  void SetBltColour(sBltColour colour) override {
    sDrawCall call;
    call.op = "SetBltColour";
    call.colour = colour;
    Add(call);
  }
  void ResetBltColour() override {
    sDrawCall call;
    call.op = "ResetBltColour";
    Add(call);
  }
  void EffectBlt(eEffectBlit kind, const sEffectBlitArgs& args) override {
    sDrawCall call;
    call.op = "Effect";
    call.effect = kind;
    call.args = args;
    Add(call);
  }
  void FillRectPal(sSurface dst, int x, int y, int w, int h, int nPal) override {
    sDrawCall call = Copy("Fill", dst, x, y, w, h, {}, 0, 0, 0, 0, 0, {});
    call.pal = nPal;
    Add(call);
  }
  void DrawFrame(sSurface dst, int x, int y, int w, int h, int nThick, int nPal) override {
    sDrawCall call = Copy("Frame", dst, x, y, w, h, {}, 0, 0, 0, 0, 0, {});
    call.pal = nPal;
    call.thick = nThick;
    Add(call);
  }

  std::vector<sDrawCall> m_vCalls;
  bool m_bDirect3D = false;
  int m_nBits = 32;

 private:
  static std::pair<int, int> Key(sSurface s) { return {static_cast<int>(s.nSet), s.nIndex}; }
  void Add(sDrawCall call) { m_vCalls.push_back(std::move(call)); }
  static sDrawCall Copy(const char* op, sSurface dst, int x, int y, int w, int h, sSurface src, int sx, int sy,
                        int sw, int sh, int flags, sBltColour colour) {
    sDrawCall call;
    call.op = op;
    call.dst = dst;
    call.x = x;
    call.y = y;
    call.w = w;
    call.h = h;
    call.src = src;
    call.sx = sx;
    call.sy = sy;
    call.sw = sw;
    call.sh = sh;
    call.flags = flags;
    call.colour = colour;
    return call;
  }
  std::map<std::pair<int, int>, std::pair<int, int>> m_Sizes;
};
