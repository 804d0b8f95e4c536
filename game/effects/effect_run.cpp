#include "game/effects/effect_run.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/checked_access.h"
#include "model/database/database.h"

std::vector<cCharaEffectRun> g_CharaEffectRuns;
std::vector<cCharaEffectRun> g_CharaEffectRunsRev;
std::vector<cScrEffectRun> g_ScrEffectRuns;
std::vector<cScrEffectRun> g_ScrEffectRunsRev;

namespace {

// Element size the reports give for one template.
constexpr std::size_t kTemplateReportSize = 56;
constexpr double kTimerRate = 1.0 / 6.0;

// Change per frame of a value that goes from start to end in time tenths of
// a second (time x 6 frames). Computed in doubles, so that no value of a
// damaged file overflows; a time below 1 counts as 1.
double RateOf(std::int32_t time, std::int32_t start, std::int32_t end) {
  return std::fabs(static_cast<double>(end) - static_cast<double>(start)) /
         (static_cast<double>(std::max(time, 1)) * 6.0);
}

template <class T>
bool IsIndexOf(const std::vector<T>& list, int i) {
  return i >= 0 && static_cast<std::size_t>(i) < list.size();
}

// Template i; a bad index is reported and template 0 used, and with no
// template at all the run starts from a blank one.
template <class Run>
const Run& TemplateAt(const std::vector<Run>& templates, int i) {
  if (IsIndexOf(templates, i)) return templates[static_cast<std::size_t>(i)];
  ReportBadIndex("V", i, templates.size(), kTemplateReportSize);
  static const Run blank;
  return templates.empty() ? blank : templates.front();
}

template <class Run>
void StartRun(Run& run, int i, int mode, int loop, const std::vector<Run>& normal,
              const std::vector<Run>& reversed) {
  CopyEffectRun(run, TemplateAt(mode == EFFECT_RUN_REVERSED ? reversed : normal, i));
  run.bReversed = mode == EFFECT_RUN_REVERSED ? 1 : 0;
  run.nIndex = static_cast<std::int16_t>(i);
  run.nMode = mode;
  run.nSpare = 0;
  run.bLoop = loop;
}

template <class Run>
void RestartRun(Run& run, const std::vector<Run>& normal, const std::vector<Run>& reversed) {
  if (run.nMode == EFFECT_RUN_ROUND_TRIP) run.bReversed = run.bReversed ? 0 : 1;
  CopyEffectRun(run, TemplateAt(run.bReversed ? reversed : normal, run.nIndex));
  run.nSpare = 0;
}

// At the end of a pass: a looping run, or the forward pass of a round trip,
// starts the next pass (0); otherwise the run is finished (1).
template <class Run>
int EndPass(Run& run) {
  if (run.bLoop || (run.nMode == EFFECT_RUN_ROUND_TRIP && !run.bReversed)) {
    run.Restart();
    return 0;
  }
  return 1;
}

}  // namespace

void CopyEffectRun(cCharaEffectRun& run, const cCharaEffectRun& source) {
  static_cast<sCharaEffectState&>(run) = source;
}

void CopyEffectRun(cScrEffectRun& run, const cScrEffectRun& source) {
  static_cast<sScrEffectState&>(run) = source;
}

void cCharaEffectRun::Setup(int i, int reversed) {
  std::vector<cEdCharaEffect>& list = reversed ? g_Database.m_vCharaEffectRev : g_Database.m_vCharaEffect;
  cEdCharaEffect& entry = CheckedAt(list, i);
  nIndex = static_cast<std::int16_t>(i);
  nEntry = IsIndexOf(list, i) ? i : 0;
  bEntryReversed = reversed ? 1 : 0;
  std::int32_t* p = entry.m_anParam;
  switch (entry.m_nKind) {
    case CHARA_EFFECT_BLINK:
    case CHARA_EFFECT_TRANSLUCENT:
      nStart = 0;
      nEnd = p[0];
      dValue = 0;
      dRate = kTimerRate;
      anState[0] = anState[1] = 0;
      break;
    case CHARA_EFFECT_BURST:
    case CHARA_EFFECT_SPLIT_H:
    case CHARA_EFFECT_SPLIT_V:
    case CHARA_EFFECT_WAVE_H:
    case CHARA_EFFECT_WAVE_V:
    case CHARA_EFFECT_ROTATE_A:
    case CHARA_EFFECT_ROTATE_B:
    case CHARA_EFFECT_ROTATE_DEPTH:
    case CHARA_EFFECT_CIRCLE:
    case CHARA_EFFECT_ZOOM:
    case CHARA_EFFECT_LENS:
    case CHARA_EFFECT_COLOR:
    case CHARA_EFFECT_MOSAIC:
    case CHARA_EFFECT_BLUR:
      if (reversed) std::swap(p[1], p[2]);
      nStart = p[1];
      nEnd = p[2];
      dValue = p[1];
      dRate = RateOf(p[0], p[1], p[2]);
      if (entry.m_nKind == CHARA_EFFECT_WAVE_H || entry.m_nKind == CHARA_EFFECT_WAVE_V) anState[0] = 0;
      break;
    default:
      break;
  }
}

