// The ten database files at their version boundaries, written byte by byte,
// with the upgrades of old files.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "model/database/database.h"
#include "model/database/database_file.h"
#include "support/byte_builder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class DatabaseRecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nDataVersion = DATA_VERSION;
    g_bConvertText = 1;
  }
};

// A database file of one version holding the records that add() writes.
template <class Add>
Bytes DatabaseFile(std::uint32_t version, std::uint32_t count, Add add) {
  ByteBuilder b;
  b.U32(version).U32(count);
  add(b);
  return b.Get();
}

template <class T>
std::vector<T> Load(const Bytes& bytes) {
  std::vector<T> list;
  std::string error;
  EXPECT_TRUE(LoadDatabaseBytes(list, bytes, &error)) << error;
  return list;
}

// One animation as a file of that version holds it; frame i shows image i.
void AddAnime(ByteBuilder& b, std::uint32_t version, const std::string& name, int frames) {
  if (version >= 55) {
    b.U32(3).I16(-3).I8(0).I16(9);
  } else {
    b.U32(0);
  }
  b.Strings({name}).U32(frames);
  for (int i = 0; i < frames; ++i) b.Ints({i, 2, 0}).U32(0);
}

TEST_F(DatabaseRecordTest, AnimationSetsAreForcedToFourSlotsBefore128AndPaddedAfter) {
  struct Case {
    std::uint32_t version;
    int storedSlots;
    std::vector<std::string> names;  // of the loaded slots
    int flyingOffset;
  };
  const Case cases[] = {
      {100, 2, {"s0", "s1", "飛行", "飛行移動"}, 0},
      {118, 6, {"s0", "s1", "飛行", "飛行移動"}, 0},
      {119, 2, {"s0", "s1", "飛行", "飛行移動"}, 7},
      {127, 6, {"s0", "s1", "飛行", "飛行移動"}, 7},
      {128, 6, {"s0", "s1", "s2", "s3", "s4", "s5"}, 7},
      {200, 4, {"s0", "s1", "s2", "s3"}, 7},
      {200, 2, {"s0", "s1", "飛行", "飛行移動"}, 7},
      {566, 0, {"立ち", "立ち移動", "飛行", "飛行移動"}, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << c.version << ", " << c.storedSlots << " slots");
    const Bytes file = DatabaseFile(c.version, 1, [&](ByteBuilder& b) {
      if (c.version >= 119) {
        b.Ints({1, 2, c.flyingOffset});
      } else {
        b.Ints({1, 2});
      }
      b.Strings({"set"}).U32(c.storedSlots);
      for (int slot = 0; slot < c.storedSlots; ++slot) AddAnime(b, c.version, "s" + std::to_string(slot), 1);
    });
    const auto sets = Load<cEdAnimeSet>(file);
    ASSERT_EQ(sets.size(), 1u);
    const cEdAnimeSet& set = sets[0];
    EXPECT_EQ(set.m_nInvincibleOffset, 1);
    EXPECT_EQ(set.m_nBlockOffset, 2);
    EXPECT_EQ(set.m_nFlyingOffset, c.flyingOffset);
    std::vector<std::string> names;
    for (const cEdAnime& slot : set.m_vSlots) names.push_back(slot.m_strName);
    EXPECT_EQ(names, c.names);
    // Stored slots keep their frames; added ones have one default frame.
    for (std::size_t slot = 0; slot < set.m_vSlots.size(); ++slot) {
      ASSERT_EQ(set.m_vSlots[slot].m_vFrames.size(), 1u);
      EXPECT_EQ(set.m_vSlots[slot].m_vFrames[0].m_nDuration,
                static_cast<int>(slot) < c.storedSlots ? 2 : 1);
    }
  }
}

TEST_F(DatabaseRecordTest, DefaultAnimationSetIsWrittenAsStored) {
  ByteBuilder expected;
  expected.U32(DATA_VERSION).Ints({4, 8, 0}).Strings({""}).U32(4);
  for (const char* name : {"立ち", "立ち移動", "飛行", "飛行移動"}) {
    expected.U32(3).I16(0).I8(1).I16(0).Strings({name}).U32(1).Ints({0, 1, 0}).U32(0);
  }
  cEdAnimeSet set;
  EXPECT_EQ(set.SaveBytes(), expected.Get());
}

