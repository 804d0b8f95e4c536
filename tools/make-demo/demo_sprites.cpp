#include "tools/make-demo/demo_sprites.h"

#include <algorithm>

namespace demo {

using pal::Shade;

const FigureColours kHeroColours = {pal::kRed,      pal::kBlue, Shade(pal::kBlueRamp, 6), Shade(pal::kBlueRamp, 4),
                                    Shade(pal::kBrown, 6), pal::kSkin, pal::kYellow};
const FigureColours kKnightColours = {Shade(pal::kGreyRamp, 12), Shade(pal::kGreyRamp, 9), Shade(pal::kGreyRamp, 7),
                                      Shade(pal::kGreyRamp, 5),  Shade(pal::kGreyRamp, 4), pal::kSkin,
                                      pal::kRed};

namespace {

constexpr int kCell = 32;

void OutlineCell(Canvas& c, int x, int y, int size = kCell) { c.Outline(x, y, size, size, pal::kOutline); }

// A leg from the hip (hx, 22) to a foot at (fx, 29), with its boot.
void Leg(Canvas& c, int x, int y, int hx, int fx, std::uint8_t colour, std::uint8_t boots) {
  for (int row = 0; row < 7; ++row) {
    const int lx = hx + (fx - hx) * row / 6;
    c.FillRect(x + lx, y + 22 + row, 4, 1, colour);
  }
  c.FillRect(x + fx - 1, y + 29, 5, 2, boots);
}

}  // namespace

void DrawFigure(Canvas& c, int x, int y, Pose pose, const FigureColours& k) {
  const int bob = pose == Pose::kPass ? 1 : 0;
  const int top = y + bob;
  switch (pose) {
    case Pose::kStand:
      Leg(c, x, top, 16, 17, k.farLeg, k.boots);
      Leg(c, x, top, 12, 11, k.nearLeg, k.boots);
      break;
    case Pose::kStepA:
      Leg(c, x, top, 16, 20, k.farLeg, k.boots);
      Leg(c, x, top, 12, 7, k.nearLeg, k.boots);
      break;
    case Pose::kPass:
      Leg(c, x, top - 1, 14, 15, k.farLeg, k.boots);
      Leg(c, x, top - 1, 13, 12, k.nearLeg, k.boots);
      break;
    case Pose::kStepB:
      Leg(c, x, top, 12, 19, k.nearLeg, k.boots);
      Leg(c, x, top, 16, 8, k.farLeg, k.boots);
      break;
    case Pose::kJump:
      c.FillRect(x + 9, top + 21, 5, 4, k.nearLeg);
      c.FillRect(x + 7, top + 24, 5, 2, k.boots);
      c.FillRect(x + 16, top + 22, 4, 6, k.farLeg);
      c.FillRect(x + 16, top + 28, 5, 2, k.boots);
      break;
  }
  // Body, belt and the arm in front.
  c.FillRect(x + 10, top + 14, 11, 9, k.body);
  c.FillRect(x + 10, top + 20, 11, 1, k.trim);
  if (pose == Pose::kJump) {
    c.FillRect(x + 6, top + 8, 3, 8, k.skin);
  } else {
    const int swing = pose == Pose::kStepA ? 2 : pose == Pose::kStepB ? -2 : 0;
    c.FillRect(x + 8 + swing, top + 15, 3, 6, k.body);
    c.FillRect(x + 8 + swing, top + 21, 3, 2, k.skin);
  }
  // Head looking left, hat with its brim to the front.
  c.FillCircle(x + 15, top + 8, 6, k.skin);
  c.FillRect(x + 9, top + 1, 13, 5, k.hat);
  c.FillRect(x + 5, top + 5, 10, 2, k.trim);
  c.FillRect(x + 12, top + 8, 1, 2, pal::kBlack);
  c.Set(x + 9, top + 11, pal::Shade(pal::kSkinRamp, 7));
  OutlineCell(c, x, y);
}

void DrawFigureFrontal(Canvas& c, int x, int y, int frame, bool fromBehind, const FigureColours& k) {
  const int step = frame == 0 ? 0 : 1;
  c.FillRect(x + 11, y + 22 + step, 4, 6 - step, k.nearLeg);
  c.FillRect(x + 17, y + 23 - step, 4, 5 + step, k.farLeg);
  c.FillRect(x + 10, y + 28, 5, 2, k.boots);
  c.FillRect(x + 17, y + 28, 5, 2, k.boots);
  c.FillRect(x + 9, y + 14, 14, 9, k.body);
  c.FillRect(x + 9, y + 20, 14, 1, k.trim);
  c.FillRect(x + 6, y + 15 + step, 3, 6, k.body);
  c.FillRect(x + 23, y + 16 - step, 3, 6, k.body);
  c.FillCircle(x + 16, y + 8, 6, fromBehind ? k.hat : k.skin);
  c.FillRect(x + 10, y + 1, 13, 5, k.hat);
  if (!fromBehind) {
    c.FillRect(x + 8, y + 5, 17, 2, k.trim);
    c.FillRect(x + 13, y + 8, 1, 2, pal::kBlack);
    c.FillRect(x + 18, y + 8, 1, 2, pal::kBlack);
  }
  OutlineCell(c, x, y);
}

void DrawWalker(Canvas& c, int x, int y, int frame) {
  static constexpr int kSquash[4] = {0, 1, 0, -1};  // a hop: flat, flatter, round, tall
  const int ry = 9 - kSquash[frame % 4];
  const int rx = 12 + kSquash[frame % 4];
  const int feet = frame % 2 == 0 ? 0 : 3;
  c.FillEllipse(x + 9 + feet, y + 29, 3, 2, Shade(pal::kRedRamp, 5));
  c.FillEllipse(x + 22 - feet, y + 29, 3, 2, Shade(pal::kRedRamp, 5));
  c.FillEllipse(x + 16, y + 28 - ry, rx, ry, Shade(pal::kRedRamp, 9));
  c.FillEllipse(x + 19, y + 23 - ry, 3, 2, Shade(pal::kRedRamp, 13));
  // Eyes looking left.
  for (int ex : {8, 15}) {
    c.FillRect(x + ex, y + 22 - ry, 4, 5, pal::kWhite);
    c.FillRect(x + ex, y + 24 - ry, 2, 3, pal::kBlack);
  }
  OutlineCell(c, x, y);
}

void DrawFlyer(Canvas& c, int x, int y, int frame) {
  static constexpr int kWingTip[4] = {4, 12, 20, 12};  // wing tips up, level, down, level
  const int tip = kWingTip[frame % 4];
  const std::uint8_t wing = Shade(pal::kPurple, 6);
  c.FillTriangle(x + 12, y + 13, x + 12, y + 19, x + 1, y + tip, wing);
  c.FillTriangle(x + 20, y + 13, x + 20, y + 19, x + 31, y + tip, wing);
  c.FillCircle(x + 16, y + 16, 6, Shade(pal::kPurple, 9));
  c.FillTriangle(x + 11, y + 11, x + 14, y + 11, x + 11, y + 6, Shade(pal::kPurple, 9));  // ears
  c.FillTriangle(x + 18, y + 11, x + 21, y + 11, x + 21, y + 6, Shade(pal::kPurple, 9));
  c.FillRect(x + 12, y + 14, 2, 2, pal::kYellow);
  c.FillRect(x + 16, y + 14, 2, 2, pal::kYellow);
  c.Set(x + 13, y + 20, pal::kWhite);
  c.Set(x + 16, y + 20, pal::kWhite);
  OutlineCell(c, x, y);
}

void DrawSpiky(Canvas& c, int x, int y, int frame) {
  const int step = frame % 2 == 0 ? 0 : 2;
  // Legs, head to the left, the shell and its spikes.
  c.FillRect(x + 8 + step, y + 26, 4, 4, Shade(pal::kGreenRamp, 12));
  c.FillRect(x + 20 - step, y + 26, 4, 4, Shade(pal::kGreenRamp, 12));
  c.FillCircle(x + 6, y + 20, 4, Shade(pal::kGreenRamp, 12));
  c.FillRect(x + 4, y + 19, 1, 2, pal::kBlack);
  c.FillEllipse(x + 17, y + 22, 11, 7, Shade(pal::kGreenRamp, 7));
  c.FillRect(x + 6, y + 25, 23, 2, Shade(pal::kYellowRamp, 11));
  for (int s = 0; s < 4; ++s) {
    const int base = x + 8 + 5 * s;
    c.FillTriangle(base, y + 17, base + 4, y + 17, base + 2, y + 8 + (s % 2) * 2, pal::kWhite);
  }
  OutlineCell(c, x, y);
}

void Tint(Canvas& c, int x, int y, int w, int h, pal::Ramp ramp) {
  const Palette& p = DemoPalette();
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) {
      const std::uint8_t colour = c.At(i, j);
      if (colour == pal::kTransparent || colour == pal::kOutline) continue;
      const int light = (p[colour].r * 3 + p[colour].g * 6 + p[colour].b) / 10;  // 0 .. 255
      c.Set(i, j, Shade(ramp, 3 + light * 12 / 256));
    }
}