void cCharaEffectRun::Start(int i, int mode, int loop) {
  StartRun(*this, i, mode, loop, g_CharaEffectRuns, g_CharaEffectRunsRev);
}

void cCharaEffectRun::Restart() { RestartRun(*this, g_CharaEffectRuns, g_CharaEffectRunsRev); }

int cCharaEffectRun::Step() {
  if (nEnd < nStart) {
    dValue -= dRate;
    if (dValue >= nEnd) return 0;
  } else {
    dValue += dRate;
    if (dValue <= nEnd) return 0;
  }
  return EndPass(*this);
}

const cEdCharaEffect& cCharaEffectRun::Entry() const {
  return CheckedAt(bEntryReversed ? g_Database.m_vCharaEffectRev : g_Database.m_vCharaEffect, nEntry);
}

void cScrEffectRun::Setup(int i, int reversed) {
  std::vector<cEdScrEffect>& list = reversed ? g_Database.m_vScrEffectRev : g_Database.m_vScrEffect;
  cEdScrEffect& entry = CheckedAt(list, i);
  nIndex = static_cast<std::int16_t>(i);
  nEntry = IsIndexOf(list, i) ? i : 0;
  bEntryReversed = reversed ? 1 : 0;
  std::int32_t* p = entry.m_anParam;
  switch (entry.m_nKind) {
    case SCR_EFFECT_MOVE:
      if (reversed) {
        std::swap(p[1], p[3]);
        std::swap(p[2], p[4]);
      }
      dValue = 0;
      dRate = kTimerRate;
      anState[0] = p[1];
      anState[1] = p[2];
      break;
    case SCR_EFFECT_SHAKE_H:
    case SCR_EFFECT_SHAKE_V:
      dValue = 0;
      dRate = kTimerRate;
      anState[0] = 0;
      dSpare = 0;
      break;
    case SCR_EFFECT_SPLIT_H:
    case SCR_EFFECT_SPLIT_V:
    case SCR_EFFECT_WAVE_H:
    case SCR_EFFECT_WAVE_V:
    case SCR_EFFECT_ROTATE:
    case SCR_EFFECT_CIRCLE:
    case SCR_EFFECT_ZOOM:
    case SCR_EFFECT_LENS:
    case SCR_EFFECT_MOSAIC:
      if (reversed) std::swap(p[1], p[2]);
      dValue = p[1];
      dRate = RateOf(p[0], p[1], p[2]);
      if (entry.m_nKind == SCR_EFFECT_WAVE_H || entry.m_nKind == SCR_EFFECT_WAVE_V) anState[0] = 0;
      break;
    case SCR_EFFECT_BLINK:
      dValue = 0;
      dRate = kTimerRate;
      anState[0] = anState[1] = 0;
      break;
    default:
      break;
  }
}

void cScrEffectRun::Start(int i, int mode, int loop) {
  StartRun(*this, i, mode, loop, g_ScrEffectRuns, g_ScrEffectRunsRev);
}

void cScrEffectRun::Restart() { RestartRun(*this, g_ScrEffectRuns, g_ScrEffectRunsRev); }

int cScrEffectRun::StepValue(int start, int end, double rate) {
  // The integer part, taken in doubles: a value past the int range still
  // compares rightly.
  if (end < start) {
    dValue -= rate;
    if (std::trunc(dValue) >= end) return 0;
  } else {
    dValue += rate;
    if (std::trunc(dValue) <= end) return 0;
  }
  return EndPass(*this);
}

const cEdScrEffect& cScrEffectRun::Entry() const {
  return CheckedAt(bEntryReversed ? g_Database.m_vScrEffectRev : g_Database.m_vScrEffect, nEntry);
}

void BuildCharaEffectRuns(std::vector<cCharaEffectRun>& runs, std::vector<cCharaEffectRun>& runsRev) {
  const std::size_t count = g_Database.m_vCharaEffect.size();
  runs.assign(count, cCharaEffectRun());
  runsRev.assign(count, cCharaEffectRun());
  for (std::size_t i = 0; i < count; ++i) {
    runs[i].Setup(static_cast<int>(i), 0);
    runsRev[i].Setup(static_cast<int>(i), 1);
  }
}

void BuildScrEffectRuns(std::vector<cScrEffectRun>& runs, std::vector<cScrEffectRun>& runsRev) {
  const std::size_t count = g_Database.m_vScrEffect.size();
  runs.assign(count, cScrEffectRun());
  runsRev.assign(count, cScrEffectRun());
  for (std::size_t i = 0; i < count; ++i) {
    runs[i].Setup(static_cast<int>(i), 0);
    runsRev[i].Setup(static_cast<int>(i), 1);
  }
}
