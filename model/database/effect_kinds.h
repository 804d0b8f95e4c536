// The kinds of character effects and screen effects, with their captions,
// notes and parameter tables.
//
// A definition stores a kind and five int32 parameters (model/database/
// chara_scr_effect.h). Parameter 0 is the run time in tenths of a second for
// every kind; the tables give each parameter's caption, range and default.
// Row k of a parameter table is kind k (row 0, no effect, is empty); entry
// k - 1 of a caption or note table names kind k, and each of those tables
// ends with an empty string. The tables are constant: they exist before any
// data file is read, because loading old definitions takes defaults from them.
#pragma once

#include "model/record/param_info.h"

enum eCharaEffectKind {
  CHARA_EFFECT_NONE = 0,
  CHARA_EFFECT_BURST,        // 破裂
  CHARA_EFFECT_SPLIT_H,      // 分割（横）
  CHARA_EFFECT_SPLIT_V,      // 分割（縦）
  CHARA_EFFECT_WAVE_H,       // 波（横）
  CHARA_EFFECT_WAVE_V,       // 波（縦）
  CHARA_EFFECT_BLINK,        // 点滅
  CHARA_EFFECT_ROTATE_A,     // 回転A
  CHARA_EFFECT_ROTATE_B,     // 回転B
  CHARA_EFFECT_ROTATE_DEPTH, // 回転（奥）
  CHARA_EFFECT_CIRCLE,       // 円
  CHARA_EFFECT_ZOOM,         // 拡大
  CHARA_EFFECT_LENS,         // レンズ
  CHARA_EFFECT_COLOR,        // 色変化
  CHARA_EFFECT_TRANSLUCENT,  // 半透明
  CHARA_EFFECT_MOSAIC,       // モザイク
  CHARA_EFFECT_BLUR,         // ぼかし
  CHARA_EFFECT_KIND_COUNT
};

enum eScrEffectKind {
  SCR_EFFECT_NONE = 0,
  SCR_EFFECT_MOVE,     // 移動
  SCR_EFFECT_SHAKE_H,  // 振動（横）
  SCR_EFFECT_SHAKE_V,  // 振動（縦）
  SCR_EFFECT_SPLIT_H,  // 分割（横）
  SCR_EFFECT_SPLIT_V,  // 分割（縦）
  SCR_EFFECT_WAVE_H,   // 波（横）
  SCR_EFFECT_WAVE_V,   // 波（縦）
  SCR_EFFECT_BLINK,    // 点滅
  SCR_EFFECT_ROTATE,   // 回転
  SCR_EFFECT_CIRCLE,   // 円
  SCR_EFFECT_ZOOM,     // 拡大
  SCR_EFFECT_LENS,     // レンズ
  SCR_EFFECT_MOSAIC,   // モザイク
  SCR_EFFECT_KIND_COUNT
};

constexpr int EFFECT_PARAM_COUNT = 5;

extern const char* const g_astrCharaEffectName[CHARA_EFFECT_KIND_COUNT];
extern const char* const g_astrCharaEffectNote[CHARA_EFFECT_KIND_COUNT];
extern const cEdParamInfo g_CharaEffectParams[CHARA_EFFECT_KIND_COUNT][EFFECT_PARAM_COUNT];

extern const char* const g_astrScrEffectName[SCR_EFFECT_KIND_COUNT];
extern const char* const g_astrScrEffectNote[SCR_EFFECT_KIND_COUNT];
extern const cEdParamInfo g_ScrEffectParams[SCR_EFFECT_KIND_COUNT][EFFECT_PARAM_COUNT];
