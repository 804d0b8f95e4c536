// The player's blits and fills against the same operations through pixman,
// on a headless device of each back end (direct3d 0: DirectDraw, 1:
// Direct3D) at 32 and 16 bits: the full-screen copy, a keyed 32 x 32 sprite
// (pixman: OVER of an a8r8g8b8 source whose transparent pixels have alpha
// 0), the level-1 tint of a 64 x 64 sprite toward a palette colour (pixman:
// the tint filled, then the sprite laid OVER it through a half mask), the
// translucent 64 x 64 blit (pixman: OVER through a half mask) and a 128 x 128
// fill (pixman: SRC of a solid colour). The counter vs_pixman is the
// player's time per call over pixman's, both timed on the wall clock for the
// same number of calls after the run, one after the other in this process.
#include <benchmark/benchmark.h>
#include <pixman.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/effects/tinted_blits.h"
#include "graphics/image_table.h"
#include "graphics/palette_colours.h"
#include "graphics/surface.h"
#include "graphics/surface_effects.h"

namespace {

constexpr int kScreenWidth = 640, kScreenHeight = 480, kSprite = 32, kEffectSprite = 64, kFill = 128;
constexpr int kTint = 200;

// The player's side: a device with a keyed sprite (a checkerboard of palette
// colours 0 and 40), an opaque effect sprite and a full-screen picture.
class PlayerSide {
 public:
  PlayerSide(int nDirect3D, int nBpp) {
    m_bStarted = DDInit(nDirect3D, nullptr, kScreenWidth, kScreenHeight, nBpp, 0, 0, 1, 60, 0, g_SurfaceTable,
                        g_ImageTable, kImageCount);
    if (!m_bStarted) return;
    for (int n = 0; n < 256; ++n)
      g_palOriginal[n] = g_palCurrent[n] = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(255 - n),
                                            static_cast<std::uint8_t>(n / 2), PaletteFlag(n)};
    if (!nDirect3D) g_dwTransmit = PalNumToRGB(0);
    DDCreateSurface(&m_Sprite, kSprite, kSprite, 1, 0, 0, 0, 0);
    DDCreateSurface(&m_EffectSprite, kEffectSprite, kEffectSprite, 1, 0, 0, 0, 0);
    DDCreateSurface(&m_Picture, kScreenWidth, kScreenHeight, 0, 0, 0, 0, 0);
    for (int y = 0; y < kSprite; ++y)
      for (int x = 0; x < kSprite; ++x) DDFillRectPal(&m_Sprite, x, y, 1, 1, (x + y) % 2 ? 40 : 0);
    for (int y = 0; y < kEffectSprite; ++y)
      DDFillRectPal(&m_EffectSprite, 0, y, kEffectSprite, 1, static_cast<std::uint32_t>(30 + y));
    for (int y = 0; y < kScreenHeight; y += 16)
      DDFillRectPal(&m_Picture, 0, y, kScreenWidth, 16, static_cast<std::uint32_t>(y / 16 + 1));
    DDFillRectPal(&g_sdBackBuffer, 0, 0, kScreenWidth, kScreenHeight, 90);
  }
  ~PlayerSide() {
    DDReleaseSurface(&m_Sprite);
    DDReleaseSurface(&m_EffectSprite);
    DDReleaseSurface(&m_Picture);
    DDRelease();
  }
  bool Started() const { return m_bStarted; }

  DDSURFACEDATA m_Sprite, m_EffectSprite, m_Picture;

 private:
  bool m_bStarted = false;
};

