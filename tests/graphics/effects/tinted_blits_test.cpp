// The tint and translucent blits: their arithmetic per back end and depth on
// one-pixel surfaces, keys, clipping, the paths Direct3D chooses and the
// results.
#include "graphics/effects/tinted_blits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "graphics/device.h"
#include "graphics/palette_colours.h"
#include "graphics/scene.h"
#include "support/graphics_device.h"
#include "support/raw_surface.h"

namespace {

using platform::FailCall;
using platform::GraphicsCall;

constexpr int kTint = 7;

PaletteBuffer TintPalette(PaletteColour tint) {
  PaletteBuffer palette{};
  palette[kTint] = tint;
  return palette;
}

// Row a, column b holds 3a + b: a swapped index shows.
std::array<std::uint8_t, 65536> TestBlendTable() {
  std::array<std::uint8_t, 65536> table{};
  for (int a = 0; a < 256; ++a)
    for (int b = 0; b < 256; ++b) table[static_cast<std::size_t>(a * 256 + b)] = static_cast<std::uint8_t>(3 * a + b);
  return table;
}

// Where the blit draws: a system-memory texture (the Direct3D software
// path), a video-memory one (the quad), or the back buffer.
enum class Target { SystemMemory, VideoMemory, BackBuffer };

// A one-pixel source and destination of the given values; the destination
// is the back buffer's top-left pixel for Target::BackBuffer.
class OnePixel {
 public:
  OnePixel(Target target, std::uint32_t source, std::uint32_t destination)
      : m_Source(1, 1, source, target != Target::VideoMemory),
        m_Destination(1, 1, destination, target != Target::VideoMemory),
        m_pTarget(target == Target::BackBuffer ? &g_sdBackBuffer : m_Destination.Surface()) {
    cSurfaceLock lock(m_pTarget);
    lock.SetPixel(0, 0, destination);
  }
  DDSURFACEDATA* Source() { return m_Source.Surface(); }
  DDSURFACEDATA* Destination() { return m_pTarget; }

