// The demo's world map: a road across a 33 x 15 map of grass and mountains,
// over a river by a bridge, with two points. The first point enters the
// story stage; the second enters the free stage as the story's second stage
// and blocks the road until the first is cleared.
#pragma once

#include "model/stage/world_map.h"

namespace demo {

// The map's size in cells; its background picture covers it.
constexpr int kWorldMapWidth = 33, kWorldMapHeight = 15;

cEdWorldMap DemoWorldMap();

}  // namespace demo
