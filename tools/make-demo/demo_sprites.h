// The figures and objects of the demo pictures. Each function draws one cell
// of a canvas whose top-left corner is (x, y): figures, blocks, items and marks
// are 32 x 32, shots 16 x 16. Figures and shots face left, as the sheets hold
// them (the player mirrors a sheet for the right facing), and figures stand on
// the cell's bottom row. Every function draws the same pixels on every run.
#pragma once

#include <cstdint>
#include <string_view>

#include "tools/make-demo/canvas.h"
#include "tools/make-demo/demo_palette.h"

namespace demo {

// Side view of a walking figure. The walk cycle is kStepA, kPass, kStepB, kPass.
enum class Pose { kStand, kStepA, kPass, kStepB, kJump };

struct FigureColours {
  std::uint8_t hat;
  std::uint8_t body;
  std::uint8_t nearLeg;
  std::uint8_t farLeg;
  std::uint8_t boots;
  std::uint8_t skin;
  std::uint8_t trim;  // the hat's brim or plume and the belt
};
extern const FigureColours kHeroColours;
extern const FigureColours kKnightColours;

void DrawFigure(Canvas& c, int x, int y, Pose pose, const FigureColours& colours);
// The figure seen from the front (or from behind), for the world map; frame 0
// or 1 of its two-step walk.
void DrawFigureFrontal(Canvas& c, int x, int y, int frame, bool fromBehind, const FigureColours& colours);

// Enemies, each with four walk frames 0 to 3.
void DrawWalker(Canvas& c, int x, int y, int frame);  // a red blob that hops along
void DrawFlyer(Canvas& c, int x, int y, int frame);   // a purple bat beating its wings
void DrawSpiky(Canvas& c, int x, int y, int frame);   // a green shell with spikes on its back

// Every drawn pixel of the rectangle except the outline takes the shade of
// `ramp` that is as light as its own colour.
void Tint(Canvas& c, int x, int y, int w, int h, pal::Ramp ramp);

// A placeholder cell: a thin frame and its label in the middle.
void DrawNumberedCell(Canvas& c, int x, int y, int w, int h, std::string_view label, std::uint8_t colour);

// Blocks.
void DrawGround(Canvas& c, int x, int y);  // earth with grass on top
void DrawEarth(Canvas& c, int x, int y);
void DrawBrick(Canvas& c, int x, int y);
void DrawSpikes(Canvas& c, int x, int y);  // the deadly block
void DrawBonusBlock(Canvas& c, int x, int y);
// Water and lava are painted in cycling colours, so that they flow on an 8-bit screen.
void DrawCyclingBlock(Canvas& c, int x, int y, pal::CycleGroup group);
void DrawCloud(Canvas& c, int x, int y);  // a platform

// Items, each with two frames 0 and 1.
void DrawCoin(Canvas& c, int x, int y, int frame);
void DrawGoalFlag(Canvas& c, int x, int y, int frame);
void DrawHeart(Canvas& c, int x, int y, int frame);
void DrawStar(Canvas& c, int x, int y, int frame);
void DrawKey(Canvas& c, int x, int y, int frame);

// Shots (16 x 16), each with two frames 0 and 1.
void DrawBallShot(Canvas& c, int x, int y, int frame);
void DrawArrowShot(Canvas& c, int x, int y, int frame);
void DrawFireShot(Canvas& c, int x, int y, int frame);
void DrawStarShot(Canvas& c, int x, int y, int frame);

// Marks shown over objects.
void DrawBalloon(Canvas& c, int x, int y, std::string_view sign, std::uint8_t colour);
void DrawArrowDown(Canvas& c, int x, int y);

}  // namespace demo