 private:
  RawSurface m_Source, m_Destination;
  DDSURFACEDATA* m_pTarget;
};

struct AlphaCase {
  const char* name;
  const char* mode;
  Target target;
  int level;
  std::uint32_t source, destination;
  PaletteColour tint;
  std::uint32_t expected;
};

class AlphaArithmetic : public testing::TestWithParam<AlphaCase> {};

TEST_P(AlphaArithmetic, OnePixelComesOutAsSpecified) {
  const AlphaCase& c = GetParam();
  ScopedGraphicsDevice device(GraphicsModeNamed(c.mode));
  ASSERT_TRUE(device.Started());
  DDSetVirBackBuffer(0);
  const auto table = TestBlendTable();
  const PaletteBuffer palette = TintPalette(c.tint);
  OnePixel pixels(c.target, c.source, c.destination);
  DDSURFACEDATA* to = pixels.Destination();
  EXPECT_TRUE(DDBltAlpha(to, 0, 0, 1, 1, pixels.Source(), 0, 0, 0, palette.data(), table.data(), kTint, c.level));
  cSurfaceLock lock(to);
  EXPECT_EQ(lock.GetPixel(0, 0), c.expected);
}

// 16-bit Direct3D textures are A1R5G5B5: red at 10, green at 5, blue at 0.
constexpr std::uint32_t Argb1555(int r, int g, int b) { return 0x8000u | r << 10 | g << 5 | b; }
constexpr std::uint32_t Rgb565(int r, int g, int b) { return static_cast<std::uint32_t>(r << 11 | g << 5 | b); }

const AlphaCase kAlphaCases[] = {
    {"D3DSoftwareLevel1Halves", "D3D32", Target::SystemMemory, 1, 0xFF000000, 0, {255, 255, 255, 0}, 0xFF7F7F7F},
    // 200 x M, M = 64 x the float nearest 1/255, just above 0.25098.
    {"D3DSoftwareLevel2KeepsAQuarter", "D3D32", Target::SystemMemory, 2, 0x00C8C8C8, 0, {0, 0, 0, 0}, 0xFF323232},
    {"D3DSoftwareLevel5IsTheFlatTint", "D3D32", Target::SystemMemory, 5, 0xFF102030, 0, {1, 2, 3, 0}, 0xFF010203},
    {"D3DSoftwareLevel0DrawsNothing", "D3D32", Target::SystemMemory, 0, 0xFF102030, 0xFF445566, {1, 2, 3, 0},
     0xFF445566},
    {"D3DSoftwareNegativeLevelDrawsNothing", "D3D32", Target::SystemMemory, -1, 0xFF102030, 0xFF445566,
     {1, 2, 3, 0}, 0xFF445566},
    // Tint (255, 0, 128) in 5-bit ranges is (31, 0, 15).
    {"D3D16Level1", "D3D16Window", Target::SystemMemory, 1, Argb1555(10, 20, 30), 0, {255, 0, 128, 0},
     Argb1555(20, 10, 22)},
    {"D3D16FullScreenLevel1SumsGreen", "D3D16FullScreen", Target::BackBuffer, 1, Argb1555(10, 20, 30), 0,
     {255, 0, 128, 0}, Rgb565(20, 20, 22)},
    {"D3D16FullScreenLevel2DoublesGreen", "D3D16FullScreen", Target::BackBuffer, 2, Argb1555(10, 20, 30), 0,
     {255, 0, 128, 0}, Rgb565(25, 10, 18)},
    // Level 3: 0 -> 127 -> 191 -> 223; the fourth byte is the destination's.
    {"DDLevel3HalvesThreeTimes", "DD32", Target::SystemMemory, 3, 0x55000000, 0xAA000000, {255, 255, 255, 0},
     0xAADFDFDF},
    {"DDLevel5HalvesFiveTimes", "DD32", Target::SystemMemory, 5, 0x00000000, 0, {255, 255, 255, 0}, 0x00F7F7F7},
    {"DDLevel0DrawsNothing", "DD32", Target::SystemMemory, 0, 0x123456, 0x654321, {255, 255, 255, 0}, 0x654321},
    {"DDNegativeLevelCopies", "DD32", Target::SystemMemory, -1, 0x77123456, 0x11654321, {255, 255, 255, 0},
     0x11123456},
    // Palette values are channel values here: (31, 0, 16) on 0-255 is
    // (255, 0, 131); red 10 -> 82 -> 168 -> 20, green 40 -> 161 -> 80 -> 19,
    // blue 30 -> 246 -> 188 -> 22.
    {"DD16Level1ThroughTheEightBitRange", "DD16_565", Target::SystemMemory, 1, Rgb565(10, 40, 30), 0,
     {31, 0, 16, 0}, Rgb565(20, 19, 22)},
    // Two look-ups in row p, column 7: 5 -> 22 -> 73.
    {"DD8Level2LooksUpTwice", "DD8", Target::SystemMemory, 2, 5, 0, {0, 0, 0, 0}, 73},
};

INSTANTIATE_TEST_SUITE_P(Cases, AlphaArithmetic, testing::ValuesIn(kAlphaCases),
                         [](const testing::TestParamInfo<AlphaCase>& info) { return std::string(info.param.name); });

struct TranslucentCase {
  const char* name;
  const char* mode;
  Target target;
  int flags;
  std::uint32_t source, destination, expected;
};

class TranslucentArithmetic : public testing::TestWithParam<TranslucentCase> {};

TEST_P(TranslucentArithmetic, OnePixelComesOutAsSpecified) {
  const TranslucentCase& c = GetParam();
  ScopedGraphicsDevice device(GraphicsModeNamed(c.mode));
  ASSERT_TRUE(device.Started());
  if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
  DDSetVirBackBuffer(0);
  const auto table = TestBlendTable();
  OnePixel pixels(c.target, c.source, c.destination);
  DDSURFACEDATA* to = pixels.Destination();
  EXPECT_TRUE(DDBltTranslucent(to, 0, 0, 1, 1, pixels.Source(), 0, 0, c.flags, table.data()));
  cSurfaceLock lock(to);
  EXPECT_EQ(lock.GetPixel(0, 0), c.expected);
}

const TranslucentCase kTranslucentCases[] = {
    {"DD8BlendsThroughTheTable", "DD8", Target::SystemMemory, 1, 5, 9, 32},  // row 9, column 5
    {"DD8TransparentDestinationTakesTheSource", "DD8", Target::SystemMemory, 1, 5, 0, 5},
    {"DD8KeyedTransparentSourceIsLeftOut", "DD8", Target::SystemMemory, 1, 0, 9, 9},
    {"DD8UnkeyedTransparentSourceIsBlended", "DD8", Target::SystemMemory, 0, 0, 9, 27},
    // Red 10 -> 82 and 20 -> 164: 123 -> 14; green 40 -> 161 and 0: 80 -> 19;
    // blue 31 -> 255 and 1 -> 8: 131 -> 15.
    {"DD16AveragesOnTheEightBitRange", "DD16_565", Target::SystemMemory, 1, Rgb565(10, 40, 31), Rgb565(20, 0, 1),
     Rgb565(14, 19, 15)},
    {"DD32AveragesAndKeepsTheFourthByte", "DD32", Target::SystemMemory, 1, 0x33FF0001, 0x11000103, 0x117F0002},
    {"D3D32SoftwareAveragesAnOpaqueResult", "D3D32", Target::SystemMemory, 1, 0x33FF0001, 0x11000103, 0xFF7F0002},
    {"D3D32SoftwareAveragesATransparentDestination", "D3D32", Target::SystemMemory, 1, 0xFF204060, 0, 0xFF102030},
    {"D3D32SoftwareKeyedTransparentSourceIsLeftOut", "D3D32", Target::SystemMemory, 1, 0, 0xFF204060, 0xFF204060},
    {"D3D16Averages", "D3D16Window", Target::SystemMemory, 1, Argb1555(31, 0, 7), Argb1555(0, 31, 2),
     Argb1555(15, 15, 4)},
    // Green: (screen green 10 + 2 x texture green 20) >> 1.
    {"D3D16FullScreenBackBufferDoublesTheSourceGreen", "D3D16FullScreen", Target::BackBuffer, 1,
     Argb1555(31, 20, 7), Rgb565(1, 10, 3), Rgb565(16, 25, 5)},
    // The device blends by vertex alpha 128: 255 x 128 / 255, rounded; the
    // target's alpha is blended too (128 x 128 + 255 x 127) / 255.
    {"D3D32QuadBlendsByHalfAlpha", "D3D32", Target::VideoMemory, 1, 0xFFFF0000, 0xFF000000, 0xBF800000},
};

INSTANTIATE_TEST_SUITE_P(Cases, TranslucentArithmetic, testing::ValuesIn(kTranslucentCases),
                         [](const testing::TestParamInfo<TranslucentCase>& info) {
                           return std::string(info.param.name);
                         });

// The software paths leave out transparent source pixels with flags 1 only.
TEST(TintedBlits, FlagsOneLeavesOutTransparentSourcePixels) {
  for (const char* mode : {"DD8", "DD16_565", "DD32", "D3D16Window", "D3D32"}) {
    SCOPED_TRACE(mode);
    ScopedGraphicsDevice device(GraphicsModeNamed(mode));
    ASSERT_TRUE(device.Started());
    if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
    const std::uint32_t key = g_lpD3DState ? 0 : g_dwTransmit;
    const auto table = TestBlendTable();
    const PaletteBuffer palette = TintPalette({200, 100, 50, 0});
    RawSurface source(2, 1, key, true), destination(2, 1, 0x34, true);
    EXPECT_TRUE(DDBltAlpha(destination.Surface(), 0, 0, 2, 1, source.Surface(), 0, 0, 1, palette.data(),
                           table.data(), kTint, 1));
    EXPECT_EQ(destination.At(0, 0), 0x34u);
    EXPECT_TRUE(DDBltAlpha(destination.Surface(), 0, 0, 2, 1, source.Surface(), 0, 0, 0, palette.data(),
                           table.data(), kTint, 1));
    EXPECT_NE(destination.At(0, 0), 0x34u);
  }
}

// A rectangle reaching outside either surface changes only what lies
// inside both.
TEST(TintedBlits, OnlyPixelsInsideBothSurfacesChange) {
  for (const char* mode : {"DD32", "D3D32"}) {
    SCOPED_TRACE(mode);
    ScopedGraphicsDevice device(GraphicsModeNamed(mode));
    ASSERT_TRUE(device.Started());
    const auto table = TestBlendTable();
    const PaletteBuffer palette = TintPalette({255, 255, 255, 0});
    RawSurface source(3, 3, 0xFF000000, true), destination(4, 4, 0xFF102030, true);
    // Destination from (-1, 2), source from (1, 1): columns 0-1, rows 2-3.
    EXPECT_TRUE(DDBltAlpha(destination.Surface(), -1, 2, 5, 5, source.Surface(), 0, -1, 0, palette.data(),
                           table.data(), kTint, 1));
    EXPECT_TRUE(DDBltTranslucent(destination.Surface(), 2, -2, 9, 9, source.Surface(), 1, 0, 0, table.data()));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) {
        SCOPED_TRACE(testing::Message() << x << "," << y);
        const bool tinted = x <= 1 && y == 3;  // source rows from -1: row 0 pairs with destination row 3
        const bool averaged = x >= 2 && y == 0;
        const std::uint32_t expected = tinted ? 0x7F7F7F : averaged ? 0x081018 : 0x102030;
        EXPECT_EQ(destination.At(x, y) & 0xFFFFFF, expected);
      }
  }
}

