// Game objects drawn through the graphics layer: an actor's sprite lands on
// the frame at its place from its sheet's cell, keyed, in every display
// mode, and its character effect advances frame by frame as it draws.
#include <gtest/gtest.h>

#include <vector>

#include "game/objects/actor.h"
#include "graphics/blit.h"
#include "graphics/dd_draw_target.h"
#include "graphics/surface_lock.h"
#include "model/database/database.h"
#include "model/database/effect_kinds.h"
#include "support/definition_builders.h"
#include "support/graphics_device.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

constexpr int kSheet = 6;  // graphic 17: sheet pair 1 facing left, row 2 (y 64)
constexpr int kAlternateSheet = kSheet + 18;
constexpr int kBackground = 10, kCell = 30, kOtherCells = 40;

class ActorOnDevice : public testing::TestWithParam<GraphicsMode> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Device.Started());
    if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
    // The sheet and its alternate, which effects draw from.
    for (int image : {kSheet, kAlternateSheet}) {
      DDSURFACEDATA* sheet = &g_SurfaceTable[image];
      ASSERT_TRUE(DDCreateSurface(sheet, 128, 128, 1, 0, 0, 0, 0));
      DDClearSurfacePal(sheet, kOtherCells);
      DDFillRectPal(sheet, 0, 64, 32, 32, kCell);
      DDFillRectPal(sheet, 0, 64, 32, 8, 0);  // the cell's top rows are transparent
    }

    CharaBuilder def;
    def.Hp(100);
    m_Actor.SetUp(def, 2, 3);  // stage cell (2, 3): screen (64, 96)
    m_Actor.m_nGraphicNo = 17;
  }

  // The frame cleared and the actor drawn; beside it, as references, the
  // sheet's colours copied by a plain blit (a sheet's pixel value can change
  // on its way to the frame, as 1555 textures do on a 565 frame).
  void DrawFrame() {
    DDClearSurfacePal(&g_sdBackBuffer, kBackground);
    m_Actor.Draw(m_Target, kBackBuffer, false);
    m_Target.Blt(kBackBuffer, 300, 300, 4, 4, {SURFACES_IMAGE, kSheet}, 0, 80, 0);
    m_Target.Blt(kBackBuffer, 310, 300, 4, 4, {SURFACES_IMAGE, kSheet}, 64, 0, 0);
  }
  static std::uint32_t Pixel(int x, int y) {
    cSurfaceLock lock(&g_sdBackBuffer);
    return lock.GetPixel(x, y);
  }
  static std::uint32_t CellColour() { return Pixel(301, 301); }
  static std::uint32_t OtherCellsColour() { return Pixel(311, 301); }
  bool SpriteShown() { return Pixel(64 + 16, 96 + 20) == CellColour(); }

  ScopedGraphicsDevice m_Device{GetParam()};
  TestStage m_Stage;
  TestActor m_Actor;
  cDDDrawTarget m_Target;
};

TEST_P(ActorOnDevice, SpriteComesFromItsCellToItsPlaceKeyed) {
  DrawFrame();
  const std::uint32_t background = Pixel(500, 400);
  const std::uint32_t cell = CellColour();
  ASSERT_NE(cell, background);
  ASSERT_NE(cell, OtherCellsColour());
  EXPECT_EQ(Pixel(64, 104), cell);            // the cell's opaque part, first column
  EXPECT_EQ(Pixel(64 + 31, 96 + 31), cell);   // last pixel of the cell
  EXPECT_EQ(Pixel(64 + 5, 96 + 3), background);  // transparent rows keyed out
  EXPECT_EQ(Pixel(64 + 32, 110), background);    // nothing past the cell
  EXPECT_EQ(Pixel(63, 110), background);
  EXPECT_EQ(Pixel(70, 96 + 32), background);
}

// Blink hides the sprite for 2 frames, shows it for 2, hides it again.
TEST_P(ActorOnDevice, BlinkingEffectAdvancesAsTheActorDraws) {
  cEdCharaEffect entry;
  entry.m_nKind = CHARA_EFFECT_BLINK;
  entry.m_anParam[0] = 1;
  entry.m_anParam[1] = 2;
  entry.m_anParam[2] = 12;
  entry.m_anParam[3] = 3;
  entry.m_anParam[4] = 20;
  g_Database.m_vCharaEffect.push_back(entry);
  m_Stage.RebuildDatabaseTables();
  m_Actor.m_CharaEffect.Start(static_cast<int>(g_Database.m_vCharaEffect.size() - 1), 0, 0);

  std::vector<bool> shown;
  for (int frame = 0; frame < 6; ++frame) {
    DrawFrame();
    shown.push_back(SpriteShown());
  }
  EXPECT_EQ(shown, (std::vector<bool>{false, false, true, true, false, false}));
}

INSTANTIATE_TEST_SUITE_P(EveryMode, ActorOnDevice, testing::ValuesIn(kGraphicsModes), GraphicsModeName);

}  // namespace
