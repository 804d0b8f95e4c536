// The demo's world map: a road across a 20 x 15 map of grass and mountains,
// over a river by a bridge, with two points. The first point enters the
// story stage; the second enters the free stage as the story's second stage
// and blocks the road until the first is cleared.
#pragma once

#include "model/stage/world_map.h"

namespace demo {

cEdWorldMap DemoWorldMap();

}  // namespace demo
