// The play progress: lives, scores and their totals, the world-map position
// and switches, the common variables, the hero's status carried from stage
// to stage, the best results per story and per challenge stage, and the
// bookkeeping of the running stage.
//
// g_SaveData is the live progress. The same record is the file form of the
// 99 story saves (user_data\story\Story01.dat .. Story99.dat), of
// user_data\challenge\Challenge.dat and of the progress part of a replay.
//
// File: u32 data version; the base part (28 int32 at the current version,
// the strings m_strStagePath and m_strName); the 16-byte save time; the
// carried-group flags (int list, from version 501); the player slots, the
// stage bests and the challenge records (record lists); the switches and the
// variables (int lists).
//
// Loading never leaves a half-read progress: a file that fails to load
// leaves the record as it was. Lists that the program indexes by number are
// padded on loading to the sizes a new progress has (25 carried-group flags,
// one player slot, 1000 switches, 256 variables). Saves go through atomic
// writes; a save that fails is reported, returns 0 and marks nothing as
// saved.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/definitions/chara.h"
#include "model/record/record.h"
#include "platform/local_time.h"

class cEdStage;

constexpr int STORY_SLOT_COUNT = 99;
constexpr int SWITCH_COUNT = 1000;
constexpr int COMMON_VARIABLE_COUNT = 256;
// Lives of this value (and scores of at most it) mean unlimited lives.
constexpr std::int32_t UNLIMITED_LIVES = 999999;

// The status groups a hero can carry from one stage to the next: the index
// of the carry, reset and stored flags.
enum eCarryGroup {
  CARRY_GRAPHIC,
  CARRY_ANIME_SET,
  CARRY_LAYER,
  CARRY_TRANSPARENT,
  CARRY_CHARA_EFFECT,
  CARRY_FIXED_FACING,
  CARRY_FLYING,
  CARRY_INVINCIBLE,
  CARRY_SCALE,
  CARRY_SCROLL_SYNC,
  CARRY_SIGHT,
  CARRY_HP,
  CARRY_SP,
  CARRY_MAX_HP,
  CARRY_MAX_SP,
  CARRY_HIT_RANGE,
  CARRY_POWER,
  CARRY_IMPACT,
  CARRY_DEFENSE,
  CARRY_IMPACT_RESIST,
  CARRY_STOP,
  CARRY_FLOWS,
  CARRY_TIME_LEFT,
  CARRY_LIVES,
  CARRY_STAGE_BGM,
  CARRY_GROUP_COUNT
};

// One player's carried status: the carried definition values, and the
// counters that live outside the definition.
class cSavedPlayer : public cEdRecordOf<cSavedPlayer> {
 public:
  cEdChara m_Chara;
  std::int32_t m_nCarriedHP = 0;
  std::int32_t m_nCarriedSP = 0;
  std::int32_t m_nCarriedTime = 0;
  std::int32_t m_nCarriedLives = 0;
  std::int32_t m_nCarriedBgm = 0;

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;
};

// The best total score of one story stage, keyed by its m_strStagePath.
class cStageBest : public cEdRecordOf<cStageBest> {
 public:
  std::string m_strStage;
  std::int32_t m_nBest = 0;

  void DeclareFields(int nVersion) override;
};

// One challenge stage: cleared, and its best total score.
class cSaveIntPair : public cEdRecordOf<cSaveIntPair> {
 public:
  std::int32_t m_bCleared = 0;
  std::int32_t m_nBest = 0;

  void DeclareFields(int nVersion) override;
};

class cSaveData : public cEdRecordOf<cSaveData> {
 public:
  std::int32_t m_bCarried = 0;    // the players' status has been stored
  std::int32_t m_nMapX = 0;       // world-map cursor cell
  std::int32_t m_nMapY = 0;
  std::int32_t m_nMapEntry = 0;   // index in g_WorldMap.m_vPoints of the point being played
  std::int32_t m_nRound = 0;      // round of the world map
  std::int32_t m_nStageNo = 0;    // story: clear switch of the point; challenge: stage number
  std::int32_t m_nSeriesNo = 0;   // part N of a series base-N.ext, 1 for a single stage
  std::int32_t m_nStartLives = 0;
  std::int32_t m_nLives = 0;
  std::int32_t m_nScore = 0;
  std::int32_t m_nTotalScore = 0;
  std::int32_t m_nBestTotal = 0;  // sum of the stored bests
  std::int32_t m_nTotalTimeLeft = 0;
  std::int32_t m_nTotalClearTime = 0;
  std::int32_t m_nTotalHP = 0;
  std::int32_t m_nTotalSP = 0;
  std::int32_t m_bSeries = 0;     // the stage file is the first of a series ("-1")
  std::int32_t m_nStageBgm = 0;
  std::int32_t m_bStageBgmLoop = 0;
  std::int32_t m_nMapPoint = 0;
  std::int32_t m_bGaveUp = 0;
  std::int32_t m_nMapReturnX = 0;
  std::int32_t m_nMapReturnY = 0;
  std::int32_t m_nOpenStages = 0;  // challenge stages unlocked
  std::int32_t m_nSaveSlot = 0;    // story slot in use, -1 none
  std::int32_t m_bAutoSave = 0;
  std::int32_t m_bShowRanking = 0;
  std::int32_t m_nRankingKind = 0;  // 0..4
  std::string m_strStagePath;       // stage key: the path up to its "." (or its "-1")
  std::string m_strName;            // name of the last ranking registration

