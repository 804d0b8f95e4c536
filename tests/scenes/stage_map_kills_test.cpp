// Characters killed by the map in the play frame: a flier that dies on
// blocks running into a wall, a walker falling out of the stage's bottom, a
// character squeezed between a ceiling and a floor, one buried in a block
// character. Each requests the character death sound once and goes through
// the death handling: it stays in the stage, dying, for its death display
// even with the keep-dying switch off, and the drawing removes it after.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "model/database/effect_kinds.h"
#include "model/settings/system_data.h"
#include "support/definition_builders.h"
#include "support/play_stage.h"

namespace {

constexpr int kCharacterDeathSound = 9;

struct MapKillCase {
  const char* name;
  // Places the character (and what kills it) on the stage.
  std::function<cCharacter&(class MapKillTest&, const cEdChara& def)> place;
};

class MapKillTest : public PlayStageTest, public testing::WithParamInterface<MapKillCase> {
 public:
  using PlayStageTest::AddCharacter;
  using PlayStageTest::MoveTo;
  using PlayStageTest::Pixel;
  using PlayStageTest::Put;

 protected:
  void SetUp() override {
    PlayStageTest::SetUp();
    m_nSavedKeep = g_SystemData.m_bKeepDeadCharas;
    g_SystemData.m_bKeepDeadCharas = 0;
    // A death effect: the character shows it for 30 frames.
    cEdCharaEffect burst;
    burst.m_nKind = CHARA_EFFECT_BURST;
    burst.m_anParam[0] = 5;  // half a second
    burst.m_anParam[2] = 32;
    g_Database.m_vCharaEffect.push_back(burst);
    m_Database.Rebuild();
    m_Def = CharacterDef(1);
    m_Def.m_nDeathEffect = static_cast<std::int16_t>(g_Database.m_vCharaEffect.size() - 1);
  }
  void TearDown() override {
    g_SystemData.m_bKeepDeadCharas = m_nSavedKeep;
    PlayStageTest::TearDown();
  }
  long Sounds(int n) const { return std::count(m_Window.sounds.begin(), m_Window.sounds.end(), n); }
  bool Has(const cCharacter* chara) {
    for (const cCharacter& c : Scene().m_CharacterList)
      if (&c == chara) return true;
    return false;
  }
  // Plays frames until the character is dying or the limit is reached.
  void PlayUntilDying(const cCharacter& chara, int nLimit = 120) {
    for (int frame = 0; frame < nLimit && !chara.m_bDying; ++frame) Scene().Play();
  }

  cEdChara m_Def;
  std::int32_t m_nSavedKeep = 0;
};

TEST_P(MapKillTest, TheKilledCharacterShowsItsDeathWithItsSound) {
  cCharacter& chara = GetParam().place(*this, m_Def);
  PlayUntilDying(chara);
  ASSERT_EQ(chara.m_bDying, 1);
  EXPECT_TRUE(Has(&chara)) << "removed before its death display";
  EXPECT_NE(chara.m_CharaEffect.nIndex, 0);
  EXPECT_EQ(Sounds(kCharacterDeathSound), 1);
  // The display runs out and the drawing removes the character.
  for (int frame = 0; frame < 200 && Has(&chara); ++frame) Scene().Play();
  EXPECT_FALSE(Has(&chara));
  EXPECT_EQ(Sounds(kCharacterDeathSound), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, MapKillTest,
    testing::Values(
        MapKillCase{"FlierThatDiesOnBlocksHitsAWall",
                    [](MapKillTest& t, const cEdChara& def) -> cCharacter& {
                      t.Put(8, 12, 1);
                      cCharacter& chara = t.AddCharacter(def, 8, 12);
                      chara.m_bFlying = 1;
                      chara.m_nBlockMode = 2;
                      return chara;
                    }},
        MapKillCase{"WalkerFallsOutOfTheBottom",
                    [](MapKillTest& t, const cEdChara& def) -> cCharacter& {
                      t.Put(10, 14, 0);
                      return t.AddCharacter(def, 10, 13);
                    }},
        MapKillCase{"SqueezedBetweenWalls",
                    [](MapKillTest& t, const cEdChara& def) -> cCharacter& {
                      // Pushed out of one wall into the other, and back.
                      t.Put(10, 13, 1);
                      t.Put(11, 13, 1);
                      return t.AddCharacter(def, 10, 13);
                    }},
        MapKillCase{"BuriedInABlockCharacter",
                    [](MapKillTest& t, const cEdChara& def) -> cCharacter& {
                      static const cEdChara block = BlockCharacterDef();
                      t.AddCharacter(block, 10, 13);
                      return t.AddCharacter(def, 10, 13);
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
