#include "scenes/stage/stage_draw_status.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/checked_access.h"
#include "base/requests.h"
#include "base/strings.h"
#include "base/timer.h"
#include "game/draw/draw_target.h"
#include "game/objects/actor.h"
#include "game/stage/stage_play.h"
#include "graphics/blit.h"
#include "graphics/font.h"
#include "graphics/frame_effects.h"
#include "graphics/image_table.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/user/save_data.h"

namespace {

enum eStatusItem { STATUS_TOTAL, STATUS_SCORE, STATUS_HP, STATUS_SP, STATUS_LIVES, STATUS_ITEM_COUNT };

constexpr int IMAGE_STATUS_BAR = 46, IMAGE_TIME_DIGITS = 51;
constexpr int kBarWidth = 640, kBarHeight = 20, kSpreadWidth = 638;
constexpr int kTextY = 3, kGaugeNumberY = 6;
constexpr int kGaugeWidth = 50, kGaugeHeight = 16;
// Accessory sheet: icons in row 32 (item k at 16 k, lives at 64), gauge
// frames in row 128 and fills in rows 144 (longer than 16) and 160, HP from
// column 0 and SP from 64.
constexpr int kIconY = 32, kLivesIconX = 64;
constexpr int kGaugeFrameY = 128, kGaugeLongFillY = 144, kGaugeShortFillY = 160, kSpGaugeX = 64;
constexpr int kShortFillWidth = 16;
constexpr int kWarningSound = 13;

bool IsGauge(int k) { return k == STATUS_HP || k == STATUS_SP; }

int LabelWidth(const cEdStatusItem& item) { return item.m_bIcon ? 16 : CountChars(item.m_strLabel.c_str()) * 16; }

int ItemWidth(const cEdStatusItem& item, int k) {
  return LabelWidth(item) + (IsGauge(k) ? kGaugeWidth : item.m_nDigits * 16);
}

void DrawIcon(DDSURFACEDATA* lpSD, int x, int sx) {
  DDBlt(lpSD, x, kTextY, 16, 16, &g_SurfaceTable[IMAGE_ACCESSORY], sx, kIconY, 1);
}

// The fill of a gauge in pixels: value / maximum of the gauge's width, an
// empty gauge for a value below 0 or no maximum, a full one past the maximum.
int GaugeFill(int nValue, int nMax) {
  if (nMax <= 0) return 0;
  const std::int64_t fill = static_cast<std::int64_t>(nValue) * kGaugeWidth / nMax;
  return static_cast<int>(std::clamp<std::int64_t>(fill, 0, kGaugeWidth));
}

void DrawGauge(DDSURFACEDATA* lpSD, const cEdStatusItem& item, int k, int x, int nValue, int nMax) {
  DDSURFACEDATA* accessory = &g_SurfaceTable[IMAGE_ACCESSORY];
  const int sx = k == STATUS_HP ? 0 : kSpGaugeX;
  DDBlt(lpSD, x, kTextY, kGaugeWidth, kGaugeHeight, accessory, sx, kGaugeFrameY, 1);
  const int fill = GaugeFill(nValue, nMax);
  if (fill > 0)
    DDBlt(lpSD, x, kTextY, fill, kGaugeHeight, accessory, sx,
          fill > kShortFillWidth ? kGaugeLongFillY : kGaugeShortFillY, 1);
  if (item.m_bShowValue) g_Font[0].Printf(lpSD, x, kGaugeNumberY, "%d", nValue);
}

}  // namespace

sStatusBarValues StatusBarValuesOf(const cActor* pHero) {
  sStatusBarValues values;
  values.nTotalScore = g_SaveData.m_nTotalScore;
  values.nStageScore = g_SaveData.m_nScore;
  values.nLives = g_SaveData.m_nLives;
  if (pHero) {
    values.nHp = pHero->m_nHp;
    values.nMaxHp = pHero->m_Chara.m_nMaxHP;
    values.nSp = pHero->m_nSp;
    values.nMaxSp = pHero->m_Chara.m_nMaxSP;
  }
  return values;
}

void DrawStatusBar(DDSURFACEDATA* lpSD, const sStatusBarValues& values) {
  int shown = 0, widths = 0;
  for (int k = 0; k < STATUS_ITEM_COUNT; ++k) {
    const cEdStatusItem& item = CheckedAt(g_SystemData.m_vStatusItems, k);
    if (!item.m_bShow) continue;
    ++shown;
    widths += ItemWidth(item, k);
  }
  if (shown == 0 || !g_LoadedStage.m_bStatusBar) return;
  const int gap = (kSpreadWidth - widths) / (shown + 1);
  DDBlt(lpSD, 0, 0, kBarWidth, kBarHeight, &g_SurfaceTable[IMAGE_STATUS_BAR], 0, 0, 0);

  Font& font = g_Font[1];
  int x = gap;
  for (int k = 0; k < STATUS_ITEM_COUNT; ++k) {
    const cEdStatusItem& item = CheckedAt(g_SystemData.m_vStatusItems, k);
    if (!item.m_bShow) continue;
    const char* label = item.m_strLabel.c_str();
    switch (k) {
      case STATUS_TOTAL:
      case STATUS_SCORE: {
        const int value = k == STATUS_TOTAL ? values.nTotalScore : values.nStageScore;
        if (item.m_bIcon) {
          DrawIcon(lpSD, x, 16 * k);
          font.Printf(lpSD, x + 16, kTextY, "%d", value);
        } else {
          font.Printf(lpSD, x, kTextY, "%s%d", label, value);
        }
        break;
      }
      case STATUS_HP:
      case STATUS_SP:
        if (item.m_bIcon)
          DrawIcon(lpSD, x, 16 * k);
        else
          font.Printf(lpSD, x, kTextY, "%s", label);
        if (k == STATUS_HP)
          DrawGauge(lpSD, item, k, x + LabelWidth(item), values.nHp, values.nMaxHp);
        else
          DrawGauge(lpSD, item, k, x + LabelWidth(item), values.nSp, values.nMaxSp);
        break;
      case STATUS_LIVES: {
        const bool unlimited = values.nLives == UNLIMITED_LIVES;
        if (item.m_bIcon) {
          DrawIcon(lpSD, x, kLivesIconX);
          if (unlimited)
            font.Printf(lpSD, x + 16, kTextY, "∞");
          else
            font.Printf(lpSD, x + 16, kTextY, "%d", values.nLives);
        } else if (unlimited) {
          font.Printf(lpSD, x, kTextY, "%s∞", label);
        } else {
          font.Printf(lpSD, x, kTextY, "%s%d", label, values.nLives);
        }
        break;
      }
    }
    x += ItemWidth(item, k) + gap;
  }
}

void DrawTimeLimit(const cStagePlay& play, DDSURFACEDATA* lpSD, int bSound) {
  if (play.m_bTimeStop) return;
  DDDrawNumber(lpSD, 272, 24, 32, 32, &g_SurfaceTable[IMAGE_TIME_DIGITS], 0, 160, 1, play.m_nTimeLeft, 3, 0);
  if (play.m_nTimeLeft >= 1 && play.m_nTimeLeft <= g_LoadedStage.m_nTimeWarning &&
      StepCounter(2, play.FramesPerSecond()) && bSound)
    RequestSystemSound(kWarningSound);
}