TEST_F(DatabaseRecordTest, AnimationsGainTheirExtraFieldsIn55) {
  for (const std::uint32_t version : {54u, 55u}) {
    SCOPED_TRACE(version);
    const auto anime = Load<cEdAnime>(DatabaseFile(version, 2, [&](ByteBuilder& b) {
      AddAnime(b, version, "アクション", 3);
      AddAnime(b, version, "", 0);
    }));
    ASSERT_EQ(anime.size(), 2u);
    EXPECT_EQ(anime[0].m_strName, "アクション");
    EXPECT_EQ(anime[0].m_nExtraA, version >= 55 ? -3 : 0);
    EXPECT_EQ(anime[0].m_bExtraB, version >= 55 ? 0 : 1);
    EXPECT_EQ(anime[0].m_nExtraC, version >= 55 ? 9 : 0);
    ASSERT_EQ(anime[0].m_vFrames.size(), 3u);
    EXPECT_EQ(anime[0].m_vFrames[2].m_nImage, 2);
    EXPECT_TRUE(anime[1].m_vFrames.empty()) << "a stored count of 0 leaves no frame";
  }
}

TEST_F(DatabaseRecordTest, CharacterImagesByVersion) {
  struct Case {
    std::uint32_t version;
    std::vector<std::int32_t> fields;  // as stored
    int storedInt, wide, cellWidth;    // as loaded
  };
  const Case cases[] = {
      {151, {}, 0, 0, 2},
      {152, {7}, 0, 0, 2},
      {153, {7}, 7, 0, 2},
      {171, {7}, 7, 0, 2},
      {172, {7, 1, 4}, 7, 1, 4},
      // A wide image always has 1 to 16 cells' width; a narrow one keeps its value.
      {172, {7, 1, 0}, 7, 1, 1},
      {172, {7, 1, 40}, 7, 1, 16},
      {172, {7, 0, 0}, 7, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << c.version << ", fields " << c.fields.size());
    const auto images = Load<cEdBmpCharaExc>(DatabaseFile(c.version, 1, [&](ByteBuilder& b) {
      b.U32(static_cast<std::uint32_t>(c.fields.size()));
      for (std::int32_t v : c.fields) b.I32(v);
      b.Strings({"顔", "bmp\\chara_sp\\face.bmp"});
    }));
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].m_strFile, "bmp\\chara_sp\\face.bmp");
    EXPECT_EQ(images[0].m_nStoredInt, c.storedInt);
    EXPECT_EQ(images[0].m_bWide, c.wide);
    EXPECT_EQ(images[0].m_nCellWidth, c.cellWidth);
  }
}

TEST_F(DatabaseRecordTest, SwordTypesAndTheirFramesByVersion) {
  for (const std::uint32_t version : {137u, 138u, 150u, 151u, 152u, 153u}) {
    SCOPED_TRACE(version);
    const auto swords = Load<cEdSwordType>(DatabaseFile(version, 1, [&](ByteBuilder& b) {
      if (version >= 151) {
        b.Ints({7});
      } else {
        b.Ints({});
      }
      b.Strings({"剣", "l.bmp", "r.bmp"}).U32(2);
      for (int frame = 0; frame < 2; ++frame) {
        if (version >= 138) {
          b.Ints({-1, -2, 0, 1, 3, 10, 20, 30, 40, 5 + frame});
        } else {
          b.Ints({-1, -2, 3, 10, 20, 30, 40, 5 + frame});
        }
        b.U32(0);
      }
    }));
    ASSERT_EQ(swords.size(), 1u);
    const cEdSwordType& sword = swords[0];
    EXPECT_EQ(sword.m_nStoredInt, version >= 153 ? 7 : 0);
    EXPECT_EQ(sword.m_strFileRight, "r.bmp");
    ASSERT_EQ(sword.m_vFrames.size(), 2u);
    const cEdSwordFrame& frame = sword.m_vFrames[1];
    EXPECT_EQ(frame.m_nOffsetY, -2);
    EXPECT_EQ(frame.m_bMirrorX, version >= 138 ? 0 : 1);
    EXPECT_EQ(frame.m_bMirrorY, version >= 138 ? 1 : 0);
    EXPECT_EQ(frame.m_nPosition, SWORD_POS_BELOW);
    EXPECT_EQ(frame.m_nHeight, 40);
    EXPECT_EQ(frame.m_nDuration, 6);
  }
  cEdSwordType fresh;
  ASSERT_EQ(fresh.m_vFrames.size(), 1u);
  EXPECT_EQ(fresh.m_vFrames[0].m_bMirrorX, 1);
  EXPECT_EQ(fresh.m_vFrames[0].m_nDuration, 1);
}

