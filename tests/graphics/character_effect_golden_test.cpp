// Actors drawn with each character effect through the graphics layer, one
// frame of each at a fixed value, compared with a golden picture per mode:
// the effects' parameters reach their blits (bands, waves, turns, the card's
// mirrored face, the circle, the lens through the work image, tint,
// translucency, mosaic and blur, blur at 8 bits as a tint).
#include <gtest/gtest.h>

#include <array>
#include <list>
#include <string>

#include "game/objects/actor.h"
#include "graphics/blit.h"
#include "graphics/dd_draw_target.h"
#include "model/database/database.h"
#include "model/database/effect_kinds.h"
#include "support/definition_builders.h"
#include "support/graphics_device.h"
#include "support/scoped_blend_table.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kBackground = 100;
constexpr int kGraphicNo = 17;  // sheet pair 1 (images 6 and 7), row 2 (y 64)

struct Rect {
  int x, y, w, h, colour;
};
// The 32 x 32 sprite on a transparent ground; a stripe runs from its top to
// its bottom edge so that shifted rows and columns show.
constexpr Rect kSprite[] = {{4, 4, 24, 24, 120}, {4, 4, 24, 6, 200}, {4, 10, 6, 18, 60},
                            {18, 18, 6, 6, 240}, {15, 0, 2, 32, 30}};

// The sheet's cell at (0, 64), mirrored in place on the mirror sheet.
void MakeSheet(DDSURFACEDATA* sheet, bool mirrored) {
  ASSERT_TRUE(DDCreateSurface(sheet, 128, 128, 1, 0, 0, 0, 0));
  DDClearSurfacePal(sheet, 0);
  for (const Rect& r : kSprite) DDFillRectPal(sheet, mirrored ? 32 - r.x - r.w : r.x, 64 + r.y, r.w, r.h, r.colour);
}

struct EffectAt {
  int kind;
  int value;   // start and end value: the run stands still
  int p4, p5;  // parameters 4 and 5
  int column, row;
};
// Every kind that draws on its first frame (blink starts hidden), four a row.
constexpr EffectAt kEffects[] = {
    {CHARA_EFFECT_NONE, 0, 0, 0, 1, 1},           {CHARA_EFFECT_BURST, 4, 0, 0, 6, 1},
    {CHARA_EFFECT_SPLIT_H, 3, 4, 0, 11, 1},       {CHARA_EFFECT_SPLIT_V, 3, 4, 0, 16, 1},
    {CHARA_EFFECT_WAVE_H, 4, 2, 2, 1, 4},         {CHARA_EFFECT_WAVE_V, 4, 2, 2, 6, 4},
    {CHARA_EFFECT_ROTATE_A, 30, 0, 0, 11, 4},     {CHARA_EFFECT_ROTATE_B, 45, 0, 0, 16, 4},
    {CHARA_EFFECT_ROTATE_DEPTH, 20, 0, 0, 1, 8},  {CHARA_EFFECT_CIRCLE, 12, 2, 0, 6, 8},
    {CHARA_EFFECT_ZOOM, 48, 0, 0, 11, 8},         {CHARA_EFFECT_LENS, 10, 3, -2, 16, 8},
    {CHARA_EFFECT_COLOR, 2, 200, 0, 1, 12},       {CHARA_EFFECT_TRANSLUCENT, 0, 0, 0, 6, 12},
    {CHARA_EFFECT_MOSAIC, 4, 0, 0, 11, 12},       {CHARA_EFFECT_BLUR, 2, 0, 0, 16, 12},
};

class CharacterEffectGolden : public testing::TestWithParam<GraphicsMode> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Device.Started());
    if (!g_lpD3DState) g_dwTransmit = PalNumToRGB(0);
    for (int image : {6, 6 + IMAGE_ALTERNATES}) MakeSheet(&g_SurfaceTable[image], false);
    for (int image : {7, 7 + IMAGE_ALTERNATES}) MakeSheet(&g_SurfaceTable[image], true);
    ASSERT_TRUE(DDCreateSurface(&g_SurfaceTable[IMAGE_WORK], kWidth, kHeight, 1, 0, 0, 0, 0));
    DDClearSurfacePal(&g_SurfaceTable[IMAGE_WORK], 250);  // what an earlier effect left there
  }

  // An actor at the cell running an effect of the kind whose value stays put.
  TestActor& AddActor(const EffectAt& e) {
    cEdCharaEffect entry;
    entry.m_nKind = e.kind;
    entry.m_anParam[0] = 100;
    const bool blinkKind = e.kind == CHARA_EFFECT_TRANSLUCENT;
    entry.m_anParam[1] = blinkKind ? 9999 : e.value;
    entry.m_anParam[2] = e.value;
    entry.m_anParam[3] = e.p4;
    entry.m_anParam[4] = e.p5;
    g_Database.m_vCharaEffect.push_back(entry);
    m_Stage.RebuildDatabaseTables();

    TestActor& actor = m_Actors.emplace_back();
    actor.SetUp(m_Def, e.column, e.row);
    actor.m_nGraphicNo = kGraphicNo;
    if (e.kind != CHARA_EFFECT_NONE)
      actor.m_CharaEffect.Start(static_cast<int>(g_Database.m_vCharaEffect.size() - 1), 0, 0);
    return actor;
  }

  ScopedGraphicsDevice m_Device{GetParam()};
  ScopedHalfwayBlendTable m_BlendTable;
  TestStage m_Stage;
  CharaBuilder m_Def = CharaBuilder().Hp(100);
  std::list<TestActor> m_Actors;
  cDDDrawTarget m_Target;
};

TEST_P(CharacterEffectGolden, EveryKindOnItsFirstFrame) {
  for (const EffectAt& e : kEffects) AddActor(e);
  DDFillRectPal(&g_sdBackBuffer, 0, 0, kWidth, kHeight, kBackground);
  for (TestActor& actor : m_Actors) actor.Draw(m_Target, kBackBuffer, false);
  EXPECT_TRUE(MatchesGolden(BackBufferPicture(kWidth, kHeight), "effects/character_effects_" +
                                                                      std::string(GetParam().name)));
}

INSTANTIATE_TEST_SUITE_P(Modes, CharacterEffectGolden,
                         testing::Values(GraphicsModeNamed("DD8"), GraphicsModeNamed("DD32"),
                                         GraphicsModeNamed("D3D16FullScreen"), GraphicsModeNamed("D3D32")),
                         GraphicsModeName);

}  // namespace