void DrawNumberedCell(Canvas& c, int x, int y, int w, int h, std::string_view label, std::uint8_t colour) {
  c.FrameRect(x + 1, y + 1, w - 2, h - 2, colour);
  const int scale = Canvas::TextWidth(label, 2) <= w - 6 && Canvas::TextHeight(2) <= h - 6 ? 2 : 1;
  c.CentredText(x, y, w, h, label, colour, scale);
}

void DrawEarth(Canvas& c, int x, int y) {
  c.FillRect(x, y, kCell, kCell, Shade(pal::kBrown, 6));
  for (int j = 0; j < kCell; ++j)
    for (int i = 0; i < kCell; ++i) {
      const int hash = (i * 7 + j * 13 + (i * j) % 5) % 17;
      if (hash == 0) c.Set(x + i, y + j, Shade(pal::kBrown, 4));
      if (hash == 9) c.Set(x + i, y + j, Shade(pal::kBrown, 9));
    }
}

void DrawGround(Canvas& c, int x, int y) {
  DrawEarth(c, x, y);
  for (int i = 0; i < kCell; ++i) {
    const int depth = 5 + (i % 5 == 2 ? 2 : 0) + (i % 7 == 4 ? 1 : 0);
    c.FillRect(x + i, y, 1, depth, Shade(pal::kGreenRamp, 9));
    c.Set(x + i, y + depth, Shade(pal::kGreenRamp, 5));
  }
  c.FillRect(x, y, kCell, 1, Shade(pal::kGreenRamp, 13));
}