TEST_F(DatabaseRecordTest, EffectsByVersion) {
  for (const std::uint32_t version : {150u, 151u, 152u, 153u}) {
    SCOPED_TRACE(version);
    const auto effects = Load<cEdEffect>(DatabaseFile(version, 1, [&](ByteBuilder& b) {
      if (version >= 151) {
        b.Ints({7, 48, 40, 1});
      } else {
        b.Ints({48, 40, 1});
      }
      b.Strings({"爆発", "bmp\\effect\\bomb.bmp"}).U32(2).Ints({3, 2}).U32(0).Ints({4, 1}).U32(0);
    }));
    ASSERT_EQ(effects.size(), 1u);
    EXPECT_EQ(effects[0].m_nStoredInt, version >= 153 ? 7 : 0);
    EXPECT_EQ(effects[0].m_nCellWidth, 48);
    EXPECT_EQ(effects[0].m_nCellHeight, 40);
    EXPECT_EQ(effects[0].m_bScaleWithSize, 1);
    ASSERT_EQ(effects[0].m_vFrames.size(), 2u);
    EXPECT_EQ(effects[0].m_vFrames[1].m_nCell, 4);
  }
}

// Character and screen effects: files before 511 take the wave and circle
// coarseness from the parameter tables.
struct EffectDefCase {
  bool screen;
  std::uint32_t version;
  int kind;
  std::array<int, 5> stored;
  std::array<int, 5> loaded;
};

template <class T>
std::array<int, 5> LoadEffectParams(const EffectDefCase& c) {
  const auto list = Load<T>(DatabaseFile(c.version, 1, [&](ByteBuilder& b) {
    b.U32(2).I32(c.kind);
    for (int p : c.stored) b.I32(p);
    b.Strings({"name"});
  }));
  std::array<int, 5> params{};
  if (list.size() == 1) std::copy(std::begin(list[0].m_anParam), std::end(list[0].m_anParam), params.begin());
  return params;
}

TEST_F(DatabaseRecordTest, OldEffectDefinitionsTakeTheirCoarsenessDefaults) {
  const EffectDefCase cases[] = {
      {false, 510, CHARA_EFFECT_WAVE_H, {5, 0, 32, 2, 9}, {5, 0, 32, 2, 2}},
      {false, 510, CHARA_EFFECT_WAVE_V, {5, 0, 32, 2, 9}, {5, 0, 32, 2, 2}},
      {false, 510, CHARA_EFFECT_CIRCLE, {5, 32, 0, 9, 9}, {5, 32, 0, 2, 9}},
      {false, 400, CHARA_EFFECT_BLINK, {10, 2, 9, 9, 9}, {10, 2, 9, 9, 9}},
      {false, 511, CHARA_EFFECT_WAVE_H, {5, 0, 32, 2, 9}, {5, 0, 32, 2, 9}},
      {true, 300, SCR_EFFECT_WAVE_H, {10, 0, 640, 4, 0}, {10, 0, 640, 4, 8}},
      {true, 300, SCR_EFFECT_WAVE_V, {10, 0, 480, 4, 0}, {10, 0, 480, 4, 10}},
      {true, 510, SCR_EFFECT_CIRCLE, {10, 640, 0, 0, 1}, {10, 640, 0, 8, 1}},
      {true, 510, SCR_EFFECT_SPLIT_H, {10, 0, 640, 15, 3}, {10, 0, 640, 15, 3}},
      {true, 511, SCR_EFFECT_WAVE_V, {10, 0, 480, 4, 0}, {10, 0, 480, 4, 0}},
  };
  for (const EffectDefCase& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.screen ? "screen" : "character") << " kind " << c.kind
                                    << " version " << c.version);
    EXPECT_EQ(c.screen ? LoadEffectParams<cEdScrEffect>(c) : LoadEffectParams<cEdCharaEffect>(c), c.loaded);
  }
}

