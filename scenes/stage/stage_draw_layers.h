// The layers of a stage frame behind and in front of its objects: the
// scrolling backgrounds, the map cells of one layer, and the surfaces of
// the hero's sight mask, and the pictures the flows show.
//
// Background i is drawn from image 55 + i, tiled over the screen from the
// offset its parallax (or its own scrolling) gives; a plain-fill
// background fills the screen with its colour. The first background drawn
// behind the map is opaque, the others leave out the transparent colour.
// Palette colour 16 is the backdrop where nothing is drawn.
#pragma once

#include <functional>
#include <vector>

#include "game/draw/draw_target.h"
#include "graphics/surface_data.h"

class cEdBackground;
class cStagePlay;
struct cScrollAxis;

constexpr int kBackdropColour = 16;

// Makes the sight mask for a sight of nRadius pixels (below 0 counts as 0):
// a (1280 + 2r) x (960 + 2r) surface of the backdrop colour with a
// transparent opening of 2r at its centre, round for shapes 1 and 2 (cut
// with the hole surface), square for the others. False, after the
// out-of-memory box and a close request, when a surface cannot be made.
bool CreateEffectSurfaces(DDSURFACEDATA* lpMask, DDSURFACEDATA* lpHole, int nRadius, int nShape);

// Once per drawn frame: the self-scrolling backgrounds move by their speed,
// wrapped into their image.
void ScrollBackgrounds(std::vector<cEdBackground>& backgrounds);
// The enabled backgrounds of a layer (0 behind the map, 1 in front), in
// list order. Behind the map, no background drawn leaves the backdrop.
void DrawBackgrounds(DDSURFACEDATA* lpSD, const std::vector<cEdBackground>& backgrounds, const cScrollAxis& scrollX,
                     const cScrollAxis& scrollY, int nLayer);

// The cells of one block layer (0 behind the objects, 1 in front) in view:
// present (appearance conditions), not hidden, with a graphic.
void DrawMapLayer(cStagePlay& play, cDrawTarget& target, sSurface dst, int nLayer);

// The pictures of a layer (0 behind the map, 1 in front) in list order,
// each with its surface (surfaceAt gives the surface at a position of the
// list). A picture whose display time is over is removed with its surface.
void DrawPictures(cStagePlay& play, cDrawTarget& target, sSurface dst, int nLayer, int bPaused,
                  const std::function<sSurface(int nPosition)>& surfaceAt);