  platform::SYSTEMTIME m_stSaved;   // local time of the last story save
  std::vector<std::int32_t> m_vCarryStored;  // per carried group: its values are stored
  std::vector<cSavedPlayer> m_vPlayers;
  std::vector<cStageBest> m_vStageBests;
  std::vector<cSaveIntPair> m_vChallenge;  // stage n at index n - 1
  std::vector<std::int32_t> m_vSwitches;
  std::vector<std::int32_t> m_vVariables;

  // The stage snapshot (not saved).
  std::vector<std::int32_t> m_vVariablesAtStart;
  std::int32_t m_nLivesAtStart = 0;
  std::int32_t m_nTotalAtStart = 0;

  cSaveData() { Reset(); }

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;

  // A new game's progress: everything 0 or empty, 25 carried-group flags of
  // 0, one player slot, 1000 switches with switch 0 on, 256 variables of 0,
  // one open challenge stage, no save slot, the name "aaa".
  void Reset();
  // Puts the world-map cursor back on the map and fits the challenge records
  // to the project's number of challenge stages.
  void Validate();

  // Writes story slot nSlot (0..98) and stamps it; 0 (reported, slot and
  // record unchanged) when the file cannot be written.
  int SaveStory(int nSlot);
  // Reads story slot nSlot and applies the story life rule; 0 (reported,
  // progress unchanged) when the slot cannot be read.
  int LoadStory(int nSlot);
  // Reads Challenge.dat and applies the challenge life rule; 0 when it is
  // missing or damaged (the progress is unchanged and the caller resets it).
  // A damaged file is first kept as Challenge.dat.bak.
  int LoadChallenge();
  // Writes Challenge.dat; 0 (reported) when it cannot be written.
  int SaveChallenge();

  // Takes the stage key of a stage file and whether it begins a series.
  void SetStageFile(const char* path);
  void RecordStageBest(const std::string& name, int nValue);
  int GetStageBest(const std::string& name) const;

  // The running total and the four other totals become 0.
  void ResetTotals();
  // At every stage set-up: what a retry returns to.
  void TakeStageSnapshot();
  // A retry (bRetry) restores variables, lives and total score; after a miss
  // the total score returns, and the variables when the rule of the play
  // mode (or of a direct start) says so.
  void RestoreStageSnapshot(int bRetry, int nPlayMode, int bDirectStart);

  // At the clear of a stage that keeps status: stores the groups that the
  // settings carry from the hero's definition and counters into slot nSlot.
  void StoreCarriedStatus(int nSlot, const cEdChara& def, int nHp, int nSp, std::int16_t nEffect,
                          std::uint8_t nEffectMode, std::uint8_t bEffectLoop, int nTimeLeft,
                          int nLives, int nBgm);
  // At the set-up of a stage that takes over status: puts the stored groups
  // into the hero's definition, the stage (time limit, music) and the lives.
  void ApplyCarriedStatus(int nSlot, cEdChara& def, cEdStage& stage);
  // The carried HP and SP, where carried and stored; others left as they are.
  void GetCarriedCounters(int nSlot, int* pHp, int* pSp) const;
  // When the hero dies: forgets the groups that the settings reset.
  void ClearCarriedStatus();

  // The next round of the world map: all switches off, cursor at the start.
  void StartNextRound();
  // Moves the ranking kind shown over the kinds enabled for the play mode.
  void StepRankingKind(int nPlayMode, int nStep);

 private:
  void ApplyLifeRule(int nPlayMode);
};

// One entry of the story slot list.
struct cSaveSlot {
  std::int32_t m_bUsed = 0;  // the slot's file exists and can be read
  platform::SYSTEMTIME m_stSaved;

  void SetStamp(const cSaveData& save);
};

// "user_data\story\StoryNN.dat" of slot nSlot (0 is Story01, 98 Story99).
std::string BuildStoryFilePath(int nSlot);
// Marks each slot used when its file reads, unused when it is missing or
// damaged, and copies the save times of the used ones.
void ScanStorySlots(std::vector<cSaveSlot>& slots);

extern cSaveData g_SaveData;
extern std::vector<cSaveSlot> g_SaveSlots;