template <class T>
void ExpectMediaByVersion() {
  for (const std::uint32_t version : {150u, 151u, 152u, 153u, 566u}) {
    SCOPED_TRACE(version);
    const auto list = Load<T>(DatabaseFile(version, 2, [&](ByteBuilder& b) {
      for (int i = 0; i < 2; ++i) {
        if (version >= 151) {
          b.Ints({7});
        } else {
          b.Ints({});
        }
        b.Strings({"名前", i == 0 ? "" : "wave\\a.wav"});
      }
    }));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].m_strName, "名前");
    EXPECT_EQ(list[1].m_strFile, "wave\\a.wav");
    EXPECT_EQ(list[1].m_nStoredInt, version >= 153 ? 7 : 0);
  }
}

TEST_F(DatabaseRecordTest, PicturesSoundsAndMusicByVersion) {
  ExpectMediaByVersion<cEdPicture>();
  ExpectMediaByVersion<cEdSound>();
  ExpectMediaByVersion<cEdBgm>();
  cEdBgm bgm;
  EXPECT_EQ(bgm.SaveBytes(), ByteBuilder().U32(DATA_VERSION).U32(1).I32(0).U32(2).U32(1).U32(1).Get());
}

TEST_F(DatabaseRecordTest, AFileWithoutEntriesGivesOneDefaultEntry) {
  std::vector<cEdSwordType> swords(3);
  swords[0].m_strName = "old";
  ASSERT_TRUE(LoadDatabaseBytes(swords, DatabaseFile(566, 0, [](ByteBuilder&) {})));
  ASSERT_EQ(swords.size(), 1u);
  EXPECT_EQ(swords[0].m_strName, "");
  EXPECT_EQ(swords[0].m_vFrames.size(), 1u);

  std::vector<cEdAnimeSet> sets;
  ASSERT_TRUE(LoadDatabaseBytes(sets, DatabaseFile(566, 0, [](ByteBuilder&) {})));
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].m_vSlots.size(), 4u);
}

TEST_F(DatabaseRecordTest, ADamagedFileLeavesTheListAsItWas) {
  std::vector<cEdPicture> pictures(2);
  pictures[1].m_strFile = "before.bmp";
  const Bytes valid = DatabaseFile(566, 2, [](ByteBuilder& b) {
    b.Ints({0}).Strings({"a", "a.bmp"}).Ints({0}).Strings({"b", "b.bmp"});
  });
  for (std::size_t cut = 0; cut < valid.size(); ++cut) {
    std::string error;
    EXPECT_FALSE(LoadDatabaseBytes(pictures, Bytes(valid.begin(), valid.begin() + cut), &error)) << cut;
    EXPECT_FALSE(error.empty());
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[1].m_strFile, "before.bmp");
  }
  Bytes huge = valid;
  huge[4] = huge[5] = huge[6] = huge[7] = 0xFF;
  EXPECT_FALSE(LoadDatabaseBytes(pictures, huge));
  EXPECT_TRUE(LoadDatabaseBytes(pictures, valid));
  EXPECT_EQ(pictures[1].m_strFile, "b.bmp");
}

TEST_F(DatabaseRecordTest, TextLosesCarriageReturnsWhileConvertTextIsSet) {
  const Bytes file = DatabaseFile(566, 1, [](ByteBuilder& b) {
    b.U32(2).I32(CHARA_EFFECT_BURST);
    for (int p = 0; p < 5; ++p) b.I32(0);
    b.Strings({"a\r\nb"});
  });
  EXPECT_EQ(Load<cEdCharaEffect>(file)[0].m_strName, "a\nb");
  g_bConvertText = 0;
  EXPECT_EQ(Load<cEdCharaEffect>(file)[0].m_strName, "a\r\nb");
}

}  // namespace
