// A vertex as the game draws its quads: transformed, with a colour and one
// texture coordinate (the vertex format 0x144).
#pragma once

#include <cstdint>

struct TransformedVertex {
  float x, y, z, rhw;
  std::uint32_t colour;
  float u, v;
};
static_assert(sizeof(TransformedVertex) == 28);
