#include "tools/make-demo/demo_database.h"

#include <cstddef>
#include <initializer_list>

#include "tools/make-demo/demo_images.h"

namespace demo {

namespace {

// An animation of the given images, a tenth of a second each.
cEdAnime Frames(const char* name, std::initializer_list<int> images) {
  cEdAnime anime;
  anime.m_strName = name;
  anime.m_vFrames.clear();
  for (int image : images) {
    cEdAnimeFrame frame;
    frame.m_nImage = image;
    anime.m_vFrames.push_back(frame);
  }
  return anime;
}

cEdAnimeSet FigureAnimeSet() {
  cEdAnimeSet set;
  set.m_strName = "標準";
  const auto walking = [](const char* name) {
    return Frames(name, {kWalkFrames[0], kWalkFrames[1], kWalkFrames[2], kWalkFrames[3]});
  };
  // Flying figures flap their wings with the walking frames.
  set.m_vSlots = {Frames("立ち", {kStandFrame}), walking("立ち移動"), walking("飛行"), walking("飛行移動")};
  return set;
}

cEdSwordType Sword() {
  cEdSwordType sword;
  sword.m_strName = "ソード";
  sword.m_strFileLeft = kSwordImageLeft;
  sword.m_strFileRight = kSwordImageRight;
  sword.m_vFrames.assign(kSwordFrameCount, cEdSwordFrame());
  for (int k = 0; k < kSwordFrameCount; ++k) {
    cEdSwordFrame& frame = sword.m_vFrames[static_cast<std::size_t>(k)];
    frame.m_nSrcX = k * kSwordFrameWidth;
    frame.m_nWidth = kSwordFrameWidth;
    frame.m_nHeight = kSwordFrameHeight;
    frame.m_nDuration = 1;
  }
  return sword;
}

cEdEffect Burst() {
  cEdEffect effect;
  effect.m_strName = "バースト";
  effect.m_strFile = kEffectImage;
  effect.m_nCellWidth = kEffectCellSize;
  effect.m_nCellHeight = kEffectCellSize;
  effect.m_vFrames.assign(kEffectCellCount, cEdEffectFrame());
  for (int c = 0; c < kEffectCellCount; ++c) effect.m_vFrames[static_cast<std::size_t>(c)].m_nCell = c;
  return effect;
}

// An effect definition of `kind` with the defaults of its parameter table.
template <class T, std::size_t Kinds>
T EffectDef(int kind, const cEdParamInfo (&params)[Kinds][EFFECT_PARAM_COUNT], const char* name) {
  T def;
  def.m_strName = name;
  def.m_nKind = kind;
  for (int p = 0; p < EFFECT_PARAM_COUNT; ++p) def.m_anParam[p] = params[kind][p].m_nDefault;
  return def;
}

template <class T>
T NoneEntry() {
  T entry;
  entry.m_strName = "なし";
  return entry;
}

}  // namespace

cDatabase DemoDatabase() {
  cDatabase database;
  database.m_vAnimeSet = {FigureAnimeSet()};

  cEdBmpCharaExc knight;
  knight.m_strName = "ナイト";
  knight.m_strFile = kCharaExcImage;
  database.m_vBmpCharaExc = {NoneEntry<cEdBmpCharaExc>(), knight};

  database.m_vSwordType = {Sword()};
  database.m_vEffect = {NoneEntry<cEdEffect>(), Burst()};

  cEdCharaEffect noCharaEffect = NoneEntry<cEdCharaEffect>();
  noCharaEffect.m_nKind = CHARA_EFFECT_NONE;
  database.m_vCharaEffect = {noCharaEffect,
                             EffectDef<cEdCharaEffect>(CHARA_EFFECT_BURST, g_CharaEffectParams, "破裂")};
  cEdScrEffect noScrEffect = NoneEntry<cEdScrEffect>();
  noScrEffect.m_nKind = SCR_EFFECT_NONE;
  database.m_vScrEffect = {noScrEffect, EffectDef<cEdScrEffect>(SCR_EFFECT_SHAKE_V, g_ScrEffectParams, "振動")};

  cEdPicture sign;
  sign.m_strName = "看板";
  sign.m_strFile = kPictureImage;
  database.m_vPicture = {NoneEntry<cEdPicture>(), sign};
  database.m_vSound = {NoneEntry<cEdSound>()};
  database.m_vBgm = {NoneEntry<cEdBgm>()};
  return database;
}

}  // namespace demo