// pixman's side: the same pictures as a8r8g8b8 (the keyed sprite's
// transparent pixels with alpha 0) and a screen of the device's depth
// (x8r8g8b8 or r5g6b5; the full-screen picture is of the screen's format).
class PixmanSide {
 public:
  explicit PixmanSide(int nBpp)
      : m_ScreenBits(kScreenWidth * kScreenHeight, 0xFF5A5A5Au),
        m_PictureBits(kScreenWidth * kScreenHeight),
        m_SpriteBits(kSprite * kSprite),
        m_EffectBits(kEffectSprite * kEffectSprite) {
    for (int y = 0; y < kScreenHeight; ++y)
      std::fill_n(&m_PictureBits[static_cast<std::size_t>(y) * kScreenWidth], kScreenWidth,
                  0xFF000000u | static_cast<std::uint32_t>(y / 16 + 1) * 0x010203u);
    for (int y = 0; y < kSprite; ++y)
      for (int x = 0; x < kSprite; ++x) m_SpriteBits[static_cast<std::size_t>(y * kSprite + x)] = (x + y) % 2 ? 0xFF28D714u : 0;
    for (int y = 0; y < kEffectSprite; ++y)
      std::fill_n(&m_EffectBits[static_cast<std::size_t>(y) * kEffectSprite], kEffectSprite,
                  0xFF000000u | static_cast<std::uint32_t>(30 + y) * 0x010101u);
    const pixman_format_code_t screen = nBpp == 16 ? PIXMAN_r5g6b5 : PIXMAN_x8r8g8b8;
    m_pScreen = Image(screen, kScreenWidth, kScreenHeight, m_ScreenBits, nBpp);
    m_pPicture = nBpp == 16 ? Image(PIXMAN_r5g6b5, kScreenWidth, kScreenHeight, m_PictureBits, 16)
                            : Image(PIXMAN_a8r8g8b8, kScreenWidth, kScreenHeight, m_PictureBits, 32);
    m_pSprite = Image(PIXMAN_a8r8g8b8, kSprite, kSprite, m_SpriteBits, 32);
    m_pEffect = Image(PIXMAN_a8r8g8b8, kEffectSprite, kEffectSprite, m_EffectBits, 32);
    const pixman_color_t half{0, 0, 0, 0x8080}, tint{0xC8C8, 0x3737, 0x6464, 0xFFFF};
    m_pHalf = pixman_image_create_solid_fill(&half);
    m_pTint = pixman_image_create_solid_fill(&tint);
  }
  ~PixmanSide() {
    for (pixman_image_t* image : {m_pScreen, m_pPicture, m_pSprite, m_pEffect, m_pHalf, m_pTint})
      pixman_image_unref(image);
  }

  pixman_image_t *m_pScreen, *m_pPicture, *m_pSprite, *m_pEffect, *m_pHalf, *m_pTint;
  pixman_color_t m_Fill{0xF8F8, 0x8484, 0x0808, 0xFFFF};

 private:
  // bits holds 32 bits a pixel; a 16-bit image uses half of each row.
  static pixman_image_t* Image(pixman_format_code_t format, int width, int height, std::vector<std::uint32_t>& bits,
                               int nBpp) {
    return pixman_image_create_bits(format, width, height, bits.data(), width * nBpp / 8);
  }

  std::vector<std::uint32_t> m_ScreenBits, m_PictureBits, m_SpriteBits, m_EffectBits;
};

// <chrono> does not compile under the CP932 execution character set.
double MonotonicSeconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <class Op>
double SecondsPerCall(Op&& op, std::int64_t calls) {
  op(0);  // warm
  const double start = MonotonicSeconds();
  for (std::int64_t i = 0; i < calls; ++i) op(i);
  return (MonotonicSeconds() - start) / static_cast<double>(calls);
}