// With the virtual back buffer on, the translucent blit works on the
// locked pixels even for surfaces the device could draw; the tint still
// draws its quad.
TEST(TintedBlits, Direct3DTranslucencyTakesTheSoftwarePathWhileTheVirtualBackBufferIsOn) {
  ScopedGraphicsDevice device(GraphicsModeNamed("D3D32"));
  ASSERT_TRUE(device.Started());
  DDSetVirBackBuffer(1);
  const auto table = TestBlendTable();
  RawSurface source(1, 1, 0xFFFF0000), destination(1, 1, 0xFF000000);
  EXPECT_TRUE(DDBltTranslucent(destination.Surface(), 0, 0, 1, 1, source.Surface(), 0, 0, 1, table.data()));
  EXPECT_EQ(destination.At(0, 0), 0xFF7F0000u);  // (255 + 0) >> 1, not the device's 128

  // The quad: texel x 16/255 + tint x 239/255 at level 4.
  const PaletteBuffer palette = TintPalette({0, 0, 255, 0});
  destination.Fill(0xFF000000);
  EXPECT_TRUE(DDBltAlpha(destination.Surface(), 0, 0, 1, 1, source.Surface(), 0, 0, 1, palette.data(), table.data(),
                         kTint, 4));
  EXPECT_EQ(destination.At(0, 0), 0xFF1000EFu);
}

