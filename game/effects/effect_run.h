// Character effects and screen effects running through time.
//
// A run carries one definition of the database's character or screen
// effects (model/database/chara_scr_effect.h) through time: a value moves
// from the start to the end parameter by a rate per frame, or a timer counts
// up to the run time. A run plays its entry normally (mode 0), reversed
// (mode 1: start and end exchanged) or there and back (mode 2), once or in a
// loop. The renderers of the actor drawing and of the stage read the value
// and call Step (character runs) or StepValue (screen runs) once per frame.
//
// A run starts as a copy of a template: one template per database entry,
// normal and reversed, built once after the database is loaded (the reversed
// ones from the database's reversed copies, whose start and end parameters
// Setup exchanges in place). A template names its entry by list and index,
// never by address. Rates divide by the run time: a run time below 1 counts
// as 1.
#pragma once

#include <cstdint>
#include <vector>

#include "model/database/chara_scr_effect.h"

enum eEffectRunMode { EFFECT_RUN_NORMAL, EFFECT_RUN_REVERSED, EFFECT_RUN_ROUND_TRIP };

// What a template gives a run: the entry it reads and the value state.
struct sCharaEffectState {
  std::int32_t nEntry = 0;         // index in the list below
  std::int32_t bEntryReversed = 0;  // 1: the database's reversed copy
  std::int32_t nStart = 0;
  std::int32_t nEnd = 0;
  double dValue = 0;
  double dRate = 0;  // change per frame
  std::int32_t anState[2] = {};  // renderer state
};

class cCharaEffectRun : public sCharaEffectState {
 public:
  // Builds the template of entry i (reversed: from the reversed copy, whose
  // start and end this exchanges).
  void Setup(int i, int reversed);
  void Start(int i, int mode, int loop);
  void Restart();
  // Advances the value by the rate: 0 while running, 1 when finished.
  int Step();
  const cEdCharaEffect& Entry() const;

  std::int16_t nIndex = 0;
  std::int32_t nMode = EFFECT_RUN_NORMAL;
  std::int32_t bLoop = 0;
  std::int32_t bReversed = 0;  // the current pass runs reversed
  std::int32_t nSpare = 0;
};

struct sScrEffectState {
  std::int32_t nEntry = 0;
  std::int32_t bEntryReversed = 0;
  double dValue = 0;
  double dSpare = 0;
  double dRate = 0;
  std::int32_t anState[2] = {};  // the start point (kind 1) or renderer state
};

class cScrEffectRun : public sScrEffectState {
 public:
  void Setup(int i, int reversed);
  void Start(int i, int mode, int loop);
  void Restart();
  // Moves the value from start toward end by rate and compares its integer
  // part with end: 0 while running, 1 when finished.
  int StepValue(int start, int end, double rate);
  const cEdScrEffect& Entry() const;

  std::int16_t nIndex = 0;
  std::int32_t nMode = EFFECT_RUN_NORMAL;
  std::int32_t bLoop = 0;
  std::int32_t bReversed = 0;
  std::int32_t nSpare = 0;
};

// Copies the entry and the value state of a template; the run's control
// (index, mode, loop, direction) stays.
void CopyEffectRun(cCharaEffectRun& run, const cCharaEffectRun& source);
void CopyEffectRun(cScrEffectRun& run, const cScrEffectRun& source);

extern std::vector<cCharaEffectRun> g_CharaEffectRuns;
extern std::vector<cCharaEffectRun> g_CharaEffectRunsRev;
extern std::vector<cScrEffectRun> g_ScrEffectRuns;
extern std::vector<cScrEffectRun> g_ScrEffectRunsRev;

// One template per entry of the database's effect lists. Run them once right
// after cDatabase::MakeReversedCopies: the reversed templates exchange start
// and end in those copies (BuildDatabaseTables does both).
void BuildCharaEffectRuns(std::vector<cCharaEffectRun>& runs, std::vector<cCharaEffectRun>& runsRev);
void BuildScrEffectRuns(std::vector<cScrEffectRun>& runs, std::vector<cScrEffectRun>& runsRev);