void DrawBrick(Canvas& c, int x, int y) {
  c.FillRect(x, y, kCell, kCell, Shade(pal::kGreyRamp, 6));
  for (int row = 0; row < 4; ++row) {
    const int offset = row % 2 == 0 ? 0 : -8;
    for (int b = 0; b < 3; ++b) {
      const int bx = offset + 16 * b;
      const int left = std::max(bx, 0);
      const int right = std::min(bx + 15, kCell);
      c.FillRect(x + left, y + row * 8, right - left, 7, Shade(pal::kRedRamp, 6));
      c.FillRect(x + left, y + row * 8, right - left, 1, Shade(pal::kRedRamp, 9));
    }
  }
}

void DrawSpikes(Canvas& c, int x, int y) {
  c.FillRect(x, y + 24, kCell, 8, Shade(pal::kGreyRamp, 4));
  c.FillRect(x, y + 24, kCell, 1, Shade(pal::kGreyRamp, 8));
  for (int s = 0; s < 4; ++s) {
    const int base = x + 8 * s;
    c.FillTriangle(base, y + 24, base + 7, y + 24, base + 3, y + 4, Shade(pal::kGreyRamp, 13));
    c.Line(base + 3, y + 4, base + 7, y + 23, Shade(pal::kGreyRamp, 8));
    c.Set(base + 3, y + 4, pal::kRed);
    c.Set(base + 3, y + 5, pal::kRed);
  }
}