// A null surface draws nothing and succeeds; a lock that fails is false on
// DirectDraw and true on Direct3D (after the lock's message).
TEST(TintedBlits, ResultsOfMissingSurfacesAndFailedLocks) {
  const auto table = TestBlendTable();
  const PaletteBuffer palette = TintPalette({255, 255, 255, 0});
  for (const char* mode : {"DD32", "D3D32"}) {
    SCOPED_TRACE(mode);
    ScopedGraphicsDevice device(GraphicsModeNamed(mode));
    ASSERT_TRUE(device.Started());
    RawSurface source(2, 2, 0, true), destination(2, 2, 0, true);
    EXPECT_TRUE(DDBltAlpha(nullptr, 0, 0, 2, 2, source.Surface(), 0, 0, 0, palette.data(), table.data(), kTint, 1));
    EXPECT_TRUE(DDBltTranslucent(destination.Surface(), 0, 0, 2, 2, nullptr, 0, 0, 0, table.data()));
    DDSURFACEDATA missing;
    EXPECT_TRUE(DDBltTranslucent(&missing, 0, 0, 2, 2, source.Surface(), 0, 0, 0, table.data()));
    FailCall(g_lpD3DState ? GraphicsCall::LockRect : GraphicsCall::Lock);  // the destination's lock
    EXPECT_EQ(DDBltAlpha(destination.Surface(), 0, 0, 2, 2, source.Surface(), 0, 0, 0, palette.data(), table.data(),
                         kTint, 1),
              g_lpD3DState != nullptr);
    {
      cSurfaceLock held(source.Surface());  // the source's lock fails
      EXPECT_EQ(DDBltTranslucent(destination.Surface(), 0, 0, 2, 2, source.Surface(), 0, 0, 0, table.data()),
                g_lpD3DState != nullptr);
    }
    destination.Set(1, 1, 0x42);  // the destination was unlocked again
    EXPECT_EQ(destination.At(1, 1), 0x42u);
  }
}

}  // namespace

