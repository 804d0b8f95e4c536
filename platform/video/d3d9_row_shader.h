// Texture stage 0's combining and the alpha blend of the software Direct3D
// 9 device for a run of pixels at once: the texels, the combined colours and
// the target's pixels are held as planes of channels (a, r, g, b), so that
// every step is a loop the compiler runs on vectors. The values are those of
// PixelPipeline::Shade, pixel for pixel. Internal to the stand-in.
#pragma once

#include <cstdint>

#include "platform/video/d3d9_pixel_pipeline.h"

namespace platform {

class RowShader {
 public:
  // The most pixels one Shade call takes.
  static constexpr int kRun = 64;

  // Formats of 16 and 32 bits.
  RowShader(const PixelPipeline& pipeline, const Colour& diffuse, PixelFormat texelFormat, PixelFormat targetFormat);
  // A copy's stages would point into the original.
  RowShader(const RowShader&) = delete;
  RowShader& operator=(const RowShader&) = delete;

  // n (at most kRun) stored texels, side by side at texels, shaded onto the
  // n pixels at out (rows that do not overlap).
  void Shade(const std::uint8_t* texels, std::uint8_t* out, int n) const;

 private:
  // The operation of a channel and its arguments: a plane of m_Constants,
  // or null for the texel's channel (blendAlpha: the texel's alpha).
  struct Stage {
    std::uint32_t op;
    const std::uint16_t *arg1, *arg2, *blendAlpha;
  };

  Stage m_Stages[4];  // a, r, g, b
  std::uint16_t m_Constants[12][kRun];
  bool m_Blending, m_Over;
  std::uint32_t m_SourceBlend, m_DestinationBlend;
  PixelFormat m_TexelFormat, m_TargetFormat;
};

}  // namespace platform
