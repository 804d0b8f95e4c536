#include "model/database/effect_kinds.h"

namespace {

constexpr cEdParamInfo kUnused{"", 0, 0, 0};

constexpr cEdParamInfo Time(int defaultValue) {
  return cEdParamInfo{"実行時間(1/10s)", 1, 9999, defaultValue};
}

constexpr const char* kNoteNone = "Direct3D有効時：\nDirect3D無効時：";
constexpr const char* kNoteRatherSlow = "Direct3D有効時：やや遅い\nDirect3D無効時：やや遅い";
constexpr const char* kNoteFast = "Direct3D有効時：速い\nDirect3D無効時：速い";

}  // namespace

const char* const g_astrCharaEffectName[CHARA_EFFECT_KIND_COUNT] = {
    "破裂", "分割（横）", "分割（縦）", "波（横）", "波（縦）", "点滅",
    "回転A", "回転B", "回転（奥）", "円", "拡大", "レンズ",
    "色変化", "半透明", "モザイク", "ぼかし", "",
};

const char* const g_astrCharaEffectNote[CHARA_EFFECT_KIND_COUNT] = {
    kNoteNone,
    kNoteNone,
    kNoteNone,
    kNoteRatherSlow,
    kNoteRatherSlow,
    kNoteFast,
    "Direct3D有効時：回転Aと回転Bは同じ\nDirect3D無効時：巨大キャラには実行速度重視",
    "Direct3D有効時：回転Aと回転Bは同じ\nDirect3D無効時：やや遅い。巨大キャラには描画精度重視",
    kNoteNone,
    kNoteRatherSlow,
    kNoteNone,
    "Direct3D有効時：遅い\nDirect3D無効時：遅い",
    "Direct3D有効時：\nDirect3D無効時：画面が8bit色→精度悪い、16bit色以上→やや遅い",
    "Direct3D有効時：画面エフェクト実行中は遅い\nDirect3D無効時：画面が8bit色→精度悪い、16bit色以上→遅過ぎ",
    "Direct3D有効時：遅い\nDirect3D無効時：画面が16bit色以上だと遅い",
    "Direct3D有効時：遅い\nDirect3D無効時：画面が16bit色以上でのみ有効。遅い",
    "",
};

const cEdParamInfo g_CharaEffectParams[CHARA_EFFECT_KIND_COUNT][EFFECT_PARAM_COUNT] = {
    {kUnused, kUnused, kUnused, kUnused, kUnused},
    // 破裂
    {Time(5), {"開始位置(dot)", 0, 999, 0}, {"終了位置(dot)", 0, 999, 32}, kUnused, kUnused},
    // 分割（横）
    {Time(5), {"開始位置(dot)", 0, 999, 0}, {"終了位置(dot)", 0, 999, 32}, {"分割数", 2, 16, 4},
     kUnused},
    // 分割（縦）
    {Time(5), {"開始位置(dot)", 0, 999, 0}, {"終了位置(dot)", 0, 999, 32}, {"分割数", 2, 16, 4},
     kUnused},
    // 波（横）
    {Time(5), {"開始幅(dot)", 0, 999, 0}, {"終了幅(dot)", 0, 999, 32}, {"波の数", 2, 16, 2},
     {"波の粗さ(dot)", 1, 4, 2}},
    // 波（縦）
    {Time(5), {"開始幅(dot)", 0, 999, 0}, {"終了幅(dot)", 0, 999, 32}, {"波の数", 2, 16, 2},
     {"波の粗さ(dot)", 1, 4, 2}},
    // 点滅
    {Time(10), {"点滅間隔(1/60s)", 1, 9999, 2}, kUnused, kUnused, kUnused},
    // 回転A
    {Time(10), {"開始角度", 0, 9999, 0}, {"終了角度", 0, 9999, 1440}, kUnused, kUnused},
    // 回転B
    {Time(10), {"開始角度", 0, 9999, 0}, {"終了角度", 0, 9999, 1440}, kUnused, kUnused},
    // 回転（奥）
    {Time(10), {"開始位置(dot)", 0, 9999, 0}, {"終了位置(dot)", 0, 9999, 256}, kUnused, kUnused},
    // 円
    {Time(5), {"開始半径(dot)", 0, 32, 32}, {"終了半径(dot)", 0, 32, 0}, {"円の粗さ(dot)", 1, 4, 2},
     kUnused},
    // 拡大
    {Time(10), {"開始幅(dot)", 0, 320, 32}, {"終了幅(dot)", 0, 320, 64}, kUnused, kUnused},
    // レンズ
    {Time(10), {"開始距離", 0, 100, 100}, {"終了距離", 0, 100, 5}, {"ズレX(dot)", -16, 16, 0},
     {"ズレY(dot)", -16, 16, 0}},
    // 色変化
    {Time(10), {"開始合成度", 1, 4, 1}, {"終了合成度", 1, 4, 1}, {"色", 16, 207, 16}, kUnused},
    // 半透明
    {Time(10), {"点滅間隔(1/60s)", 1, 9999, 9999}, kUnused, kUnused, kUnused},
    // モザイク
    {Time(10), {"開始強度", 1, 16, 1}, {"終了強度", 1, 16, 8}, kUnused, kUnused},
    // ぼかし
    {Time(10), {"開始強度", 1, 1, 1}, {"終了強度", 1, 4, 4}, kUnused, kUnused},
};

