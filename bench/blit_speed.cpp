// Blit speed on both back ends at 32 and 16 bits, in pixels per second: a
// keyed 32 x 32 sprite (half its pixels transparent) and a full-screen
// 640 x 480 copy onto the back buffer, drawn through DDBlt as the game draws.
#include <benchmark/benchmark.h>

#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/image_table.h"
#include "graphics/palette_colours.h"
#include "graphics/surface.h"

namespace {

// A device of one mode, headless, with a keyed 32 x 32 sprite (a
// checkerboard of palette colour 0 and 40) and a 640 x 480 picture.
class BlitBench {
 public:
  BlitBench(int direct3d, int bpp) {
    m_bStarted = DDInit(direct3d, nullptr, 640, 480, bpp, 0, 0, 1, 60, 0, g_SurfaceTable, g_ImageTable, kImageCount);
    if (!m_bStarted) return;
    for (int n = 0; n < 256; ++n) g_palCurrent[n] = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(255 - n),
                                                     static_cast<std::uint8_t>(n / 2), PaletteFlag(n)};
    if (!direct3d) g_dwTransmit = PalNumToRGB(0);
    DDCreateSurface(&m_Sprite, 32, 32, 1, 0, 0, 0, 0);
    DDCreateSurface(&m_Picture, 640, 480, 0, 0, 0, 0, 0);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) DDFillRectPal(&m_Sprite, x, y, 1, 1, (x + y) % 2 ? 40 : 0);
    for (int y = 0; y < 480; y += 16) DDFillRectPal(&m_Picture, 0, y, 640, 16, static_cast<std::uint32_t>(y / 16 + 1));
  }
  ~BlitBench() {
    DDReleaseSurface(&m_Sprite);
    DDReleaseSurface(&m_Picture);
    DDRelease();
  }
  bool Started() const { return m_bStarted; }
  DDSURFACEDATA* Sprite() { return &m_Sprite; }
  DDSURFACEDATA* Picture() { return &m_Picture; }

 private:
  bool m_bStarted = false;
  DDSURFACEDATA m_Sprite, m_Picture;
};

void CountPixels(benchmark::State& state, std::int64_t perBlit) {
  state.counters["pixels_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations() * perBlit), benchmark::Counter::kIsRate);
}

// Arguments: Direct3D (0 or 1), bits per pixel.
void BM_KeyedSprite32x32(benchmark::State& state) {
  BlitBench bench(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  if (!bench.Started()) {
    state.SkipWithError("the device did not start");
    return;
  }
  int i = 0;
  for (auto _ : state) {
    DDBlt(&g_sdBackBuffer, (i * 37) % 600, (i * 23) % 440, 32, 32, bench.Sprite(), 0, 0, 1);
    ++i;
  }
  CountPixels(state, 32 * 32);
}

void BM_FullScreenCopy640x480(benchmark::State& state) {
  BlitBench bench(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  if (!bench.Started()) {
    state.SkipWithError("the device did not start");
    return;
  }
  for (auto _ : state) DDBlt(&g_sdBackBuffer, 0, 0, 640, 480, bench.Picture(), 0, 0, 0);
  CountPixels(state, 640 * 480);
}

void Modes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"direct3d", "bpp"});
  for (int direct3d : {0, 1})
    for (int bpp : {32, 16}) b->Args({direct3d, bpp});
}

BENCHMARK(BM_KeyedSprite32x32)->Apply(Modes);
BENCHMARK(BM_FullScreenCopy640x480)->Apply(Modes)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