namespace {

// The DirectDraw blends at 16 and 32 bits over every pair of channel values:
// a grid whose column x holds source pixel GridPixel(x) and whose row y
// holds destination pixel GridPixel(y), each channel running through its
// whole range (16 bits: 64 values, 32 bits: 256) in its own order, the spare
// bits varying and the transparent colour among the values. The results
// are compared with the blends' arithmetic written out pixel by pixel.
class DirectDrawBlendGrid {
 public:
  DirectDrawBlendGrid()
      : m_nSize(g_nBpp == 32 ? 256 : 64),
        m_Source(m_nSize, m_nSize, 0, true),
        m_Destination(m_nSize, m_nSize, 0, true) {
    g_dwTransmit = GridPixel(5);
    cSurfaceLock source(m_Source.Surface());
    for (int y = 0; y < m_nSize; ++y)
      for (int x = 0; x < m_nSize; ++x) source.SetPixel(x, y, GridPixel(x));
  }
  int Size() const { return m_nSize; }
  DDSURFACEDATA* Source() { return m_Source.Surface(); }
  DDSURFACEDATA* Destination() { return m_Destination.Surface(); }

  // Puts the destination grid back.
  void Reset() {
    cSurfaceLock destination(m_Destination.Surface());
    for (int y = 0; y < m_nSize; ++y)
      for (int x = 0; x < m_nSize; ++x) destination.SetPixel(x, y, GridPixel(y));
  }

  // Every destination pixel against formula(source, destination) inside the
  // w x h rectangle at (x, y), which reads the source from column sx, and
  // against its old value outside (every source row is alike); stops at the
  // first difference.
  template <class Formula>
  void Expect(int x, int y, int w, int h, int sx, Formula&& formula) {
    cSurfaceLock destination(m_Destination.Surface());
    for (int py = 0; py < m_nSize; ++py)
      for (int px = 0; px < m_nSize; ++px) {
        const bool inside = px >= x && px < x + w && py >= y && py < y + h;
        const std::uint32_t old = GridPixel(py);
        const std::uint32_t expected = inside ? formula(GridPixel(px - x + sx), old) : old;
        if (destination.GetPixel(px, py) != expected) {
          ADD_FAILURE() << "at " << px << "," << py << ": " << std::hex << destination.GetPixel(px, py)
                        << " instead of " << expected;
          return;
        }
      }
  }

 private:
  std::uint32_t GridPixel(int i) const {
    if (g_nBpp == 32)
      return static_cast<std::uint32_t>((i * 13 & 0xFF) << 24 | i << 16 | (255 - i) << 8 | ((i * 7 + 3) & 0xFF));
    const DDCOLORFORMAT& f = g_cfSurface;
    const std::uint32_t spare = f.nMaxG == 31 ? static_cast<std::uint32_t>(i >> 5 & 1) << 15 : 0;
    return spare | EncodeChannels(i & f.nMaxR, (63 - i) & f.nMaxG, (i * 7 + 3) & f.nMaxB, f);
  }

