#include "tools/make-demo/demo_sheets.h"

#include <functional>
#include <string>

#include "tools/make-demo/demo_palette.h"
#include "tools/make-demo/demo_sprites.h"

namespace demo {

using pal::Shade;

namespace {

constexpr int kCell = 32;
constexpr int kCellsPerColumn = 15;

// Draws frame 0 to 3 of a walk, or the jump for frame 4.
using FrameDrawer = std::function<void(Canvas&, int x, int y, int frame)>;

// A figure cell without a picture: its graphic number, and its frame below.
void DrawNumberedFrame(Canvas& c, int x, int y, int graphic, int frame) {
  DrawNumberedCell(c, x, y, kCell, kCell, std::to_string(graphic), Shade(pal::kGreyRamp, 9));
  c.Text(x + 3, y + 24, std::to_string(frame), Shade(pal::kGreyRamp, 13));
}

// One row of figure frames: 0 to 3 the walk, 4 to 7 the walk shining (the
// invincible offset), 8 to 11 the walk turned to stone (the block-character
// offset), 12 the jump, then numbered cells.
void DrawFigureRow(Canvas& c, int y, int graphic, const FrameDrawer& draw) {
  for (int f = 0; f < 4; ++f) {
    draw(c, f * kCell, y, f);
    c.Copy(f * kCell, y, kCell, kCell, (4 + f) * kCell, y);
    c.Copy(f * kCell, y, kCell, kCell, (8 + f) * kCell, y);
  }
  Tint(c, 4 * kCell, y, 4 * kCell, kCell, pal::kYellowRamp);
  Tint(c, 8 * kCell, y, 4 * kCell, kCell, pal::kGreyRamp);
  draw(c, 12 * kCell, y, 4);
  for (int f = 13; f < c.Width() / kCell; ++f) DrawNumberedFrame(c, f * kCell, y, graphic, f);
}

FrameDrawer FigureDrawer(const FigureColours& colours) {
  return [colours](Canvas& c, int x, int y, int frame) {
    static constexpr Pose kPoses[5] = {Pose::kStand, Pose::kStepA, Pose::kPass, Pose::kStepB, Pose::kJump};
    DrawFigure(c, x, y, kPoses[frame], colours);
  };
}

// Cell n of a sheet whose cells run down columns of 15, the columns
// `columnWidth` apart.
int CellX(int n, int columnWidth) { return n / kCellsPerColumn * columnWidth; }
int CellY(int n, int cellHeight) { return n % kCellsPerColumn * cellHeight; }

// Big text with a shadow and an outline, centred in the rectangle.
void DrawBanner(Canvas& c, int x, int y, int w, int h, std::string_view text, std::uint8_t colour, int scale) {
  const int tx = x + (w - Canvas::TextWidth(text, scale)) / 2;
  const int ty = y + (h - Canvas::TextHeight(scale)) / 2;
  c.ShadowText(tx, ty, text, colour, pal::kShadow, scale);
  c.Outline(x, y, w, h, pal::kOutline);
}

void FillGrass(Canvas& c, int x, int y) {
  c.FillRect(x, y, kCell, kCell, Shade(pal::kGreenRamp, 8));
  for (int j = 2; j < kCell; j += 7)
    for (int i = (j * 3) % 8; i < kCell; i += 9) {
      c.Set(x + i, y + j, Shade(pal::kGreenRamp, 11));
      c.Set(x + i + 1, y + j - 1, Shade(pal::kGreenRamp, 11));
    }
}

void DrawCheck(Canvas& c, int x, int y, std::uint8_t colour) {
  for (int t = 0; t < 2; ++t) {
    c.Line(x + 9, y + 16 + t, x + 14, y + 21 + t, colour);
    c.Line(x + 14, y + 21 + t, x + 23, y + 10 + t, colour);
  }
}

// A 32 x 32 drawing reduced to a 16 x 16 icon at (x, y).
void DrawIcon(Canvas& c, int x, int y, const std::function<void(Canvas&)>& draw) {
  Canvas full(kCell, kCell);
  draw(full);
  c.StampHalf(full, 0, 0, kCell, kCell, x, y);
}

}  // namespace

Canvas PalettePicture() {
  Canvas c(16, 24);
  for (int k = 0; k < 256; ++k) c.Set(k % 16, 8 + k / 16, static_cast<std::uint8_t>(k));
  return c;
}

Canvas DebugPicture() {
  Canvas c(kCell, kCell);
  for (int j = 0; j < kCell; ++j)
    for (int i = 0; i < kCell; ++i) c.Set(i, j, (i / 4 + j / 4) % 2 ? pal::kRed : pal::kWhite);
  c.FillRect(6, 11, 20, 9, pal::kWhite);
  c.CentredText(0, 0, kCell, kCell, "DBG", pal::kBlack);
  return c;
}

Canvas BlockSheet() {
  Canvas c(320, 480);
  const int count = c.Width() / kCell * kCellsPerColumn;
  for (int n = 0; n < count; ++n) {
    const int x = CellX(n, kCell);
    const int y = CellY(n, kCell);
    switch (n) {
      case 1: DrawGround(c, x, y); break;
      case 2: DrawBrick(c, x, y); break;
      case 3: DrawSpikes(c, x, y); break;
      case 4: DrawBonusBlock(c, x, y); break;
      case 5: DrawCyclingBlock(c, x, y, pal::kWaterCycle); break;
      case 6: DrawCyclingBlock(c, x, y, pal::kLavaCycle); break;
      case 7: DrawEarth(c, x, y); break;
      case 8: DrawCloud(c, x, y); break;
      default:
        c.FillRect(x, y, kCell, kCell, Shade(pal::kSlate, 4));
        DrawNumberedCell(c, x, y, kCell, kCell, std::to_string(n), Shade(pal::kSlate, 12));
    }
  }
  return c;
}

Canvas CharacterSheet() {
  Canvas c(512, 480);
  DrawFigureRow(c, 0 * kCell, 0, FigureDrawer(kHeroColours));
  DrawFigureRow(c, 1 * kCell, 1, DrawWalker);
  DrawFigureRow(c, 2 * kCell, 2, DrawFlyer);
  DrawFigureRow(c, 3 * kCell, 3, DrawSpiky);
  for (int row = 4; row < kCellsPerColumn; ++row)
    for (int f = 0; f < c.Width() / kCell; ++f) DrawNumberedFrame(c, f * kCell, row * kCell, row, f);
  return c;
}

Canvas ShotSheet() {
  Canvas c(128, 480);
  constexpr int kShotsPerColumn = 30;
  constexpr int kShot = 16;
  const int count = c.Width() / (2 * kShot) * kShotsPerColumn;
  for (int g = 0; g < count; ++g) {
    const int y = g % kShotsPerColumn * kShot;
    for (int f = 0; f < 2; ++f) {
      const int x = (f + g / kShotsPerColumn * 2) * kShot;
      switch (g) {
        case 0: DrawBallShot(c, x, y, f); break;
        case 1: DrawArrowShot(c, x, y, f); break;
        case 2: DrawFireShot(c, x, y, f); break;
        case 3: DrawStarShot(c, x, y, f); break;
        default:
          DrawNumberedCell(c, x, y, kShot, kShot, std::to_string(g),
                           f == 0 ? Shade(pal::kOrange, 12) : Shade(pal::kYellowRamp, 13));
      }
    }
  }
  return c;
}

namespace {

void DrawItem(Canvas& c, int x, int y, int n, int frame) {
  switch (n) {
    case 1: DrawCoin(c, x, y, frame); break;
    case 2: DrawGoalFlag(c, x, y, frame); break;
    case 3: DrawHeart(c, x, y, frame); break;
    case 4: DrawStar(c, x, y, frame); break;
    case 5: DrawKey(c, x, y, frame); break;
    default:
      DrawNumberedCell(c, x, y, kCell, kCell, std::to_string(n),
                       frame == 0 ? Shade(pal::kCyan, 12) : Shade(pal::kCyan, 14));
  }
}

constexpr int kDrawnItems = 6;  // items 0 to 5 have pictures, the others numbers

}  // namespace

Canvas ItemSheet() {
  Canvas c(256, 480);
  const int count = c.Width() / (2 * kCell) * kCellsPerColumn;
  for (int n = 0; n < count; ++n)
    for (int f = 0; f < 2; ++f) DrawItem(c, CellX(n, 2 * kCell) + f * kCell, CellY(n, kCell), n, f);
  return c;
}

Canvas ItemMiniSheet() {
  Canvas c(128, 240);
  const int count = c.Width() / kCell * kCellsPerColumn;
  for (int n = 0; n < count; ++n) {
    const int x = CellX(n, kCell);
    const int y = CellY(n, 16);
    if (n > 0 && n < kDrawnItems)
      DrawIcon(c, x, y, [n](Canvas& full) { DrawItem(full, 0, 0, n, 0); });
    else
      DrawNumberedCell(c, x, y, 16, 16, std::to_string(n), Shade(pal::kCyan, 12));
  }
  return c;
}

Canvas MarkSheet() {
  Canvas c(128, 480);
  const int count = c.Width() / kCell * kCellsPerColumn;
  for (int n = 0; n < count; ++n) {
    const int x = CellX(n, kCell);
    const int y = CellY(n, kCell);
    switch (n) {
      case 1: DrawBalloon(c, x, y, "!", pal::kRed); break;
      case 2: DrawBalloon(c, x, y, "?", pal::kBlue); break;
      case 3: DrawArrowDown(c, x, y); break;
      case 4: DrawHeart(c, x, y, 1); break;
      default: DrawNumberedCell(c, x, y, kCell, kCell, std::to_string(n), Shade(pal::kPink, 12));
    }
  }
  return c;
}

Canvas WindowPicture() {
  Canvas c(640, 480);
  c.FillRect(0, 0, c.Width(), c.Height(), pal::kWindow);
  return c;
}

Canvas StatusWindowPicture() {
  Canvas c(640, 20);
  c.FillRect(0, 0, c.Width(), c.Height(), pal::kWindowDark);
  c.FillRect(0, 0, c.Width(), 1, pal::kWindow);
  c.FillRect(0, c.Height() - 1, c.Width(), 1, pal::kBorder);
  return c;
}

Canvas TitlePicture() {
  Canvas c(640, 480);
  for (int y = 0; y < c.Height(); ++y) c.FillRect(0, y, c.Width(), 1, Shade(pal::kBlueRamp, 5 + y * 9 / c.Height()));
  c.FillEllipse(100, 150, 50, 14, pal::kWhite);
  c.FillEllipse(540, 190, 60, 16, pal::kWhite);
  c.FillEllipse(150, 500, 280, 110, Shade(pal::kGreenRamp, 6));
  c.FillEllipse(520, 500, 240, 140, Shade(pal::kGreenRamp, 8));
  constexpr int kTitleScale = 8;
  const int titleWidth = Canvas::TextWidth("DEMO QUEST", kTitleScale);
  c.ShadowText((c.Width() - titleWidth) / 2, 48, "DEMO QUEST", pal::kGold, pal::kOutline, kTitleScale);
  // The hero, four times as large and facing right, on the hill.
  Canvas hero(kCell, kCell);
  DrawFigure(hero, 0, 0, Pose::kStand, kHeroColours);
  hero.Copy(0, 0, kCell, kCell, 0, 0, true);
  c.Stamp(hero, 0, 0, kCell, kCell, 460, 264, 4);
  return c;
}

Canvas GameModePicture() {
  static constexpr const char* kItems[] = {"NEW GAME", "CONTINUE", "CHALLENGE", "FREE PLAY",
                                            "REPLAY",   "OPTIONS",  "QUIT"};
  Canvas c(192, 224);
  for (int i = 0; i < 7; ++i) {
    c.ShadowText(8, i * kCell + 8, kItems[i], pal::kGold, pal::kShadow, 3);
    c.Outline(0, i * kCell, c.Width(), kCell, pal::kOutline);
  }
  return c;
}

Canvas AccessoryPicture() {
  Canvas c(128, 208);
  // Cursors: 32 x 32 at (0, 0), 16 x 16 at (64, 0), the pointer at (80, 0).
  c.FillTriangle(6, 6, 6, 26, 26, 16, pal::kYellow);
  c.Outline(0, 0, kCell, kCell, pal::kOutline);
  c.FillTriangle(67, 3, 67, 13, 77, 8, pal::kYellow);
  c.Outline(64, 0, 16, 16, pal::kOutline);
  c.FillTriangle(88, 3, 82, 13, 94, 13, pal::Shade(pal::kCyan, 12));
  c.Outline(80, 0, 16, 16, pal::kOutline);
  // The clear symbol at (96, 0): a medal with a tick.
  c.FillCircle(112, 16, 13, pal::kGold);
  c.FillCircle(112, 16, 10, Shade(pal::kYellowRamp, 9));
  DrawCheck(c, 96, 0, pal::kWhite);
  c.Outline(96, 0, kCell, kCell, pal::kOutline);
  // Status icons at (16 k, 32): total score, stage score, HP, SP, lives; the
  // life and message icon at (0, 48).
  DrawIcon(c, 0, 32, [](Canvas& full) { DrawCoin(full, 0, 0, 0); });
  DrawIcon(c, 16, 32, [](Canvas& full) { DrawStar(full, 0, 0, 0); });
  DrawIcon(c, 32, 32, [](Canvas& full) { DrawHeart(full, 0, 0, 0); });
  DrawIcon(c, 48, 32, [](Canvas& full) {
    DrawStar(full, 0, 0, 0);
    Tint(full, 0, 0, kCell, kCell, pal::kCyan);
  });
  const auto head = [](Canvas& full) { DrawFigureFrontal(full, 0, 0, 0, false, kHeroColours); };
  DrawIcon(c, 64, 32, head);
  DrawIcon(c, 0, 48, head);
  // The world-map figure: down (0, 64), up (64, 64), left (64, 96), right
  // (0, 96), each with its second frame 32 to the right.
  for (int f = 0; f < 2; ++f) {
    DrawFigureFrontal(c, f * kCell, 64, f, false, kHeroColours);
    DrawFigureFrontal(c, 64 + f * kCell, 64, f, true, kHeroColours);
    DrawFigure(c, 64 + f * kCell, 96, f == 0 ? Pose::kStepA : Pose::kStepB, kHeroColours);
    c.Copy(64 + f * kCell, 96, kCell, kCell, f * kCell, 96, true);
  }
  // Gauges, HP at x 0 and SP at x 64, 50 wide: the frame (128), the value
  // (144), a low value (160), the part lost (176) and the part gained (192).
  struct GaugeColours {
    pal::Ramp value, low, lost, gained;
  };
  const GaugeColours gauges[2] = {{pal::kGreenRamp, pal::kRedRamp, pal::kRedRamp, pal::kYellowRamp},
                                  {pal::kBlueRamp, pal::kPurple, pal::kBlueRamp, pal::kCyan}};
  for (int g = 0; g < 2; ++g) {
    const int x = 64 * g;
    c.FillRect(x, 128, 50, 16, pal::kShadow);
    c.FrameRect(x, 128, 50, 16, pal::kBlack);
    const pal::Ramp rows[4] = {gauges[g].value, gauges[g].low, gauges[g].lost, gauges[g].gained};
    const int shades[4] = {10, 10, 5, 12};
    for (int r = 0; r < 4; ++r) {
      const int y = 144 + 16 * r;
      c.FillRect(x, y, 50, 16, Shade(rows[r], shades[r]));
      c.FillRect(x, y, 50, 2, Shade(rows[r], shades[r] + 3));
    }
  }
  return c;
}

Canvas SymbolPicture() {
  static constexpr pal::Ramp kKeyRamps[] = {pal::kRedRamp, pal::kOrange,    pal::kGreenRamp, pal::kCyan,
                                            pal::kBlueRamp, pal::kPurple, pal::kPink,      pal::kBrown};
  Canvas c(832, 32);
  for (int k = 0; k < 26; ++k) {
    const int x = 16 * k;
    const pal::Ramp ramp = kKeyRamps[k % 8];
    c.FillRect(x + 1, 1, 14, 14, Shade(ramp, 8));
    c.FillRect(x + 2, 2, 12, 1, Shade(ramp, 12));
    c.FrameRect(x + 1, 1, 14, 14, Shade(ramp, 4));
    for (int corner : {0, 13}) {
      c.Set(x + 1 + corner, 1, pal::kTransparent);
      c.Set(x + 1 + corner, 14, pal::kTransparent);
    }
    c.Text(x + 5, 3, std::string(1, static_cast<char>('A' + k)), pal::kWhite, 2);
  }
  return c;
}

Canvas WordPicture() {
  Canvas c(320, 192);
  DrawBanner(c, 0, 0, 128, kCell, "STAGE", pal::kGold, 4);
  DrawBanner(c, 0, 32, 128, kCell, "REPLAY", Shade(pal::kCyan, 12), 4);
  DrawBanner(c, 160, 0, 80, kCell, "START", pal::kWhite, 3);
  DrawBanner(c, 0, 64, 128, kCell, "CLEAR!", pal::kGold, 4);
  DrawBanner(c, 0, 96, 144, kCell, "GAME OVER", pal::kRed, 3);
  for (int d = 0; d < 10; ++d) {
    DrawBanner(c, d * kCell, 128, kCell, kCell, std::to_string(d), pal::kGold, 5);  // stage numbers
    DrawBanner(c, d * kCell, 160, kCell, kCell, std::to_string(d), pal::kWhite, 5);  // time left
  }
  return c;
}

Canvas WorldMapChipSheet() {
  Canvas c(160, 64);
  for (int t = 0; t < 10; ++t) {
    const int x = t % 5 * kCell;
    const int y = t / 5 * kCell;
    switch (t) {
      case 0: FillGrass(c, x, y); break;
      case 1:
        c.FillRect(x, y, kCell, kCell, Shade(pal::kBrown, 12));
        for (int j = 3; j < kCell; j += 8)
          for (int i = (j % 3) * 3; i < kCell; i += 10) c.Set(x + i, y + j, Shade(pal::kBrown, 8));
        break;
      case 2: DrawCyclingBlock(c, x, y, pal::kWaterCycle); break;
      case 3:
        FillGrass(c, x, y);
        c.FillTriangle(x + 2, y + 29, x + 29, y + 29, x + 16, y + 3, Shade(pal::kGreyRamp, 8));
        c.FillTriangle(x + 12, y + 11, x + 20, y + 11, x + 16, y + 3, pal::kWhite);
        break;
      case 4:
        FillGrass(c, x, y);
        for (int tree : {0, 1}) {
          const int tx = x + 9 + tree * 14;
          const int ty = y + 10 + tree * 8;
          c.FillRect(tx - 1, ty + 5, 3, 7, Shade(pal::kBrown, 6));
          c.FillCircle(tx, ty, 7, Shade(pal::kGreenRamp, 5));
        }
        break;
      case 5:
        DrawCyclingBlock(c, x, y, pal::kWaterCycle);
        c.FillRect(x, y + 8, kCell, 16, Shade(pal::kBrown, 9));
        for (int i = 3; i < kCell; i += 6) c.FillRect(x + i, y + 8, 1, 16, Shade(pal::kBrown, 5));
        break;
      default:
        c.FillRect(x, y, kCell, kCell, Shade(pal::kSlate, 5));
        DrawNumberedCell(c, x, y, kCell, kCell, std::to_string(t), Shade(pal::kSlate, 13));
    }
  }
  return c;
}

Canvas WorldEventSheet() {
  Canvas c(64, 128);
  for (int cleared = 0; cleared < 2; ++cleared) {
    const int x = cleared * kCell;
    // Stage: a red dot, a green one with a tick once cleared.
    c.FillCircle(x + 16, 16, 10, cleared ? Shade(pal::kGreenRamp, 9) : pal::kRed);
    if (cleared)
      DrawCheck(c, x, 0, pal::kWhite);
    else
      c.FillCircle(x + 16, 16, 4, pal::kWhite);
    // Castle with its flag.
    c.FillRect(x + 6, 32 + 14, 20, 16, Shade(pal::kGreyRamp, 9));
    for (int tower : {4, 22}) c.FillRect(x + tower, 32 + 8, 6, 22, Shade(pal::kGreyRamp, 11));
    c.FillRect(x + 13, 32 + 20, 6, 10, pal::kBlack);
    c.FillRect(x + 6, 32 + 1, 1, 8, pal::kBlack);
    c.FillRect(x + 7, 32 + 1, 6, 4, cleared ? pal::kGold : pal::kRed);
    // House: its window lights up once cleared.
    c.FillRect(x + 7, 64 + 16, 18, 14, Shade(pal::kBrown, 10));
    c.FillTriangle(x + 3, 64 + 16, x + 28, 64 + 16, x + 16, 64 + 4, Shade(pal::kRedRamp, 7));
    c.FillRect(x + 11, 64 + 20, 5, 5, cleared ? pal::kYellow : pal::kDarkGrey);
    // Gate: closed, open once cleared.
    if (cleared) {
      c.FillRect(x + 3, 96 + 6, 6, 24, Shade(pal::kBrown, 7));
      c.FillRect(x + 23, 96 + 6, 6, 24, Shade(pal::kBrown, 7));
    } else {
      c.FillRect(x + 4, 96 + 6, 24, 24, Shade(pal::kBrown, 7));
      for (int bar = 8; bar < 28; bar += 6) c.FillRect(x + bar, 96 + 6, 2, 24, Shade(pal::kBrown, 4));
    }
  }
  c.Outline(0, 0, c.Width(), c.Height(), pal::kOutline);
  return c;
}

Canvas WorldBackPicture(int width, int height) {
  Canvas c(width, height);
  for (int y = 0; y < c.Height(); y += kCell)
    for (int x = 0; x < c.Width(); x += kCell) DrawCyclingBlock(c, x, y, pal::kWaterCycle);
  return c;
}

Canvas KnightSheet() {
  Canvas c(512, 32);
  DrawFigureRow(c, 0, 1, FigureDrawer(kKnightColours));
  return c;
}

Canvas SwordPicture(bool facingRight) {
  Canvas c(96, 16);
  for (int f = 0; f < 3; ++f) {
    const int x = f * kCell;
    const int tip = f == 0 ? 14 : 2;
    c.FillRect(x + tip + 2, 6, 25 - tip, 4, Shade(pal::kGreyRamp, 13));
    c.FillRect(x + tip + 2, 6, 25 - tip, 1, pal::kWhite);
    c.FillTriangle(x + tip, 8, x + tip + 2, 6, x + tip + 2, 9, Shade(pal::kGreyRamp, 13));
    c.FillRect(x + 27, 3, 2, 10, pal::kGold);
    c.FillRect(x + 29, 7, 3, 2, Shade(pal::kBrown, 7));
    if (f == 2) {
      c.Line(x + 4, 3, x + 20, 1, Shade(pal::kCyan, 14));
      c.Line(x + 4, 12, x + 20, 14, Shade(pal::kCyan, 14));
    }
    c.Outline(x, 0, kCell, 16, pal::kOutline);
    if (facingRight) c.Copy(x, 0, kCell, 16, x, 0, true);
  }
  return c;
}

Canvas BurstStrip() {
  Canvas c(128, 32);
  static constexpr int kRadius[4] = {5, 9, 12, 14};
  static constexpr int kHole[4] = {0, 4, 8, 12};
  for (int cell = 0; cell < 4; ++cell) {
    const int cx = cell * kCell + 16;
    c.FillCircle(cx, 16, kRadius[cell], cell < 2 ? Shade(pal::kOrange, 11) : Shade(pal::kYellowRamp, 12));
    c.FillCircle(cx, 16, kRadius[cell] - 2, cell < 2 ? pal::kYellow : Shade(pal::kYellowRamp, 14));
    if (kHole[cell]) c.FillCircle(cx, 16, kHole[cell], pal::kTransparent);
    if (cell == 0) c.FillCircle(cx, 16, 2, pal::kWhite);
    for (int spark = 0; spark < 4 && cell >= 2; ++spark) {
      static constexpr int kDx[4] = {-1, 1, 1, -1};
      static constexpr int kDy[4] = {-1, -1, 1, 1};
      const int d = kRadius[cell] - 3;
      c.Set(cx + kDx[spark] * d, 16 + kDy[spark] * d, pal::kWhite);
    }
  }
  return c;
}

Canvas SignPicture() {
  Canvas c(160, 64);
  for (int post : {30, 122}) c.FillRect(post, 40, 8, 24, Shade(pal::kBrown, 5));
  c.FillRect(4, 4, 152, 40, Shade(pal::kBrown, 9));
  for (int plank = 17; plank < 44; plank += 13) c.FillRect(5, plank, 150, 1, Shade(pal::kBrown, 7));
  c.FrameRect(4, 4, 152, 40, Shade(pal::kBrown, 4));
  DrawBanner(c, 4, 4, 152, 40, "WELCOME", pal::kWhite, 3);
  c.Outline(0, 0, c.Width(), c.Height(), pal::kOutline);
  return c;
}

Canvas SkyPicture() {
  Canvas c(320, 240);
  for (int y = 0; y < c.Height(); ++y) c.FillRect(0, y, c.Width(), 1, Shade(pal::kBlueRamp, 8 + y * 6 / c.Height()));
  c.FillEllipse(70, 50, 30, 9, pal::kWhite);
  c.FillEllipse(210, 90, 40, 11, pal::kWhite);
  c.FillEllipse(180, 84, 18, 8, pal::kWhite);
  // Hills whose outline repeats every 160 pixels, so that tiles join.
  for (int x = 0; x < c.Width(); ++x) {
    const int distance = x % 160 < 80 ? x % 160 : 160 - x % 160;
    const int far = 200 - distance / 3;
    const int near = 228 - (80 - distance) / 5;
    c.FillRect(x, far, 1, c.Height() - far, Shade(pal::kGreenRamp, 6));
    c.FillRect(x, near, 1, c.Height() - near, Shade(pal::kGreenRamp, 8));
  }
  return c;
}

}  // namespace demo
