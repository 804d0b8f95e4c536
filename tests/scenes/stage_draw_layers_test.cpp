// The stage's layers: backgrounds tiled from their parallax or their own
// scrolling (the first one opaque, the backdrop where none is drawn), the
// map cells of a layer in view (and none past the map), and the sight mask
// with its round or square opening (a negative sight counts as none).
#include "scenes/stage/stage_draw_layers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "base/close_request.h"
#include "game/overlays/picture.h"
#include "graphics/blit.h"
#include "graphics/surface.h"
#include "model/stage/stage_records.h"
#include "scenes/stage/stage_scene.h"
#include "support/graphics_device.h"
#include "support/recording_draw_target.h"
#include "support/test_stage.h"

namespace {

constexpr int kStripe = 90, kImageColour = 91, kBack = 20;

class Backgrounds : public testing::Test {
 protected:
  void SetUp() override { DDFillRectPal(&g_sdBackBuffer, 0, 0, 640, 480, kBack); }
  void TearDown() override {
    for (int i = 0; i < kBackgroundSlots; ++i) DDReleaseSurface(&g_SurfaceTable[kFirstBackgroundImage + i]);
  }
  // Image i of w x h in kImageColour (0, the transparent colour, with
  // bTransparent) with a one-pixel stripe of kStripe at column 0 and row 0.
  static void MakeImage(int i, int w, int h, bool bTransparent = false) {
    DDSURFACEDATA& image = g_SurfaceTable[kFirstBackgroundImage + i];
    ASSERT_TRUE(DDCreateSurface(&image, w, h, 1, 0, 0, 0, 0));
    DDFillRectPal(&image, 0, 0, w, h, bTransparent ? 0 : kImageColour);
    DDFillRectPal(&image, 0, 0, 1, h, kStripe);
    DDFillRectPal(&image, 0, 0, w, 1, kStripe);
  }
  static cEdBackground Layer(int nLayer) {
    cEdBackground background;
    background.m_bFill = 0;
    background.m_nLayer = nLayer;
    background.m_dSpeedX = background.m_dSpeedY = 1.0;
    return background;
  }
  // Screen columns (on row 240) and rows (on column 333) showing the stripe.
  std::vector<int> StripeColumns(int y = 240) {
    const GoldenImage picture = BackBufferPicture(640, 480);
    std::vector<int> columns;
    for (int x = 0; x < 640; ++x)
      if (picture.at(x, y) == m_Mode.device.PaletteRgb(kStripe) % 0x1000000) columns.push_back(x);
    return columns;
  }
  std::vector<int> StripeRows(int x = 333) {
    const GoldenImage picture = BackBufferPicture(640, 480);
    std::vector<int> rows;
    for (int y = 0; y < 480; ++y)
      if (picture.at(x, y) == m_Mode.device.PaletteRgb(kStripe) % 0x1000000) rows.push_back(y);
    return rows;
  }
  std::uint32_t Rgb(int n) { return m_Mode.device.PaletteRgb(n) & 0xFFFFFF; }