void DrawBonusBlock(Canvas& c, int x, int y) {
  c.FillRect(x, y, kCell, kCell, pal::kGold);
  c.FrameRect(x, y, kCell, kCell, Shade(pal::kOrange, 6));
  c.FrameRect(x + 1, y + 1, kCell - 2, kCell - 2, Shade(pal::kYellowRamp, 13));
  for (int cx : {3, 28})
    for (int cy : {3, 28}) c.Set(x + cx, y + cy, Shade(pal::kOrange, 6));
  c.ShadowText(x + 10, y + 8, "?", pal::kWhite, Shade(pal::kOrange, 6), 3);
}

void DrawCyclingBlock(Canvas& c, int x, int y, pal::CycleGroup group) {
  for (int j = 0; j < kCell; ++j)
    for (int i = 0; i < kCell; ++i) {
      const int wave = (i / 4 + j / 3 + (j / 8) * 2) % 4;
      c.Set(x + i, y + j, pal::Cycle(group, wave));
    }
}

void DrawCloud(Canvas& c, int x, int y) {
  c.FillEllipse(x + 9, y + 10, 8, 6, pal::kWhite);
  c.FillEllipse(x + 22, y + 9, 9, 7, pal::kWhite);
  c.FillEllipse(x + 16, y + 13, 15, 5, pal::kWhite);
  c.FillRect(x + 2, y + 16, 28, 2, Shade(pal::kSlate, 13));
  OutlineCell(c, x, y);
}

void DrawCoin(Canvas& c, int x, int y, int frame) {
  const int rx = frame == 0 ? 10 : 4;
  c.FillEllipse(x + 16, y + 16, rx, 11, Shade(pal::kOrange, 9));
  c.FillEllipse(x + 16, y + 16, std::max(rx - 2, 1), 9, pal::kGold);
  if (frame == 0) {
    c.FillRect(x + 15, y + 10, 2, 12, Shade(pal::kOrange, 9));
    c.FillRect(x + 12, y + 9, 2, 4, pal::kWhite);
  }
  OutlineCell(c, x, y);
}

void DrawGoalFlag(Canvas& c, int x, int y, int frame) {
  c.FillRect(x + 7, y + 5, 2, 25, Shade(pal::kGreyRamp, 11));
  c.FillRect(x + 4, y + 29, 8, 2, Shade(pal::kGreyRamp, 6));
  c.FillCircle(x + 8, y + 3, 2, pal::kGold);
  for (int i = 0; i < 20; ++i) {
    const int wave = frame == 0 ? (i / 5) % 2 : 1 - (i / 5) % 2;
    const int height = 12 - i / 3;
    c.FillRect(x + 9 + i, y + 6 + wave, 1, height, (i / 4 + (wave ? 1 : 0)) % 2 ? pal::kWhite : pal::kGreen);
  }
  OutlineCell(c, x, y);
}

void DrawHeart(Canvas& c, int x, int y, int frame) {
  const int r = frame == 0 ? 6 : 5;
  const int cy = frame == 0 ? 12 : 13;
  c.FillCircle(x + 16 - r + 1, y + cy, r, pal::kRed);
  c.FillCircle(x + 16 + r - 1, y + cy, r, pal::kRed);
  c.FillTriangle(x + 16 - 2 * r + 1, y + cy + 1, x + 16 + 2 * r - 1, y + cy + 1, x + 16, y + cy + 2 * r + 3,
                 pal::kRed);
  c.FillRect(x + 16 - r, y + cy - 3, 2, 2, pal::kWhite);
  OutlineCell(c, x, y);
}

void DrawStar(Canvas& c, int x, int y, int frame) {
  const std::uint8_t colour = frame == 0 ? pal::kYellow : Shade(pal::kYellowRamp, 14);
  c.FillTriangle(x + 16, y + 3, x + 4, y + 23, x + 28, y + 23, colour);
  c.FillTriangle(x + 16, y + 29, x + 4, y + 9, x + 28, y + 9, colour);
  c.FillRect(x + 13, y + 14, 2, 4, pal::kBlack);
  c.FillRect(x + 18, y + 14, 2, 4, pal::kBlack);
  if (frame == 1) {
    c.Line(x + 26, y + 2, x + 26, y + 6, pal::kWhite);
    c.Line(x + 24, y + 4, x + 28, y + 4, pal::kWhite);
  }
  OutlineCell(c, x, y);
}

