// The textured quad that Direct3D blits draw: four BLTVERTEX in strip order
// (top-left, bottom-left, top-right, bottom-right) written into a surface's
// vertex buffer and drawn as a two-triangle strip with the current stage
// states and texture.
#pragma once

#include <cstdint>

#include "graphics/surface_data.h"

// The axis-aligned quad over the pixel rectangle left..right x top..bottom
// (vertices half a pixel up and left, so that pixel centres are sampled).
void SetQuad(BLTVERTEX (&quad)[4], float left, float top, float right, float bottom, std::uint32_t colour,
             float uLeft, float vTop, float uRight, float vBottom);
// False when the buffer is missing or does not lock.
bool WriteQuad(platform::Direct3DVertexBuffer9* vb, const BLTVERTEX (&quad)[4]);
void DrawQuadFrom(platform::Direct3DVertexBuffer9* vb);
// Stage 0 combining the texture (argument 1) with the diffuse colour
// (argument 2) by the given colour and alpha operations.
void SetTextureDiffuseStage(std::uint32_t colourOp, std::uint32_t alphaOp);