const char* const g_astrScrEffectName[SCR_EFFECT_KIND_COUNT] = {
    "移動", "振動（横）", "振動（縦）", "分割（横）", "分割（縦）", "波（横）", "波（縦）",
    "点滅", "回転", "円", "拡大", "レンズ", "モザイク", "",
};

const char* const g_astrScrEffectNote[SCR_EFFECT_KIND_COUNT] = {
    kNoteNone,
    kNoteNone,
    kNoteNone,
    kNoteNone,
    kNoteNone,
    kNoteRatherSlow,
    kNoteRatherSlow,
    kNoteFast,
    "Direct3D有効時：\nDirect3D無効時：遅い",
    kNoteRatherSlow,
    "Direct3D有効時：\nDirect3D無効時：やや遅い",
    "Direct3D有効時：遅過ぎ\nDirect3D無効時：遅過ぎ",
    "Direct3D有効時：遅過ぎ\nDirect3D無効時：画面が16bit色以上だと遅過ぎ",
    "",
};

const cEdParamInfo g_ScrEffectParams[SCR_EFFECT_KIND_COUNT][EFFECT_PARAM_COUNT] = {
    {kUnused, kUnused, kUnused, kUnused, kUnused},
    // 移動
    {Time(10), {"開始座標X(dot)", -640, 640, 0}, {"開始座標Y(dot)", -480, 480, 0},
     {"終了座標X(dot)", -640, 640, 640}, {"終了座標Y(dot)", -480, 480, 0}},
    // 振動（横）
    {Time(10), {"振動幅(dot)", 1, 640, 4}, {"振動回数", 1, 9999, 4}, kUnused, kUnused},
    // 振動（縦）
    {Time(10), {"振動幅(dot)", 1, 480, 4}, {"振動回数", 1, 9999, 4}, kUnused, kUnused},
    // 分割（横）
    {Time(10), {"開始位置(dot)", 0, 640, 0}, {"終了位置(dot)", 0, 640, 640}, {"分割数", 2, 240, 15},
     kUnused},
    // 分割（縦）
    {Time(10), {"開始位置(dot)", 0, 480, 0}, {"終了位置(dot)", 0, 480, 480}, {"分割数", 2, 320, 20},
     kUnused},
    // 波（横）
    {Time(10), {"開始幅(dot)", 0, 640, 0}, {"終了幅(dot)", 0, 640, 640}, {"波の数", 2, 240, 4},
     {"波の粗さ(dot)", 1, 48, 8}},
    // 波（縦）
    {Time(10), {"開始幅(dot)", 0, 480, 0}, {"終了幅(dot)", 0, 480, 480}, {"波の数", 2, 320, 4},
     {"波の粗さ(dot)", 1, 64, 10}},
    // 点滅
    {Time(10), {"点滅間隔(1/60s)", 1, 9999, 10}, kUnused, kUnused, kUnused},
    // 回転
    {Time(10), {"開始角度", 0, 9999, 0}, {"終了角度", 0, 9999, 1440}, kUnused, kUnused},
    // 円
    {Time(10), {"開始半径(dot)", 0, 640, 640}, {"終了半径(dot)", 0, 640, 0},
     {"円の粗さ(dot)", 1, 48, 8}, kUnused},
    // 拡大
    {Time(10), {"開始幅(dot)", 0, 6400, 640}, {"終了幅(dot)", 0, 6400, 1280}, kUnused, kUnused},
    // レンズ
    {Time(10), {"開始距離", 0, 1500, 1500}, {"終了距離", 0, 1500, 5}, {"ズレX(dot)", -320, 320, 0},
     {"ズレY(dot)", -240, 240, 0}},
    // モザイク
    {Time(10), {"開始強度", 1, 240, 1}, {"終了強度", 1, 240, 60}, kUnused, kUnused},
};
