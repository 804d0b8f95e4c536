// Drawing of the software Direct3D 9 device: texture stage 0, the vertex
// stream and the triangle rasteriser (see platform/video/d3d9.h).
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <type_traits>

#include "platform/video/d3d9.h"
#include "platform/video/d3d9_device_state.h"
#include "platform/video/d3d9_pixel_pipeline.h"

namespace platform {

namespace {

constexpr std::uint32_t kVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr UINT kVertexSize = 28;  // x, y, z, rhw, colour, u, v

using Vertex = DrawVertex;

Vertex ReadVertex(const std::uint8_t* bytes) {
  float position[4], uv[2];
  std::uint32_t colour;
  std::memcpy(position, bytes, sizeof position);
  std::memcpy(&colour, bytes + 16, sizeof colour);
  std::memcpy(uv, bytes + 20, sizeof uv);
  Vertex v;
  v.x = position[0];
  v.y = position[1];
  for (int c = 0; c < 4; ++c) v.channel[c] = (colour >> (24 - 8 * c)) & 0xFF;
  v.u = uv[0];
  v.v = uv[1];
  return v;
}

int Multiply(int a, int b) { return (a * b + 127) / 255; }

// One texture operation on one channel; alphas are the texture's, the
// diffuse colour's and the texture factor's, for the BLEND* operations.
int Combine(std::uint32_t op, int a1, int a2, int textureAlpha, int diffuseAlpha, int factorAlpha) {
  switch (op) {
    case D3DTOP_SELECTARG1: return a1;
    case D3DTOP_SELECTARG2: return a2;
    case D3DTOP_MODULATE: return Multiply(a1, a2);
    case D3DTOP_MODULATE2X: return std::min(255, 2 * Multiply(a1, a2));
    case D3DTOP_MODULATE4X: return std::min(255, 4 * Multiply(a1, a2));
    case D3DTOP_ADD: return std::min(255, a1 + a2);
    case D3DTOP_ADDSIGNED: return std::clamp(a1 + a2 - 128, 0, 255);
    case D3DTOP_SUBTRACT: return std::max(0, a1 - a2);
    case D3DTOP_ADDSMOOTH: return std::min(255, a1 + a2 - Multiply(a1, a2));
    case D3DTOP_BLENDDIFFUSEALPHA: return Multiply(a1, diffuseAlpha) + Multiply(a2, 255 - diffuseAlpha);
    case D3DTOP_BLENDTEXTUREALPHA: return Multiply(a1, textureAlpha) + Multiply(a2, 255 - textureAlpha);
    case D3DTOP_BLENDFACTORALPHA: return Multiply(a1, factorAlpha) + Multiply(a2, 255 - factorAlpha);
    default: return a2;  // D3DTOP_DISABLE and unknown operations pass the diffuse colour (CURRENT at stage 0)
  }
}

// Which arguments an operation of Combine reads.
bool ReadsFirst(std::uint32_t op) {
  switch (op) {
    case D3DTOP_SELECTARG1:
    case D3DTOP_MODULATE:
    case D3DTOP_MODULATE2X:
    case D3DTOP_MODULATE4X:
    case D3DTOP_ADD:
    case D3DTOP_ADDSIGNED:
    case D3DTOP_SUBTRACT:
    case D3DTOP_ADDSMOOTH:
    case D3DTOP_BLENDDIFFUSEALPHA:
    case D3DTOP_BLENDTEXTUREALPHA:
    case D3DTOP_BLENDFACTORALPHA: return true;
    default: return false;
  }
}
bool ReadsSecond(std::uint32_t op) { return op != D3DTOP_SELECTARG1; }

int BlendFactor(std::uint32_t blend, int sourceAlpha) {
  switch (blend) {
    case D3DBLEND_ZERO: return 0;
    case D3DBLEND_SRCALPHA: return sourceAlpha;
    case D3DBLEND_INVSRCALPHA: return 255 - sourceAlpha;
    default: return 255;  // D3DBLEND_ONE and what the stand-in does not know
  }
}

}  // namespace

bool PixelPipeline::ReadsTexture() const {
  if (!texture) return false;
  const auto reads = [](std::uint32_t op, std::uint32_t arg1, std::uint32_t arg2) {
    return op == D3DTOP_BLENDTEXTUREALPHA || (ReadsFirst(op) && (arg1 & 0xF) == D3DTA_TEXTURE) ||
           (ReadsSecond(op) && (arg2 & 0xF) == D3DTA_TEXTURE);
  };
  return reads(colourOp, colourArg1, colourArg2) || reads(alphaOp, alphaArg1, alphaArg2);
}

std::uint32_t PixelPipeline::Combined(const Colour& diffuse, std::uint32_t texelArgb) const {
  const Colour texel = Unpack(texelArgb);
  auto argument = [&](std::uint32_t which, int channel) {
    switch (which & 0xF) {
      case D3DTA_TEXTURE: return texel.c[channel];
      case D3DTA_TFACTOR: return factor.c[channel];
      default: return diffuse.c[channel];  // DIFFUSE, and CURRENT at stage 0
    }
  };
  Colour out;
  out.c[0] = Combine(alphaOp, argument(alphaArg1, 0), argument(alphaArg2, 0), texel.c[0], diffuse.c[0], factor.c[0]);
  for (int c = 1; c < 4; ++c)
    out.c[c] =
        Combine(colourOp, argument(colourArg1, c), argument(colourArg2, c), texel.c[0], diffuse.c[0], factor.c[0]);
  return Pack(out);
}

std::uint32_t PixelPipeline::Blend(std::uint32_t sourceArgb, std::uint32_t destinationArgb) const {
  if (BlendsOver()) return BlendOver(sourceArgb, destinationArgb);
  const Colour out = Unpack(sourceArgb), destination = Unpack(destinationArgb);
  const int fs = BlendFactor(sourceBlend, out.c[0]), fd = BlendFactor(destinationBlend, out.c[0]);
  Colour blended;
  for (int c = 0; c < 4; ++c) blended.c[c] = std::min(255, (out.c[c] * fs + destination.c[c] * fd + 127) / 255);
  return Pack(blended);
}

const std::uint16_t* Opaque1555Conversion(PixelFormat target) {
  auto table = [](PixelFormat format) {
    std::array<std::uint16_t, 0x8000> values{};
    for (std::uint32_t raw = 0; raw < values.size(); ++raw)
      values[raw] = static_cast<std::uint16_t>(FromArgb(format, ToArgb(PixelFormat::ARGB1555, raw | 0x8000, nullptr)));
    return values;
  };
  static const std::array<std::uint16_t, 0x8000> to565 = table(PixelFormat::RGB565);
  static const std::array<std::uint16_t, 0x8000> to555 = table(PixelFormat::XRGB1555);
  switch (target) {
    case PixelFormat::RGB565: return to565.data();
    case PixelFormat::XRGB1555: return to555.data();
    default: return nullptr;
  }
}

namespace {

// Twice the signed area of (a, b, p): positive on one side of a -> b.
double Edge(const Vertex& a, const Vertex& b, double px, double py) {
  return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
}

// A pixel centre exactly on an edge belongs to the triangle when the edge is
// a top edge or a left edge (the triangle's inside lies below or right of it).
bool OwnsEdge(const Vertex& a, const Vertex& b) {
  const double dy = b.y - a.y, dx = b.x - a.x;
  return dy < 0 || (dy == 0 && dx > 0);
}

void RasteriseTriangle(Vertex a, Vertex b, Vertex c, PixelBuffer& target, const PixelPipeline& pipeline) {
  double area = Edge(a, b, c.x, c.y);
  if (area == 0 || !std::isfinite(area)) return;
  if (area < 0) {  // either winding: make the inside the positive side
    std::swap(b, c);
    area = -area;
  }
  const double left = std::min({a.x, b.x, c.x}), right = std::max({a.x, b.x, c.x});
  const double top = std::min({a.y, b.y, c.y}), bottom = std::max({a.y, b.y, c.y});
  const int x0 = static_cast<int>(std::max(0.0, std::ceil(left)));
  const int x1 = static_cast<int>(std::min<double>(target.Width() - 1, std::floor(right)));
  const int y0 = static_cast<int>(std::max(0.0, std::ceil(top)));
  const int y1 = static_cast<int>(std::min<double>(target.Height() - 1, std::floor(bottom)));
  if (x0 > x1 || y0 > y1) return;
  const bool ownsBc = OwnsEdge(b, c), ownsCa = OwnsEdge(c, a), ownsAb = OwnsEdge(a, b);
  // The edge values step by constants along a row. Vertex coordinates are
  // floats and pixel centres integers, so every value and sum is exact in
  // double precision and the ties of the fill rule stay exact.
  const double stepA = -(c.y - b.y), stepB = -(a.y - c.y), stepC = -(b.y - a.y);
  const double inverseArea = 1.0 / area;
  bool flat = true;
  for (int k = 0; k < 4; ++k) flat = flat && a.channel[k] == b.channel[k] && a.channel[k] == c.channel[k];
  Colour diffuse;
  if (flat)
    for (int k = 0; k < 4; ++k) diffuse.c[k] = static_cast<int>(a.channel[k]);
  const bool copiesTexels = flat && pipeline.CopiesTexels(diffuse);
  // Opaque texels whose stored values the target shares are moved as they
  // are, clear ones skipped, without converting either way.
  const bool rawTexels = copiesTexels && pipeline.SameStoredValues(target) &&
                         (pipeline.texture->Format() == PixelFormat::ARGB8888 ||
                          pipeline.texture->Format() == PixelFormat::ARGB1555);
  const std::uint16_t* converted1555 =
      copiesTexels && !rawTexels && pipeline.texture->Format() == PixelFormat::ARGB1555
          ? Opaque1555Conversion(target.Format())
          : nullptr;
  // The rows, with the pixel size a constant of the loop.
  const auto rows = [&](auto bytesConstant) {
    constexpr int bytes = decltype(bytesConstant)::value;
    for (int y = y0; y <= y1; ++y) {
      double wa = Edge(b, c, x0, y), wb = Edge(c, a, x0, y), wc = Edge(a, b, x0, y);
      for (int x = x0; x <= x1; ++x, wa += stepA, wb += stepB, wc += stepC) {
        if (wa < 0 || wb < 0 || wc < 0) continue;
        if ((wa == 0 && !ownsBc) || (wb == 0 && !ownsCa) || (wc == 0 && !ownsAb)) continue;
        const double la = wa * inverseArea, lb = wb * inverseArea, lc = wc * inverseArea;
        if (!flat)
          for (int k = 0; k < 4; ++k)
            diffuse.c[k] = std::clamp(
                static_cast<int>(std::lround(la * a.channel[k] + lb * b.channel[k] + lc * c.channel[k])), 0, 255);
        const double u = la * a.u + lb * b.u + lc * c.u, v = la * a.v + lb * b.v + lc * c.v;
        if (rawTexels) {
          const std::uint32_t raw =
              LoadPixel<bytes>(pipeline.texture->Row(pipeline.WrapV(v)) + pipeline.WrapU(u) * bytes);
          const bool opaque = bytes == 2 ? (raw & 0x8000) != 0 : raw >> 24 == 0xFF;
          const bool clear = bytes == 2 ? !opaque : raw >> 24 == 0;
          if (opaque) {
            StorePixel<bytes>(target.Row(y) + x * bytes, raw);
            continue;
          }
          if (clear) continue;
        } else if (converted1555) {
          const std::uint32_t raw = LoadPixel<2>(pipeline.texture->Row(pipeline.WrapV(v)) + pipeline.WrapU(u) * 2);
          if (raw & 0x8000) StorePixel<2>(target.Row(y) + x * 2, converted1555[raw & 0x7FFF]);
          continue;
        }
        pipeline.Draw(target, x, y, diffuse, pipeline.Sample(u, v), copiesTexels);
      }
    }
  };
  if (BytesPerPixel(target.Format()) == 2) {
    rows(std::integral_constant<int, 2>{});
  } else {
    rows(std::integral_constant<int, 4>{});
  }
}

std::uint64_t StageKey(std::uint32_t stage, std::uint32_t type) { return (std::uint64_t{stage} << 32) | type; }

}  // namespace

HRESULT Direct3DDevice9::SetTexture(std::uint32_t stage, Direct3DTexture9* texture) {
  if (stage != 0) return texture ? D3DERR_INVALIDCALL : D3D_OK;  // one stage is drawn
  if (texture && texture->Level0()->m_Device != m_State) return D3DERR_INVALIDCALL;
  m_State->texture = texture ? texture->Level0() : nullptr;
  return D3D_OK;
}

HRESULT Direct3DDevice9::SetTextureStageState(std::uint32_t stage, std::uint32_t type, std::uint32_t value) {
  if (stage > 7) return D3DERR_INVALIDCALL;
  if (stage == 0 && type < kArrayStageTypes) {
    m_Stage0States[type] = value;
  } else {
    m_StageStates[StageKey(stage, type)] = value;
  }
  return D3D_OK;
}

std::uint32_t Direct3DDevice9::GetTextureStageState(std::uint32_t stage, std::uint32_t type) const {
  if (stage == 0 && type < kArrayStageTypes) return m_Stage0States[type];
  const auto found = m_StageStates.find(StageKey(stage, type));
  return found != m_StageStates.end() ? found->second : DefaultStageState(stage, type);
}

std::uint32_t Direct3DDevice9::DefaultStageState(std::uint32_t stage, std::uint32_t type) {
  switch (type) {  // the defaults of stage 0
    case D3DTSS_COLOROP: return stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    case D3DTSS_ALPHAOP: return stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    case D3DTSS_COLORARG1:
    case D3DTSS_ALPHAARG1: return D3DTA_TEXTURE;
    default: return D3DTA_CURRENT;
  }
}

HRESULT Direct3DDevice9::SetStreamSource(UINT stream, Direct3DVertexBuffer9* buffer, UINT offset, UINT stride) {
  if (stream != 0) return D3DERR_INVALIDCALL;
  if (buffer) buffer->AddRef();
  if (m_pStream) m_pStream->Release();
  m_pStream = buffer;
  m_nStreamOffset = offset;
  m_nStride = stride;
  return D3D_OK;
}

HRESULT Direct3DDevice9::SetFVF(std::uint32_t fvf) {
  m_nFvf = fvf;
  return D3D_OK;
}

HRESULT Direct3DDevice9::DrawPrimitive(std::uint32_t type, UINT startVertex, UINT primitiveCount) {
  if (!m_State->inScene || !m_pStream || m_nFvf != kVertexFvf || m_nStride != kVertexSize || primitiveCount == 0)
    return D3DERR_INVALIDCALL;
  UINT vertexCount;
  switch (type) {
    case D3DPT_TRIANGLELIST: vertexCount = 3 * primitiveCount; break;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: vertexCount = primitiveCount + 2; break;
    default: return D3DERR_INVALIDCALL;
  }
  const std::vector<std::uint8_t>& bytes = m_pStream->Bytes();
  const std::uint64_t first = m_nStreamOffset + std::uint64_t{startVertex} * kVertexSize;
  if (first + std::uint64_t{vertexCount} * kVertexSize > bytes.size()) return D3DERR_INVALIDCALL;
  if (m_State->lost || !m_State->renderTarget) return D3D_OK;

  // Kept between draws: made anew, it would be allocated for every quad.
  static thread_local std::vector<Vertex> vertices;
  vertices.resize(vertexCount);
  for (UINT i = 0; i < vertexCount; ++i) vertices[i] = ReadVertex(bytes.data() + first + i * kVertexSize);

  PixelPipeline pipeline;
  const Direct3DSurface9* texture = m_State->texture;
  if (texture) {
    pipeline.texture = &texture->Pixels();
    pipeline.opaqueTexels = texture->OpaqueTexels();
  }
  // A texture that is also the render target would be read while written:
  // read a copy of it instead.
  PixelBuffer selfCopy;
  if (texture && texture == m_State->renderTarget) {
    selfCopy = texture->Pixels();
    pipeline.texture = &selfCopy;
    pipeline.opaqueTexels = nullptr;
  }
  pipeline.colourOp = GetTextureStageState(0, D3DTSS_COLOROP);
  pipeline.colourArg1 = GetTextureStageState(0, D3DTSS_COLORARG1);
  pipeline.colourArg2 = GetTextureStageState(0, D3DTSS_COLORARG2);
  pipeline.alphaOp = GetTextureStageState(0, D3DTSS_ALPHAOP);
  pipeline.alphaArg1 = GetTextureStageState(0, D3DTSS_ALPHAARG1);
  pipeline.alphaArg2 = GetTextureStageState(0, D3DTSS_ALPHAARG2);
  pipeline.factor = Unpack(GetRenderState(D3DRS_TEXTUREFACTOR));
  pipeline.blending = GetRenderState(D3DRS_ALPHABLENDENABLE) != 0;
  pipeline.sourceBlend = GetRenderState(D3DRS_SRCBLEND);
  pipeline.destinationBlend = GetRenderState(D3DRS_DESTBLEND);

  PixelBuffer& target = m_State->renderTarget->Pixels();
  if (type == D3DPT_TRIANGLESTRIP && primitiveCount == 2 &&
      DrawAxisAlignedQuad({vertices[0], vertices[1], vertices[2], vertices[3]}, target, pipeline))
    return D3D_OK;
  for (UINT p = 0; p < primitiveCount; ++p) {
    switch (type) {
      case D3DPT_TRIANGLELIST:
        RasteriseTriangle(vertices[3 * p], vertices[3 * p + 1], vertices[3 * p + 2], target, pipeline);
        break;
      case D3DPT_TRIANGLESTRIP:
        RasteriseTriangle(vertices[p], vertices[p + 1], vertices[p + 2], target, pipeline);
        break;
      default: RasteriseTriangle(vertices[0], vertices[p + 1], vertices[p + 2], target, pipeline); break;
    }
  }
  return D3D_OK;
}

}  // namespace platform