// Runs the player's operation as the benchmark, then times both sides for
// as many calls and reports the ratio. Each operation takes the call's
// number (sprites move across the screen).
// Arguments: Direct3D (0 or 1), bits per pixel.
template <class PlayerOp, class PixmanOp>
void Compare(benchmark::State& state, PlayerOp&& playerOp, PixmanOp&& pixmanOp, std::int64_t pixelsPerCall) {
  const int bpp = static_cast<int>(state.range(1));
  PlayerSide playerSide(static_cast<int>(state.range(0)), bpp);
  if (!playerSide.Started()) return state.SkipWithError("the device did not start");
  PixmanSide pixmanSide(bpp);
  const auto player = [&](std::int64_t i) { playerOp(playerSide, i); };
  const auto pixman = [&](std::int64_t i) { pixmanOp(pixmanSide, i); };
  std::int64_t i = 0;
  for (auto _ : state) player(i++);
  const std::int64_t calls = std::max<std::int64_t>(state.iterations(), 50);
  const double ourSeconds = SecondsPerCall(player, calls), theirSeconds = SecondsPerCall(pixman, calls);
  state.counters["vs_pixman"] = ourSeconds / theirSeconds;
  state.counters["pixman_ns"] = theirSeconds * 1e9;
  state.counters["pixels_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations() * pixelsPerCall), benchmark::Counter::kIsRate);
}

int SpriteX(std::int64_t i, int size) { return static_cast<int>((i * 37) % (kScreenWidth - size)); }
int SpriteY(std::int64_t i, int size) { return static_cast<int>((i * 23) % (kScreenHeight - size)); }

void BM_FullScreenCopy(benchmark::State& state) {
  Compare(
      state, [](PlayerSide& player, std::int64_t) { DDBlt(&g_sdBackBuffer, 0, 0, kScreenWidth, kScreenHeight, &player.m_Picture, 0, 0, 0); },
      [](PixmanSide& pixman, std::int64_t) {
        pixman_image_composite32(PIXMAN_OP_SRC, pixman.m_pPicture, nullptr, pixman.m_pScreen, 0, 0, 0, 0, 0, 0,
                                 kScreenWidth, kScreenHeight);
      },
      kScreenWidth * kScreenHeight);
}

void BM_KeyedSprite32x32(benchmark::State& state) {
  Compare(
      state,
      [](PlayerSide& player, std::int64_t i) {
        DDBlt(&g_sdBackBuffer, SpriteX(i, kSprite), SpriteY(i, kSprite), kSprite, kSprite, &player.m_Sprite, 0, 0, 1);
      },
      [](PixmanSide& pixman, std::int64_t i) {
        pixman_image_composite32(PIXMAN_OP_OVER, pixman.m_pSprite, nullptr, pixman.m_pScreen, 0, 0, 0, 0,
                                 SpriteX(i, kSprite), SpriteY(i, kSprite), kSprite, kSprite);
      },
      kSprite * kSprite);
}

void BM_AlphaSprite64x64(benchmark::State& state) {
  Compare(
      state,
      [](PlayerSide& player, std::int64_t i) {
        DDBltAlpha(&g_sdBackBuffer, SpriteX(i, kEffectSprite), SpriteY(i, kEffectSprite), kEffectSprite,
                   kEffectSprite, &player.m_EffectSprite, 0, 0, 0, g_palOriginal.data(), g_BlendTable, kTint, 1);
      },
      [](PixmanSide& pixman, std::int64_t i) {
        const int x = SpriteX(i, kEffectSprite), y = SpriteY(i, kEffectSprite);
        pixman_image_composite32(PIXMAN_OP_SRC, pixman.m_pTint, nullptr, pixman.m_pScreen, 0, 0, 0, 0, x, y,
                                 kEffectSprite, kEffectSprite);
        pixman_image_composite32(PIXMAN_OP_OVER, pixman.m_pEffect, pixman.m_pHalf, pixman.m_pScreen, 0, 0, 0, 0, x, y,
                                 kEffectSprite, kEffectSprite);
      },
      kEffectSprite * kEffectSprite);
}

void BM_TranslucentSprite64x64(benchmark::State& state) {
  Compare(
      state,
      [](PlayerSide& player, std::int64_t i) {
        DDBltTranslucent(&g_sdBackBuffer, SpriteX(i, kEffectSprite), SpriteY(i, kEffectSprite), kEffectSprite,
                         kEffectSprite, &player.m_EffectSprite, 0, 0, 0, g_BlendTable);
      },
      [](PixmanSide& pixman, std::int64_t i) {
        pixman_image_composite32(PIXMAN_OP_OVER, pixman.m_pEffect, pixman.m_pHalf, pixman.m_pScreen, 0, 0, 0, 0,
                                 SpriteX(i, kEffectSprite), SpriteY(i, kEffectSprite), kEffectSprite, kEffectSprite);
      },
      kEffectSprite * kEffectSprite);
}

void BM_Fill128x128(benchmark::State& state) {
  Compare(
      state,
      [](PlayerSide&, std::int64_t i) {
        DDFillRectPal(&g_sdBackBuffer, SpriteX(i, kFill), SpriteY(i, kFill), kFill, kFill, 40);
      },
      [](PixmanSide& pixman, std::int64_t i) {
        const pixman_box32_t box{SpriteX(i, kFill), SpriteY(i, kFill), SpriteX(i, kFill) + kFill,
                                 SpriteY(i, kFill) + kFill};
        pixman_image_fill_boxes(PIXMAN_OP_SRC, pixman.m_pScreen, &pixman.m_Fill, 1, &box);
      },
      kFill * kFill);
}

void Modes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"direct3d", "bpp"});
  for (int direct3d : {0, 1})
    for (int bpp : {32, 16}) b->Args({direct3d, bpp});
  b->UseRealTime();
}

BENCHMARK(BM_FullScreenCopy)->Apply(Modes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyedSprite32x32)->Apply(Modes);
BENCHMARK(BM_AlphaSprite64x64)->Apply(Modes);
BENCHMARK(BM_TranslucentSprite64x64)->Apply(Modes);
BENCHMARK(BM_Fill128x128)->Apply(Modes);

}  // namespace

BENCHMARK_MAIN();
