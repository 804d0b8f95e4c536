// The quads the program draws on the software Direct3D 9 device: an
// axis-aligned rectangle as a strip of two triangles, its texture laid along
// its axes, one colour at every corner. Drawn row by row, with the texel of
// each column and row worked out once, instead of through the triangle
// rasteriser's edge functions; the pixels and values are the rasteriser's.
//
// Coverage: the two triangles share the diagonal, so under the fill rule
// (top and left edges owned) the pixels drawn are those whose centres lie in
// [left, right) x [top, bottom) of the rectangle. The texture coordinate of
// a column (row) is linear in x (y); its texel is found through the same
// Wrap with its tie bias, which the rounding of either way of computing the
// coordinate stays far below.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <vector>

#include "platform/video/d3d9_pixel_pipeline.h"
#include "platform/video/d3d9_row_shader.h"
#include "platform/video/pixel_rows.h"
#include "platform/video/vector_clones.h"

namespace platform {

namespace {

// The pixels a quad covers, inclusive, cut to the target.
struct Rectangle {
  int x0, x1, y0, y1;
};

bool SameColour(const DrawVertex& a, const DrawVertex& b) {
  return std::equal(std::begin(a.channel), std::end(a.channel), std::begin(b.channel));
}

// The strip's triangles (0, 1, 2) and (1, 2, 3) share edge 1-2, so corners
// 0 and 3 are opposite and 1 and 2 hold the other two corners.
bool AsRectangle(const DrawVertex (&v)[4], const PixelBuffer& target, Rectangle& out) {
  const DrawVertex &a = v[0], &d = v[3];
  const auto isCorner = [&](const DrawVertex& p, const DrawVertex& sameX, const DrawVertex& sameY) {
    return p.x == sameX.x && p.u == sameX.u && p.y == sameY.y && p.v == sameY.v;
  };
  if (!((isCorner(v[1], a, d) && isCorner(v[2], d, a)) || (isCorner(v[1], d, a) && isCorner(v[2], a, d))))
    return false;
  if (a.x == d.x || a.y == d.y || !std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(d.x) ||
      !std::isfinite(d.y))
    return false;
  for (int i = 1; i < 4; ++i)
    if (!SameColour(v[0], v[i])) return false;
  const double left = std::min(a.x, d.x), right = std::max(a.x, d.x);
  const double top = std::min(a.y, d.y), bottom = std::max(a.y, d.y);
  // Pixel centres are integers: the first at or after the start, the last
  // before the end.
  out.x0 = static_cast<int>(std::max(0.0, std::ceil(left)));
  out.x1 = static_cast<int>(std::min<double>(target.Width(), std::ceil(right)) - 1);
  out.y0 = static_cast<int>(std::max(0.0, std::ceil(top)));
  out.y1 = static_cast<int>(std::min<double>(target.Height(), std::ceil(bottom)) - 1);
  return true;
}

// A texture coordinate along one axis: t0 at p0 and t1 at p1, linear between.
struct Axis {
  double p0, t0, slope;
  Axis(double start, double tStart, double end, double tEnd)
      : p0(start), t0(tStart), slope((tEnd - tStart) / (end - start)) {}
  double At(double p) const { return t0 + (p - p0) * slope; }
};

// The texel column of each pixel of a row: first + k for pixel k when
// unit, else list[k]. Held by value in the loops, so that the compiler need
// not read it again after each store of a pixel.
struct TexelColumns {
  const int* list;
  int first;
  bool unit;

  int operator()(int k) const { return unit ? first + k : list[k]; }
};

// The texel columns of x0 .. x1 and rows of y0 .. y1.
struct TexelMap {
  std::vector<int> columns, rows;
  bool unitColumns = true;  // column x is columns[0] + (x - x0)