  StartedGraphicsMode m_Mode{"DD32"};
  cScrollAxis m_X, m_Y;
};

TEST_F(Backgrounds, TilesFromTheParallaxOffset) {
  MakeImage(0, 200, 300);
  const std::vector<cEdBackground> list = {Layer(0)};
  const struct {
    double x, y, factor;
    std::vector<int> columns, rows;
  } cases[] = {
      {320, 320, 1.0, {0, 200, 400, 600}, {0, 300}},
      {370, 320, 1.0, {150, 350, 550}, {0, 300}},          // a partial first column: five columns
      {320.6, 320.6, 1.0, {199, 399, 599}, {0, 300}},      // x rounds, y truncates
      {520, 420, 0.5, {100, 300, 500}, {250}},             // half the scroll: 100 and 50
      {0, 0, 1.0, {120, 320, 520}, {20, 320}},             // left of the stage proper
  };
  for (const auto& c : cases) {
    m_X.m_dPos = c.x;
    m_Y.m_dPos = c.y;
    std::vector<cEdBackground> scaled = list;
    scaled[0].m_dSpeedX = scaled[0].m_dSpeedY = c.factor;
    DrawBackgrounds(&g_sdBackBuffer, scaled, m_X, m_Y, 0);
    EXPECT_EQ(StripeColumns(), c.columns) << c.x;
    EXPECT_EQ(StripeRows(), c.rows) << c.y;
  }
}

TEST_F(Backgrounds, SelfScrollingLayersWrapIntoTheirImage) {
  MakeImage(0, 200, 300);
  std::vector<cEdBackground> list = {Layer(0)};
  list[0].m_bAutoX = 1;
  list[0].m_dSpeedX = 50;
  const double expected[] = {150, 100, 50, 0, 150};
  for (double offset : expected) {
    ScrollBackgrounds(list);
    EXPECT_EQ(list[0].m_dOffsetX, offset);
  }
  m_X.m_dPos = 320;
  m_Y.m_dPos = 320;
  DrawBackgrounds(&g_sdBackBuffer, list, m_X, m_Y, 0);
  EXPECT_EQ(StripeColumns(), (std::vector<int>{50, 250, 450}));

  // A speed past the image's size, or none at all, stays inside the image.
  for (double speed : {-1234.5, 1e300, std::numeric_limits<double>::quiet_NaN()}) {
    list[0].m_dSpeedX = speed;
    list[0].m_bAutoY = 1;
    list[0].m_dSpeedY = speed;
    for (int i = 0; i < 3; ++i) ScrollBackgrounds(list);
    EXPECT_GE(list[0].m_dOffsetX, 0) << speed;
    EXPECT_LT(list[0].m_dOffsetX, 200) << speed;
    EXPECT_GE(list[0].m_dOffsetY, 0) << speed;
    EXPECT_LT(list[0].m_dOffsetY, 300) << speed;
  }
}

TEST_F(Backgrounds, TheFirstOneBehindIsOpaqueTheOthersKeyed) {
  MakeImage(0, 640, 480, true);
  MakeImage(1, 640, 480, true);
  m_X.m_dPos = m_Y.m_dPos = 330;
  DrawBackgrounds(&g_sdBackBuffer, {Layer(0), Layer(0)}, m_X, m_Y, 0);
  const GoldenImage picture = BackBufferPicture(640, 480);
  EXPECT_EQ(picture.at(5, 5), Rgb(0)) << "the first copies its transparent pixels";
  EXPECT_EQ(picture.at(630, 5), Rgb(kStripe));

  // A fill counts as the first: the image over it is keyed.
  cEdBackground fill = Layer(0);
  fill.m_bFill = 1;
  fill.m_nFillColour = 33;
  DrawBackgrounds(&g_sdBackBuffer, {fill, Layer(0)}, m_X, m_Y, 0);
  EXPECT_EQ(BackBufferPicture(640, 480).at(5, 5), Rgb(33));
}

TEST_F(Backgrounds, TheBackdropWhereNothingIsDrawnBehind) {
  cEdBackground hidden = Layer(0);
  hidden.m_bShow = 0;
  cEdBackground front = Layer(1);
  front.m_bFill = 1;
  front.m_nFillColour = 44;
  cEdBackground missingImage = Layer(0);  // image 55 holds nothing
  const struct {
    std::vector<cEdBackground> list;
    int layer;
    int colour;
  } cases[] = {
      {{}, 0, kBackdropColour},
      {{hidden}, 0, kBackdropColour},
      {{front}, 0, kBackdropColour},
      {{missingImage}, 0, kBackdropColour},
      {{front}, 1, 44},
      {{hidden}, 1, kBack},  // the front layer leaves the frame alone
  };
  for (const auto& c : cases) {
    DDFillRectPal(&g_sdBackBuffer, 0, 0, 640, 480, kBack);
    DrawBackgrounds(&g_sdBackBuffer, c.list, m_X, m_Y, c.layer);
    EXPECT_EQ(BackBufferPicture(640, 480).at(100, 100), Rgb(c.colour)) << c.list.size() << " " << c.layer;
  }
}

TEST(MapLayer, DrawsTheCellsOfTheLayerInViewAndNonePastTheMap) {
  TestStage stage({30, 15});
  cEdBlock back = TestStage::Solid(1), front = TestStage::Solid(2), hidden = TestStage::Solid(3),
           absent = TestStage::Conditional(false);
  front.m_nLayer = 1;
  hidden.m_bHidden = 1;
  // Every play-map cell of rows 10 and 11 (margins included) holds a block.
  for (int column = 0; column < stage.m_ScrollX.m_nCells; ++column) {
    stage.MapCell(column, 10).m_Block = back;
    stage.MapCell(column, 11).m_Block = front;
  }
  stage.MapCell(45, 10).m_Block = hidden;
  stage.MapCell(46, 10).m_Block = absent;
  stage.m_nConditionAnswer = 0;
  // The right end: the view starts at play-map column 40, 7 pixels in.
  stage.m_ScrollX.m_dPos = 40 * 32 + 7.9;
  stage.m_ScrollY.m_dPos = 9 * 32 + 3;
  RecordingDrawTarget target;
  target.SetSize({SURFACES_IMAGE, IMAGE_BLOCKS}, 640, 480);
  DrawMapLayer(stage, target, kBackBuffer, 0);
  std::vector<int> xs;
  for (const sDrawCall& call : target.m_vCalls) {
    EXPECT_EQ(call.op, "Blt");
    EXPECT_EQ(call.y, 32 - 3);
    xs.push_back(call.x);
  }
  // Columns 40 to 49: the hidden (45) and the absent (46) cells are left out.
  EXPECT_EQ(xs, (std::vector<int>{-7, 25, 57, 89, 121, 217, 249, 281}));

  RecordingDrawTarget frontTarget;
  frontTarget.SetSize({SURFACES_IMAGE, IMAGE_BLOCKS}, 640, 480);
  DrawMapLayer(stage, frontTarget, kBackBuffer, 1);
  ASSERT_EQ(frontTarget.m_vCalls.size(), 10u);
  EXPECT_EQ(frontTarget.m_vCalls.front().y, 64 - 3);
}

TEST(SightMask, OpeningsByShapeAndRadius) {
  StartedGraphicsMode mode("DD32");
  ResetCloseRequests();
  DDSURFACEDATA mask, hole;
  const struct {
    int radius, shape;
    int width;
    bool cornerOpen;  // (centre - r + 1, centre - r + 1)
    bool centreOpen;
  } cases[] = {
      {32, 1, 1280 + 64, false, true},  // round: the corner of its square stays
      {32, 3, 1280 + 64, true, true},   // square
      {0, 1, 1280, false, false},
      {-48, 2, 1280, false, false},     // a negative sight is no sight
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(CreateEffectSurfaces(&mask, &hole, c.radius, c.shape));
    EXPECT_EQ(mask.nWidth, c.width);
    EXPECT_EQ(mask.nHeight, c.width - 320);
    const int cx = mask.nWidth / 2, cy = mask.nHeight / 2, r = std::max(c.radius, 0);
    DDBlt(&g_sdBackBuffer, 0, 0, 640, 480, &mask, cx - 320, cy - 240, 0);
    const GoldenImage picture = BackBufferPicture(640, 480);
    const std::uint32_t open = mode.device.PaletteRgb(0) & 0xFFFFFF;
    EXPECT_EQ(picture.at(320, 240) == open, c.centreOpen) << c.radius << " " << c.shape;
    EXPECT_EQ(picture.at(320 - r + 1, 240 - r + 1) == open, c.cornerOpen) << c.radius << " " << c.shape;
    EXPECT_EQ(picture.at(0, 0), mode.device.PaletteRgb(kBackdropColour) & 0xFFFFFF);
  }
  EXPECT_EQ(CloseRequestCount(), 0);
  DDReleaseSurface(&mask);
  DDReleaseSurface(&hole);
}

// A stage that names its picture surfaces by position and records removals.
class PictureStage : public TestStage {
 public:
  void RemovePictureSurface(int nPosition) override { removed.push_back(nPosition); }
  std::vector<int> removed;
};

TEST(Pictures, EachLayerInOrderAndTheEndedOnesRemovedWithTheirSurfaces) {
  PictureStage stage;
  // Pictures 1 (back, timed out next frame), 2 (front), 3 (back), 4 (back, timed out).
  const struct {
    int number, layer, time;
  } shown[] = {{1, 0, 1}, {2, 1, -1}, {3, 0, -1}, {4, 0, 1}};
  for (const auto& p : shown) {
    cPicture picture;
    picture.Setup(p.number, 320 + 10 * p.number, 320, 16, 16, 0, p.layer, 100, p.time < 0 ? 0 : DISPLAY_TIMED,
                  p.time, 0, 0, 0);
    stage.m_PictureList.push_back(picture);
  }
  RecordingDrawTarget target;
  const auto surfaceAt = [](int position) { return sSurface{SURFACES_EFFECT, 100 + position}; };
  DrawPictures(stage, target, kBackBuffer, 0, 0, surfaceAt);  // every back picture drawn; none over yet
  ASSERT_EQ(target.m_vCalls.size(), 3u);
  EXPECT_EQ(target.m_vCalls[0].src.nIndex, 100);
  EXPECT_EQ(target.m_vCalls[1].src.nIndex, 102);
  EXPECT_EQ(target.m_vCalls[2].x, 40);
  EXPECT_TRUE(stage.removed.empty());

  target.m_vCalls.clear();
  DrawPictures(stage, target, kBackBuffer, 0, 0, surfaceAt);  // 1 and 4 are over
  EXPECT_EQ(stage.removed, (std::vector<int>{0, 2}));
  ASSERT_EQ(target.m_vCalls.size(), 1u);
  EXPECT_EQ(target.m_vCalls[0].src.nIndex, 101);  // picture 3, now second in the list
  ASSERT_EQ(stage.m_PictureList.size(), 2u);
  EXPECT_EQ(stage.m_PictureList.front().m_nPicture, 2);

  target.m_vCalls.clear();
  DrawPictures(stage, target, kBackBuffer, 1, 1, surfaceAt);
  ASSERT_EQ(target.m_vCalls.size(), 1u);
  EXPECT_EQ(target.m_vCalls[0].src.nIndex, 100);
}

}  // namespace
