// The state a Direct3D device shares with its resources (memory budget,
// live DEFAULT resources, render target, bound texture); it lives as long as
// any of them. Internal to the stand-in (platform/video/d3d9*.cpp).
#pragma once

#include <cstdint>

#include "platform/video/d3d9.h"
#include "platform/video/vertical_blank.h"

namespace platform {

struct Direct3DDeviceState {
  std::uint64_t videoMemoryBudget = 0;
  std::uint64_t videoMemoryUsed = 0;
  int liveDefaultResources = 0;
  Direct3DSurface9* backBuffer = nullptr;  // the device's own reference
  Direct3DSurface9* renderTarget = nullptr;
  Direct3DSurface9* texture = nullptr;  // level 0 of the texture of stage 0; cleared when it goes
  bool inScene = false;
  bool lost = false;
  bool resetAllowed = false;
  bool waitForVerticalBlank = false;  // a presentation interval other than IMMEDIATE
  VerticalBlankQueue presented;
};

}  // namespace platform
