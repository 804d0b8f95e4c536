#include "game/effects/effect_play.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/checked_access.h"
#include "base/random.h"
#include "game/core/numeric.h"
#include "game/data/database_tables.h"
#include "model/database/database.h"

namespace {

// Element size the reports give for one effect entry.
constexpr std::size_t kEffectReportSize = 100;

// A valid effect index: a bad one is reported and entry 0 used.
std::int16_t CheckedEffect(std::int16_t effect) {
  const std::size_t count = g_Database.m_vEffect.size();
  if (effect >= 0 && static_cast<std::size_t>(effect) < count) return effect;
  ReportBadIndex("V", effect, count, kEffectReportSize);
  return 0;
}

int ClampToInt(std::int64_t value) {
  using Limits = std::numeric_limits<int>;
  return static_cast<int>(std::clamp<std::int64_t>(value, Limits::min(), Limits::max()));
}

// A random offset of -4m to 4m.
std::int64_t Jitter(std::int64_t m) { return Random() % (8 * m + 1) - 4 * m; }

}  // namespace

const cEdEffect& cEffectPlay::Entry() const { return CheckedAt(g_Database.m_vEffect, nEffect); }

void cEffectPlay::InitFromCommand(std::int16_t effect, double x, double y, int width, int height,
                                  int runsWhilePaused) {
  nEffect = CheckedEffect(effect);
  dX = x;
  dY = y;
  nWidth = width;
  nHeight = height;
  bRunsWhilePaused = runsWhilePaused;
  bStretch = width != Entry().m_nCellWidth ? 1 : 0;
  SetAnime(nEffect);
}

void cEffectPlay::InitFromHit(std::int16_t effect, const sPixelBox& first, const sPixelBox& second,
                              int size) {
  bRunsWhilePaused = 0;
  nEffect = CheckedEffect(effect);
  const cEdEffect& entry = Entry();
  const bool scales = entry.m_bScaleWithSize != 0;
  const std::int64_t m = scales ? size : 1;
  if (scales && size > 1) {
    bStretch = 1;
    nWidth = ClampToInt(static_cast<std::int64_t>(size) * entry.m_nCellWidth);
    nHeight = ClampToInt(static_cast<std::int64_t>(size) * entry.m_nCellHeight);
  } else {
    bStretch = 0;
    nWidth = entry.m_nCellWidth;
    nHeight = entry.m_nCellHeight;
  }

  std::int64_t left = std::max(first.left, second.left);
  std::int64_t right = std::min(first.right, second.right);
  std::int64_t top = std::max(first.top, second.top);
  std::int64_t bottom = std::min(first.bottom, second.bottom);
  if (left > right || top > bottom) left = right = top = bottom = 0;
  std::int64_t x = left + (right - left + 1) / 2 - nWidth / 2;
  std::int64_t y = top + (bottom - top + 1) / 2 - nHeight / 2;
  x += Jitter(m);
  y += Jitter(m);
  dX = static_cast<double>(x);
  dY = static_cast<double>(y);
  SetAnime(nEffect);
}

void cEffectPlay::SetAnime(int effect) {
  m_Anime.Assign({CheckedAt(g_EffectFrameTables, effect)});
  m_Anime.Play(0, true);
  nFrame = m_Anime.GetFrame();
}

int cEffectPlay::Step(bool paused) {
  if (Entry().m_vFrames.empty()) return 1;
  if (bRunsWhilePaused || !paused) {
    nFrame = m_Anime.Step();
    if (nFrame == ANIME_END) return 1;
  } else {
    nFrame = m_Anime.GetFrame();
  }
  return 0;
}

sEffectBlit cEffectPlay::GetBlit(double viewX, double viewY) const {
  const cEdEffect& entry = Entry();
  sEffectBlit blit;
  blit.image = 2 * nEffect - 2;
  blit.stretch = bStretch != 0;
  const int cellWidth = blit.stretch ? entry.m_nCellWidth : nWidth;
  blit.srcX = ClampToInt(static_cast<std::int64_t>(nFrame) * cellWidth);
  blit.srcY = 0;
  blit.srcWidth = cellWidth;
  blit.srcHeight = blit.stretch ? entry.m_nCellHeight : nHeight;
  blit.dstX = TruncToInt(dX - viewX);
  blit.dstY = TruncToInt(dY - viewY);
  blit.dstWidth = nWidth;
  blit.dstHeight = nHeight;
  return blit;
}

int cEffectPlay::Draw(cDrawTarget& target, sSurface dst, double viewX, double viewY, bool paused) {
  if (Step(paused)) return 1;
  const sEffectBlit blit = GetBlit(viewX, viewY);
  const sSurface image{SURFACES_EFFECT, blit.image};
  if (blit.stretch) {
    target.BltStretch(dst, blit.dstX, blit.dstY, blit.dstWidth, blit.dstHeight, image, blit.srcX, blit.srcY,
                      blit.srcWidth, blit.srcHeight, kColourKey);
  } else {
    target.Blt(dst, blit.dstX, blit.dstY, blit.dstWidth, blit.dstHeight, image, blit.srcX, blit.srcY, kColourKey);
  }
  return 0;
}