  int m_nSize;
  RawSurface m_Source, m_Destination;
};

// The channel arithmetic of a DirectDraw blend on 16-bit pixels: each
// channel's value taken to 0-255 (v * 255 / max), op applied, and taken back
// (v * max / 255).
template <class ChannelOp>
std::uint32_t OnEightBitChannels16(std::uint32_t s, ChannelOp&& op) {
  const DDCOLORFORMAT& f = g_cfSurface;
  const ChannelValues c = DecodeChannels(s, f);
  const auto channel = [&](int v, int maximum, int index) { return op(v * 255 / maximum, index) * maximum / 255; };
  return EncodeChannels(channel(c.r, f.nMaxR, 0), channel(c.g, f.nMaxG, 1), channel(c.b, f.nMaxB, 2), f);
}

std::uint32_t TranslucentFormula(std::uint32_t s, std::uint32_t d) {
  if (g_nBpp == 32) {
    if (d == g_dwTransmit) return (d & 0xFF000000u) | (s & 0xFFFFFFu);
    std::uint32_t result = d & 0xFF000000u;
    for (int shift : {0, 8, 16}) result |= ((s >> shift & 0xFF) + (d >> shift & 0xFF)) >> 1 << shift;
    return result;
  }
  if (d == g_dwTransmit) return s;
  const DDCOLORFORMAT& f = g_cfSurface;
  const ChannelValues b = DecodeChannels(d, f);
  const int maxima[] = {f.nMaxR, f.nMaxG, f.nMaxB}, others[] = {b.r, b.g, b.b};
  return OnEightBitChannels16(s, [&](int v, int index) { return (v + others[index] * 255 / maxima[index]) >> 1; });
}

// nLevel halvings of the distance to the tint (palette values are 16-bit
// channel values at 16 bits).
std::uint32_t TintFormula(std::uint32_t s, std::uint32_t d, int nLevel, PaletteColour tint) {
  const int steps = std::clamp(nLevel, 0, 16);
  const int tints[] = {tint.r, tint.g, tint.b};
  const auto halve = [&](int v, int t) {
    for (int i = 0; i < steps; ++i) v = (v + t) >> 1;
    return v;
  };
  if (g_nBpp == 32) {
    std::uint32_t result = d & 0xFF000000u;
    for (int index = 0; index < 3; ++index) {
      const int shift = 16 - 8 * index;
      result |= static_cast<std::uint32_t>(halve(static_cast<int>(s >> shift & 0xFF), tints[index])) << shift;
    }
    return result;
  }
  const DDCOLORFORMAT& f = g_cfSurface;
  const int maxima[] = {f.nMaxR, f.nMaxG, f.nMaxB};
  return OnEightBitChannels16(s, [&](int v, int index) { return halve(v, tints[index] * 255 / maxima[index]); });
}

class DirectDrawBlends : public testing::TestWithParam<const char*> {};

TEST_P(DirectDrawBlends, MatchTheirArithmeticOverEveryChannelPair) {
  ScopedGraphicsDevice device(GraphicsModeNamed(GetParam()));
  ASSERT_TRUE(device.Started());
  DirectDrawBlendGrid grid;
  const int n = grid.Size();
  const auto table = TestBlendTable();
  // The whole grid, then an odd rectangle that starts and ends mid-row.
  struct Area {
    int x, y, w, h, sx, sy;
  };
  const Area areas[] = {{0, 0, n, n, 0, 0}, {3, 2, n - 12, 9, 7, 4}};
  for (const Area& a : areas)
    for (int flags : {0, 1}) {
      SCOPED_TRACE(testing::Message() << "rectangle at " << a.x << "," << a.y << ", flags " << flags);
      const auto keyed = [&](auto formula) {
        return [=](std::uint32_t s, std::uint32_t d) { return flags == 1 && s == g_dwTransmit ? d : formula(s, d); };
      };
      grid.Reset();
      EXPECT_TRUE(
          DDBltTranslucent(grid.Destination(), a.x, a.y, a.w, a.h, grid.Source(), a.sx, a.sy, flags, table.data()));
      grid.Expect(a.x, a.y, a.w, a.h, a.sx, keyed(TranslucentFormula));
      const PaletteColour tints[] = {{31, 17, 0, 0}, {0, 30, 31, 0}, {255, 0, 128, 0}};
      for (const PaletteColour& tint : g_nBpp == 32 ? std::span(tints) : std::span(tints).first(2))
        for (int level : {-1, 1, 2, 3, 7, 16, 40}) {
          SCOPED_TRACE(testing::Message() << "tint level " << level << " toward " << int{tint.r} << ","
                                          << int{tint.g} << "," << int{tint.b});
          const PaletteBuffer palette = TintPalette(tint);
          grid.Reset();
          EXPECT_TRUE(DDBltAlpha(grid.Destination(), a.x, a.y, a.w, a.h, grid.Source(), a.sx, a.sy, flags,
                                 palette.data(), table.data(), kTint, level));
          grid.Expect(a.x, a.y, a.w, a.h, a.sx, keyed([&](std::uint32_t s, std::uint32_t d) {
                        return TintFormula(s, d, level, tint);
                      }));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, DirectDrawBlends, testing::Values("DD16_565", "DD16_555", "DD32"),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