  TexelColumns Columns() const { return {columns.data(), columns[0], unitColumns}; }
};

void MapTexels(const DrawVertex (&v)[4], const Rectangle& rect, const PixelPipeline& pipeline, TexelMap& map) {
  const DrawVertex &a = v[0], &d = v[3];
  map.columns.resize(static_cast<std::size_t>(rect.x1 - rect.x0 + 1));
  map.rows.resize(static_cast<std::size_t>(rect.y1 - rect.y0 + 1));
  const Axis across(a.x, a.u, d.x, d.u), down(a.y, a.v, d.y, d.v);
  for (int y = rect.y0; y <= rect.y1; ++y)
    map.rows[static_cast<std::size_t>(y - rect.y0)] = pipeline.WrapV(down.At(y));
  // One texel a pixel, left to right, without a wrap between the ends: the
  // columns need not be listed. Texture coordinates of a width that is not
  // a power of two miss the exact slope; their columns are listed, then
  // found to run one by one all the same.
  map.columns[0] = pipeline.WrapU(across.At(rect.x0));
  map.unitColumns = across.slope * pipeline.texture->Width() == 1.0 &&
                    pipeline.WrapU(across.At(rect.x1)) - map.columns[0] == rect.x1 - rect.x0;
  if (map.unitColumns) return;
  bool unit = true;
  for (int x = rect.x0; x <= rect.x1; ++x) {
    const int column = pipeline.WrapU(across.At(x));
    map.columns[static_cast<std::size_t>(x - rect.x0)] = column;
    unit = unit && column == map.columns[0] + (x - rect.x0);
  }
  map.unitColumns = unit;
}

// The row loops, each built for AVX2 and the baseline.
VECTOR_CLONES bool CopyTexelRow32(const std::uint8_t* from, std::uint8_t* to, int n) {
  return CopyOpaqueRow32(from, to, n);
}
VECTOR_CLONES void CopyTexelRow1555(const std::uint8_t* from, std::uint8_t* to, int n) {
  CopyOpaqueRow1555(from, to, n);
}
VECTOR_CLONES void CopyTexelRow1555To565(const std::uint8_t* from, std::uint8_t* to, int n) {
  CopyOpaqueRow1555To565(from, to, n);
}
VECTOR_CLONES void ConvertTexelRow1555To565(const std::uint8_t* from, std::uint8_t* to, int n) {
  ConvertRow1555To565(from, to, n);
}

VECTOR_CLONES void BlendScaledTexelRow32(const std::uint8_t* from, std::uint8_t* to, int n, std::uint32_t colourScale,
                                         std::uint32_t colourOffset, std::uint32_t alphaScale, std::uint32_t xBits) {
  constexpr int kRun = 256;
  std::uint32_t source[kRun];
  for (int k = 0; k < n; k += kRun) {
    const int m = std::min(kRun, n - k);
    ScaleTexelRow32(from + 4 * k, source, m, colourScale, colourOffset, alphaScale);
    BlendOverRow32(source, to + 4 * k, m, xBits);
  }
}

// Opaque rows of texels copied as they are, a run of them that lies end
// to end on both sides (whole rows of surfaces of one pitch) at once.
class RowCopies {
 public:
  ~RowCopies() { Flush(); }
  void Add(const std::uint8_t* from, std::uint8_t* to, std::size_t bytes) {
    if (m_nBytes && m_pFrom + m_nBytes == from && m_pTo + m_nBytes == to) {
      m_nBytes += bytes;
      return;
    }
    Flush();
    m_pFrom = from;
    m_pTo = to;
    m_nBytes = bytes;
  }
  void Flush() {
    if (m_nBytes) std::memcpy(m_pTo, m_pFrom, m_nBytes);
    m_nBytes = 0;
  }