void DrawKey(Canvas& c, int x, int y, int frame) {
  const int lift = frame == 0 ? 0 : 1;
  c.FillCircle(x + 9, y + 15 - lift, 6, pal::kGold);
  c.FillCircle(x + 9, y + 15 - lift, 2, pal::kTransparent);
  c.FillRect(x + 14, y + 14 - lift, 14, 3, pal::kGold);
  c.FillRect(x + 22, y + 17 - lift, 2, 4, pal::kGold);
  c.FillRect(x + 26, y + 17 - lift, 2, 3, pal::kGold);
  OutlineCell(c, x, y);
}

void DrawBallShot(Canvas& c, int x, int y, int frame) {
  c.FillCircle(x + 8, y + 8, frame == 0 ? 5 : 4, Shade(pal::kOrange, 10));
  c.FillRect(x + (frame == 0 ? 5 : 6), y + 5, 2, 2, pal::kWhite);
  OutlineCell(c, x, y, 16);
}

void DrawArrowShot(Canvas& c, int x, int y, int frame) {
  c.FillRect(x + 4, y + 7, 10, 2, Shade(pal::kBrown, 9));
  c.FillTriangle(x + 1, y + 8, x + 5, y + 4, x + 5, y + 12, Shade(pal::kGreyRamp, 12));
  const int flick = frame == 0 ? 0 : 1;
  c.Line(x + 11, y + 6, x + 14, y + 3 + flick, pal::kWhite);
  c.Line(x + 11, y + 9, x + 14, y + 12 - flick, pal::kWhite);
  OutlineCell(c, x, y, 16);
}

void DrawFireShot(Canvas& c, int x, int y, int frame) {
  const int tail = frame == 0 ? 0 : 2;
  c.FillTriangle(x + 6, y + 3 + tail, x + 6, y + 13 - tail, x + 15, y + 8 + (frame == 0 ? -2 : 2),
                 Shade(pal::kRedRamp, 10));
  c.FillCircle(x + 6, y + 8, 5, Shade(pal::kOrange, 10));
  c.FillCircle(x + 5, y + 8, 2, pal::kYellow);
  OutlineCell(c, x, y, 16);
}

void DrawStarShot(Canvas& c, int x, int y, int frame) {
  const std::uint8_t blade = Shade(pal::kGreyRamp, 13);
  if (frame == 0) {
    c.FillTriangle(x + 8, y + 1, x + 6, y + 8, x + 10, y + 8, blade);
    c.FillTriangle(x + 8, y + 15, x + 6, y + 8, x + 10, y + 8, blade);
    c.FillTriangle(x + 1, y + 8, x + 8, y + 6, x + 8, y + 10, blade);
    c.FillTriangle(x + 15, y + 8, x + 8, y + 6, x + 8, y + 10, blade);
  } else {
    c.FillTriangle(x + 3, y + 3, x + 7, y + 9, x + 9, y + 7, blade);
    c.FillTriangle(x + 13, y + 13, x + 7, y + 9, x + 9, y + 7, blade);
    c.FillTriangle(x + 13, y + 3, x + 7, y + 7, x + 9, y + 9, blade);
    c.FillTriangle(x + 3, y + 13, x + 7, y + 7, x + 9, y + 9, blade);
  }
  c.FillRect(x + 7, y + 7, 2, 2, pal::kDarkGrey);
  OutlineCell(c, x, y, 16);
}

void DrawBalloon(Canvas& c, int x, int y, std::string_view sign, std::uint8_t colour) {
  c.FillEllipse(x + 16, y + 13, 13, 11, pal::kWhite);
  c.FillTriangle(x + 12, y + 22, x + 18, y + 22, x + 14, y + 30, pal::kWhite);
  c.CentredText(x, y + 2, kCell, 22, sign, colour, 3);
  OutlineCell(c, x, y);
}

void DrawArrowDown(Canvas& c, int x, int y) {
  c.FillRect(x + 12, y + 2, 8, 14, pal::kYellow);
  c.FillTriangle(x + 4, y + 16, x + 27, y + 16, x + 16, y + 29, pal::kYellow);
  OutlineCell(c, x, y);
}

}  // namespace demo