 private:
  const std::uint8_t* m_pFrom = nullptr;
  std::uint8_t* m_pTo = nullptr;
  std::size_t m_nBytes = 0;
};

// Texels whose stored values the target shares: opaque ones moved as they
// are, clear ones skipped, the rest (alpha between, 32-bit only) shaded
// after the row's pass. A row known to be opaque is copied whole; the pass
// over the others writes every pixel, the old value where it keeps it, so
// that it runs without branches.
template <int Bytes>
void DrawRawTexels(const Rectangle& rect, const TexelMap& map, PixelBuffer& target, const PixelPipeline& pipeline,
                   const Colour& diffuse) {
  const PixelBuffer& texture = *pipeline.texture;
  const auto opaque = [](std::uint32_t raw) { return Bytes == 2 ? (raw & 0x8000) != 0 : raw >> 24 == 0xFF; };
  // Alpha neither 0 nor 0xFF (never for A1R5G5B5).
  const auto between = [](std::uint32_t raw) {
    return Bytes == 4 && static_cast<std::uint8_t>((raw >> 24) - 1) < 0xFE;
  };
  const int width = rect.x1 - rect.x0 + 1;
  const TexelColumns column = map.Columns();
  RowCopies copies;
  for (int y = rect.y0; y <= rect.y1; ++y) {
    const int texelRow = map.rows[static_cast<std::size_t>(y - rect.y0)];
    const std::uint8_t* in = texture.Row(texelRow);
    std::uint8_t* out = target.Row(y) + rect.x0 * Bytes;
    const auto texelAt = [&](int k) { return in + column(k) * Bytes; };
    if (column.unit && pipeline.opaqueTexels &&
        pipeline.opaqueTexels->Opaque(texture, texelRow, column.first, column.first + width - 1)) {
      copies.Add(texelAt(0), out, static_cast<std::size_t>(width) * Bytes);
      continue;
    }
    copies.Flush();
    bool anyBetween = false;
    if (column.unit && &texture != &target) {
      if constexpr (Bytes == 4) {
        anyBetween = CopyTexelRow32(texelAt(0), out, width);
      } else {
        CopyTexelRow1555(texelAt(0), out, width);
      }
    } else {
      for (int k = 0; k < width; ++k) {
        const std::uint32_t raw = LoadPixel<Bytes>(texelAt(k));
        if (opaque(raw)) StorePixel<Bytes>(out + k * Bytes, raw);
        anyBetween |= between(raw);
      }
    }
    if (!anyBetween) continue;
    for (int k = 0; k < width; ++k) {
      const std::uint32_t raw = LoadPixel<Bytes>(texelAt(k));
      if (!between(raw)) continue;
      const std::uint32_t texel = ToArgb(texture.Format(), raw, nullptr);
      target.WriteArgb(rect.x0 + k, y, pipeline.Shade(diffuse, texel, target.ReadArgb(rect.x0 + k, y)));
    }
  }
}

// A1R5G5B5 texels onto a 16-bit target of another layout: opaque ones
// through the conversion table, the others (clear) skipped; a row known to
// be opaque onto R5G6B5 converted without looking at the row it replaces.
void DrawConverted1555(const Rectangle& rect, const TexelMap& map, PixelBuffer& target, const PixelBuffer& texture,
                       const OpaqueRows* opaqueTexels, const std::uint16_t* converted) {
  const int width = rect.x1 - rect.x0 + 1;
  const TexelColumns column = map.Columns();
  for (int y = rect.y0; y <= rect.y1; ++y) {
    const int texelRow = map.rows[static_cast<std::size_t>(y - rect.y0)];
    const std::uint8_t* in = texture.Row(texelRow);
    std::uint8_t* out = target.Row(y) + rect.x0 * 2;
    if (column.unit && target.Format() == PixelFormat::RGB565) {
      if (opaqueTexels && opaqueTexels->Opaque(texture, texelRow, column.first, column.first + width - 1)) {
        ConvertTexelRow1555To565(in + column.first * 2, out, width);
      } else {
        CopyTexelRow1555To565(in + column.first * 2, out, width);
      }
      continue;
    }
    for (int k = 0; k < width; ++k) {
      const std::uint32_t raw = LoadPixel<2>(in + column(k) * 2);
      const std::uint32_t kept = LoadPixel<2>(out + k * 2);
      StorePixel<2>(out + k * 2, (raw & 0x8000) ? converted[raw & 0x7FFF] : kept);  // no branch to mispredict
    }
  }
}

// The same source colour at every pixel: written as one stored value, or
// blended onto each pixel.
template <int Bytes>
void DrawPlainColour(const Rectangle& rect, PixelBuffer& target, const PixelPipeline& pipeline,
                     std::uint32_t sourceArgb) {
  const PixelFormat format = target.Format();
  const int width = rect.x1 - rect.x0 + 1;
  // Blending by factors ONE and ZERO gives the source itself.
  const bool replaces =
      !pipeline.blending || (pipeline.Blend(sourceArgb, 0) == sourceArgb && pipeline.Blend(sourceArgb, ~0u) == sourceArgb);
  if (replaces) {
    const RECT area{rect.x0, rect.y0, rect.x1 + 1, rect.y1 + 1};
    target.FillRaw(&area, FromArgb(format, sourceArgb));
    return;
  }
  // Pixels of one stored value (a filled area) blend to one value.
  std::uint32_t lastRaw = 0, lastResult = FromArgb(format, pipeline.Blend(sourceArgb, StoredToArgb<Bytes>(format, 0)));
  for (int y = rect.y0; y <= rect.y1; ++y) {
    std::uint8_t* out = target.Row(y) + rect.x0 * Bytes;
    for (int k = 0; k < width; ++k) {
      const std::uint32_t raw = LoadPixel<Bytes>(out + k * Bytes);
      if (raw != lastRaw) {
        lastRaw = raw;
        lastResult = ArgbToStored<Bytes>(format, pipeline.Blend(sourceArgb, StoredToArgb<Bytes>(format, raw)));
      }
      StorePixel<Bytes>(out + k * Bytes, lastResult);
    }
  }
}

// Texels copied (CopiesTexels) onto a target of another format: opaque ones
// converted, clear ones skipped, the others shaded.
template <int Bytes, int TexelBytes>
void DrawConvertedTexels(const Rectangle& rect, const TexelMap& map, PixelBuffer& target,
                         const PixelPipeline& pipeline, const Colour& diffuse) {
  const PixelBuffer& texture = *pipeline.texture;
  const PixelFormat format = target.Format(), texelFormat = texture.Format();
  const int width = rect.x1 - rect.x0 + 1;
  const TexelColumns column = map.Columns();
  for (int y = rect.y0; y <= rect.y1; ++y) {
    const std::uint8_t* in = texture.Row(map.rows[static_cast<std::size_t>(y - rect.y0)]);
    std::uint8_t* out = target.Row(y) + rect.x0 * Bytes;
    for (int k = 0; k < width; ++k) {
      const std::uint32_t texel = StoredToArgb<TexelBytes>(
          texelFormat, LoadPixel<TexelBytes>(in + column(k) * TexelBytes));
      const std::uint32_t alpha = texel >> 24;
      if (alpha == 0) continue;
      const std::uint32_t result =
          alpha == 0xFF ? texel
                        : pipeline.Shade(diffuse, texel, StoredToArgb<Bytes>(format, LoadPixel<Bytes>(out + k * Bytes)));
      StorePixel<Bytes>(out + k * Bytes, ArgbToStored<Bytes>(format, result));
    }
  }
}

// The tint and translucency of A8R8G8B8 texels blended onto 32-bit targets
// by their alpha (SRCALPHA, INVSRCALPHA): stages whose colour is the
// texel's channel scaled by one constant (MODULATE by a grey, SELECTARG1),
// or the texture factor blended in by its alpha (BLENDFACTORALPHA), and
// whose alpha is the texel's scaled (MODULATE, SELECTARG1). Computed two
// channels a 32-bit lane, with the values of PixelPipeline::Shade.
struct TexelScale {
  std::uint32_t colour = 255, offset = 0, alpha = 255;
};

bool ScalesTexels(const PixelPipeline& pipeline, const Colour& diffuse, TexelScale& scale) {
  if (!pipeline.BlendsOver() || pipeline.texture->Format() != PixelFormat::ARGB8888) return false;
  const auto constant = [&](std::uint32_t which) -> const Colour* {
    switch (which & 0xF) {
      case D3DTA_TEXTURE: return nullptr;
      case D3DTA_TFACTOR: return &pipeline.factor;
      default: return &diffuse;  // DIFFUSE, and CURRENT at stage 0
    }
  };
  if ((pipeline.colourArg1 & 0xF) != D3DTA_TEXTURE || (pipeline.alphaArg1 & 0xF) != D3DTA_TEXTURE) return false;
  const Colour* colourArg = constant(pipeline.colourArg2);
  switch (pipeline.colourOp) {
    case D3DTOP_SELECTARG1: break;
    case D3DTOP_MODULATE:
      if (!colourArg || colourArg->c[1] != colourArg->c[2] || colourArg->c[1] != colourArg->c[3]) return false;
      scale.colour = static_cast<std::uint32_t>(colourArg->c[1]);
      break;
    case D3DTOP_BLENDFACTORALPHA: {
      if (!colourArg) return false;
      const int alpha = pipeline.factor.c[0];
      scale.colour = static_cast<std::uint32_t>(alpha);
      for (int c = 1; c < 4; ++c)
        scale.offset |= static_cast<std::uint32_t>((colourArg->c[c] * (255 - alpha) + 127) / 255) << (24 - 8 * c);
      break;
    }
    default: return false;
  }
  const Colour* alphaArg = constant(pipeline.alphaArg2);
  switch (pipeline.alphaOp) {
    case D3DTOP_SELECTARG1: return true;
    case D3DTOP_MODULATE:
      if (!alphaArg) return false;
      scale.alpha = static_cast<std::uint32_t>(alphaArg->c[0]);
      return true;
    default: return false;
  }
}

void DrawScaledTexels(const Rectangle& rect, const TexelMap& map, PixelBuffer& target, const PixelBuffer& texture,
                      const TexelScale& scale) {
  const int width = rect.x1 - rect.x0 + 1;
  const TexelColumns column = map.Columns();
  const std::uint32_t xBits = target.Format() == PixelFormat::XRGB8888 ? 0xFF000000u : 0;
  static thread_local std::vector<std::uint8_t> gathered;
  for (int y = rect.y0; y <= rect.y1; ++y) {
    const std::uint8_t* in = texture.Row(map.rows[static_cast<std::size_t>(y - rect.y0)]);
    const std::uint8_t* texels = in + column.first * 4;
    if (!column.unit) {
      gathered.resize(static_cast<std::size_t>(width) * 4);
      for (int k = 0; k < width; ++k) std::memcpy(gathered.data() + 4 * k, in + column(k) * 4, 4);
      texels = gathered.data();
    }
    BlendScaledTexelRow32(texels, target.Row(y) + rect.x0 * 4, width, scale.colour, scale.offset, scale.alpha, xBits);
  }
}

// Every other case: runs of each row shaded at once, from the texels in
// place or gathered.
template <int Bytes, int TexelBytes>
void DrawShaded(const Rectangle& rect, const TexelMap& map, PixelBuffer& target, const PixelPipeline& pipeline,
                const Colour& diffuse) {
  const PixelBuffer& texture = *pipeline.texture;
  const int width = rect.x1 - rect.x0 + 1;
  const TexelColumns column = map.Columns();
  const RowShader shader(pipeline, diffuse, texture.Format(), target.Format());
  std::uint8_t gathered[RowShader::kRun * TexelBytes];
  for (int y = rect.y0; y <= rect.y1; ++y) {
    const std::uint8_t* in = texture.Row(map.rows[static_cast<std::size_t>(y - rect.y0)]);
    std::uint8_t* out = target.Row(y) + rect.x0 * Bytes;
    for (int k = 0; k < width; k += RowShader::kRun) {
      const int n = std::min(RowShader::kRun, width - k);
      const std::uint8_t* texels = in + column(k) * TexelBytes;
      if (!column.unit) {
        for (int j = 0; j < n; ++j)
          std::memcpy(gathered + j * TexelBytes, in + column(k + j) * TexelBytes, TexelBytes);
        texels = gathered;
      }
      shader.Shade(texels, out + k * Bytes, n);
    }
  }
}

template <int Bytes>
void DrawRectangle(const DrawVertex (&v)[4], const Rectangle& rect, PixelBuffer& target,
                   const PixelPipeline& pipeline) {
  Colour diffuse;
  for (int k = 0; k < 4; ++k) diffuse.c[k] = static_cast<int>(v[0].channel[k]);
  if (!pipeline.ReadsTexture()) {
    DrawPlainColour<Bytes>(rect, target, pipeline, pipeline.Combined(diffuse, 0xFFFFFFFFu));
    return;
  }
  static thread_local TexelMap map;
  MapTexels(v, rect, pipeline, map);
  const PixelBuffer& texture = *pipeline.texture;
  const bool copiesTexels = pipeline.CopiesTexels(diffuse);
  if (copiesTexels) {
    if (pipeline.SameStoredValues(target) && BytesPerPixel(texture.Format()) == Bytes &&
        (texture.Format() == PixelFormat::ARGB8888 || texture.Format() == PixelFormat::ARGB1555)) {
      DrawRawTexels<Bytes>(rect, map, target, pipeline, diffuse);
      return;
    }
    if constexpr (Bytes == 2) {
      if (texture.Format() == PixelFormat::ARGB1555) {
        if (const std::uint16_t* converted = Opaque1555Conversion(target.Format())) {
          DrawConverted1555(rect, map, target, texture, pipeline.opaqueTexels, converted);
          return;
        }
      }
    }
  }
  if constexpr (Bytes == 4) {
    TexelScale scale;
    if (ScalesTexels(pipeline, diffuse, scale)) {
      DrawScaledTexels(rect, map, target, texture, scale);
      return;
    }
  }
  const bool texels16 = BytesPerPixel(texture.Format()) == 2;
  if (copiesTexels && texels16) {
    DrawConvertedTexels<Bytes, 2>(rect, map, target, pipeline, diffuse);
  } else if (copiesTexels) {
    DrawConvertedTexels<Bytes, 4>(rect, map, target, pipeline, diffuse);
  } else if (texels16) {
    DrawShaded<Bytes, 2>(rect, map, target, pipeline, diffuse);
  } else {
    DrawShaded<Bytes, 4>(rect, map, target, pipeline, diffuse);
  }
}

}  // namespace

bool DrawAxisAlignedQuad(const DrawVertex (&strip)[4], PixelBuffer& target, const PixelPipeline& pipeline) {
  const int bytes = BytesPerPixel(target.Format());
  // Textures are of 16 or 32 bits (PixelFormatOf), like targets.
  if (bytes != 2 && bytes != 4) return false;
  if (pipeline.texture && (pipeline.texture->Empty() || pipeline.texture->Format() == PixelFormat::Index8))
    return false;
  Rectangle rect;
  if (!AsRectangle(strip, target, rect)) return false;
  if (rect.x0 > rect.x1 || rect.y0 > rect.y1) return true;
  if (bytes == 2) {
    DrawRectangle<2>(strip, rect, target, pipeline);
  } else {
    DrawRectangle<4>(strip, rect, target, pipeline);
  }
  return true;
}

}  // namespace platform
