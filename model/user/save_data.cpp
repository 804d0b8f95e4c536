#include "model/user/save_data.h"

#include <algorithm>
#include <limits>

#include "base/checked_access.h"
#include "base/format.h"
#include "base/report.h"
#include "model/settings/paths.h"
#include "model/settings/system_data.h"
#include "model/stage/stage.h"
#include "model/stage/world_map.h"
#include "model/user/unreadable_file.h"

cSaveData g_SaveData;
std::vector<cSaveSlot> g_SaveSlots(STORY_SLOT_COUNT);

static_assert(CARRY_GROUP_COUNT == cSystemData::kCarryGroups);

namespace {

constexpr int kRankingKinds = 5;

// Appends entries of value to a list shorter than n.
template <class T>
void PadTo(std::vector<T>& list, std::size_t n, const T& value = T()) {
  if (list.size() < n) list.resize(n, value);
}

// Sums that can only grow stay within int32.
std::int32_t AddClamped(std::int32_t a, std::int64_t b) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      a + b, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Copies carried group k between two definitions; false for the groups that
// a definition does not hold.
bool CopyCharaGroup(int k, const cEdChara& from, cEdChara& to) {
  switch (k) {
    case CARRY_GRAPHIC:
      to.m_nGraphicNo = from.m_nGraphicNo;
      to.m_nGraphicKind = from.m_nGraphicKind;
      to.m_nGraphicSub = from.m_nGraphicSub;
      return true;
    case CARRY_ANIME_SET: to.m_nAnimeSet = from.m_nAnimeSet; return true;
    case CARRY_LAYER: to.m_nLayer = from.m_nLayer; return true;
    case CARRY_TRANSPARENT: to.m_bTransparent = from.m_bTransparent; return true;
    case CARRY_CHARA_EFFECT:
      to.m_nCharaEffect = from.m_nCharaEffect;
      to.m_nCharaEffectMode = from.m_nCharaEffectMode;
      to.m_bCharaEffectLoop = from.m_bCharaEffectLoop;
      return true;
    case CARRY_FIXED_FACING: to.m_bFixedFacing = from.m_bFixedFacing; return true;
    case CARRY_FLYING: to.m_nFlying = from.m_nFlying; return true;
    case CARRY_INVINCIBLE: to.m_nInvincible = from.m_nInvincible; return true;
    case CARRY_SCALE: to.m_nScale = from.m_nScale; return true;
    case CARRY_SCROLL_SYNC: to.m_bScrollSync = from.m_bScrollSync; return true;
    case CARRY_SIGHT:
      to.m_nSightShape = from.m_nSightShape;
      to.m_nSight = from.m_nSight;
      return true;
    case CARRY_MAX_HP: to.m_nMaxHP = from.m_nMaxHP; return true;
    case CARRY_MAX_SP: to.m_nMaxSP = from.m_nMaxSP; return true;
    case CARRY_HIT_RANGE: to.m_nHitRange = from.m_nHitRange; return true;
    case CARRY_POWER: to.m_nPower = from.m_nPower; return true;
    case CARRY_IMPACT: to.m_nImpact = from.m_nImpact; return true;
    case CARRY_DEFENSE: to.m_nDefense = from.m_nDefense; return true;
    case CARRY_IMPACT_RESIST: to.m_nImpactResist = from.m_nImpactResist; return true;
    case CARRY_STOP: to.m_nStop = from.m_nStop; return true;
    case CARRY_FLOWS: to.m_vFlow = from.m_vFlow; return true;
    default: return false;
  }
}

bool Carries(int k) { return CheckedAt(g_SystemData.m_vCarryFlags, k) != 0; }

}  // namespace

// ---- the parts -----------------------------------------------------------

void cSavedPlayer::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_nCarriedHP);
  ED_FIELD(m_nCarriedSP);
  ED_FIELD(m_nCarriedTime);
  ED_FIELD(m_nCarriedLives);
  ED_FIELD(m_nCarriedBgm);
}

bool cSavedPlayer::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  return m_Chara.Load(f);
}

void cSavedPlayer::Save(cDataWriter& f) {
  cEdRecord::Save(f);
  m_Chara.Save(f);
}

void cSavedPlayer::VisitTail(cRecordVisitor& v) {
  v.BeginList("m_Chara", 1);
  v.Element(m_Chara);
  v.EndList();
}

void cStageBest::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_nBest);
  ED_STRING(m_strStage);
}

void cSaveIntPair::DeclareFields(int /*nVersion*/) {
  DeclareTwoInts(m_bCleared, "m_bCleared", m_nBest, "m_nBest");
}

void cSaveSlot::SetStamp(const cSaveData& save) {
  m_bUsed = 1;
  m_stSaved = save.m_stSaved;
}

// ---- the record ------------------------------------------------------------

void cSaveData::DeclareFields(int nVersion) {
  ClearTables();
  ED_FIELD(m_bCarried);
  ED_FIELD(m_nMapX);
  ED_FIELD(m_nMapY);
  ED_FIELD(m_nMapEntry);
  ED_FIELD(m_nRound);
  ED_FIELD(m_nStageNo);
  ED_FIELD(m_nSeriesNo);
  ED_FIELD(m_nStartLives);
  ED_FIELD(m_nLives);
  ED_FIELD(m_nScore);
  ED_FIELD(m_nTotalScore);
  ED_FIELD(m_nBestTotal);
  ED_FIELD(m_nTotalTimeLeft);
  ED_FIELD(m_nTotalClearTime);
  if (nVersion >= 182) {
    ED_FIELD(m_nTotalHP);
    ED_FIELD(m_nTotalSP);
  }
  ED_FIELD(m_bSeries);
  ED_FIELD(m_nStageBgm);
  if (nVersion >= 166) ED_FIELD(m_bStageBgmLoop);
  if (nVersion >= 194) ED_FIELD(m_nMapPoint);
  if (nVersion >= 190) ED_FIELD(m_bGaveUp);
  if (nVersion >= 191) {
    ED_FIELD(m_nMapReturnX);
    ED_FIELD(m_nMapReturnY);
  }
  ED_FIELD(m_nOpenStages);
  ED_FIELD(m_nSaveSlot);
  if (nVersion >= 169) ED_FIELD(m_bAutoSave);
  ED_FIELD(m_bShowRanking);
  ED_FIELD(m_nRankingKind);
  ED_STRING(m_strStagePath);
  ED_STRING(m_strName);
}

bool cSaveData::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  if (!f.ReadValue(m_stSaved)) return false;
  if (g_nFileVersion >= 501 && !f.ReadValueList(m_vCarryStored)) return false;
  if (!LoadRecordList(f, m_vPlayers) || !LoadRecordList(f, m_vStageBests) ||
      !LoadRecordList(f, m_vChallenge)) {
    return false;
  }
  if (!f.ReadValueList(m_vSwitches) || !f.ReadValueList(m_vVariables)) return false;

  if (g_nFileVersion < 166) m_bStageBgmLoop = 1;
  if (g_nFileVersion < 169) m_bAutoSave = 0;
  if (g_nFileVersion < 182) m_nTotalHP = m_nTotalSP = 0;
  if (g_nFileVersion < 190) m_bGaveUp = 0;
  if (g_nFileVersion < 191) m_nMapReturnX = m_nMapReturnY = 0;
  if (g_nFileVersion < 194) m_nMapPoint = 0;
  // Older files stored every group that was carried.
  if (g_nFileVersion < 501) m_vCarryStored.assign(CARRY_GROUP_COUNT, 1);

  // The program indexes these lists by group, player, switch and variable.
  PadTo(m_vCarryStored, CARRY_GROUP_COUNT);
  PadTo(m_vPlayers, 1);
  PadTo(m_vSwitches, SWITCH_COUNT);
  PadTo(m_vVariables, COMMON_VARIABLE_COUNT);
  Validate();
  return !f.Failed();
}

void cSaveData::Save(cDataWriter& f) {
  Validate();
  cEdRecord::Save(f);
  f.WriteValue(m_stSaved);
  f.WriteValueList(m_vCarryStored);
  SaveRecordList(f, m_vPlayers);
  SaveRecordList(f, m_vStageBests);
  SaveRecordList(f, m_vChallenge);
  f.WriteValueList(m_vSwitches);
  f.WriteValueList(m_vVariables);
}

void cSaveData::VisitTail(cRecordVisitor& v) {
  v.Value("m_stSaved", &m_stSaved, sizeof(std::uint16_t), 8, false);
  v.Values("m_vCarryStored", m_vCarryStored.data(), m_vCarryStored.size());
  VisitRecordList(v, "m_vPlayers", m_vPlayers);
  VisitRecordList(v, "m_vStageBests", m_vStageBests);
  VisitRecordList(v, "m_vChallenge", m_vChallenge);
  v.Values("m_vSwitches", m_vSwitches.data(), m_vSwitches.size());
  v.Values("m_vVariables", m_vVariables.data(), m_vVariables.size());
}

void cSaveData::Reset() {
  Clear();
  m_vCarryStored.assign(CARRY_GROUP_COUNT, 0);
  m_vPlayers.assign(1, cSavedPlayer());
  m_vSwitches.assign(SWITCH_COUNT, 0);
  m_vSwitches[0] = 1;
  m_vVariables.assign(COMMON_VARIABLE_COUNT, 0);
  m_vStageBests.clear();
  m_vChallenge.clear();
  m_nOpenStages = 1;
  m_nSaveSlot = -1;
  m_strName = "aaa";
}

void cSaveData::Validate() {
  // A negative cell is off the map as well.
  if (m_nMapX < 0 || m_nMapX >= g_WorldMap.m_nWidth) m_nMapX = g_WorldMap.m_nStartX;
  if (m_nMapY < 0 || m_nMapY >= g_WorldMap.m_nHeight) m_nMapY = g_WorldMap.m_nStartY;
  const int stages = g_SystemData.m_nChallengeStages;
  m_vChallenge.resize(static_cast<std::size_t>(std::max(stages, 0)));
  m_nOpenStages = std::min(m_nOpenStages, stages);
}

// ---- files -----------------------------------------------------------------

std::string BuildStoryFilePath(int nSlot) {
  std::string path;
  FormatString(path, "%s%02d.dat", g_astrFilePath[PATH_STORY_FILE], nSlot + 1);
  return path;
}

int cSaveData::SaveStory(int nSlot) {
  if (nSlot < 0 || nSlot >= STORY_SLOT_COUNT) {
    ReportErrorF("セーブスロット %d はありません！", nSlot + 1);
    return 0;
  }
  const std::string path = BuildStoryFilePath(nSlot);
  const platform::SYSTEMTIME previous = m_stSaved;
  platform::GetLocalTime(&m_stSaved);
  if (!SaveFile(path.c_str())) {
    m_stSaved = previous;
    ReportErrorF("%s の保存に失敗しました！", path.c_str());
    return 0;
  }
  g_SaveSlots[static_cast<std::size_t>(nSlot)].SetStamp(*this);
  return 1;
}

int cSaveData::LoadStory(int nSlot) {
  if (nSlot < 0 || nSlot >= STORY_SLOT_COUNT) {
    ReportErrorF("セーブスロット %d はありません！", nSlot + 1);
    return 0;
  }
  const std::string path = BuildStoryFilePath(nSlot);
  if (!LoadFile(path.c_str())) {
    ReportErrorF("%s の読み込みに失敗しました！", path.c_str());
    return 0;
  }
  ApplyLifeRule(PLAY_STORY);
  return 1;
}

int cSaveData::LoadChallenge() {
  if (!LoadFile(g_astrFilePath[PATH_CHALLENGE_FILE])) {
    // The fresh progress that stands in is written over it at the next clear.
    KeepUnreadableFile(g_astrFilePath[PATH_CHALLENGE_FILE]);
    return 0;
  }
  ApplyLifeRule(PLAY_CHALLENGE);
  return 1;
}

int cSaveData::SaveChallenge() {
  const char* path = g_astrFilePath[PATH_CHALLENGE_FILE];
  if (!SaveFile(path)) {
    ReportErrorF("%s の保存に失敗しました！", path);
    return 0;
  }
  return 1;
}

void cSaveData::ApplyLifeRule(int nPlayMode) {
  if (CheckedAt(g_SystemData.m_vInfiniteLives, nPlayMode) != 0) {
    m_nStartLives = m_nLives = UNLIMITED_LIVES;
  } else if (m_nLives == UNLIMITED_LIVES) {
    // Saved while lives were unlimited, loaded where they are not.
    m_nLives = CheckedAt(g_SystemData.m_vStartLives, nPlayMode);
  }
}

void ScanStorySlots(std::vector<cSaveSlot>& slots) {
  cSaveData save;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const std::string path = BuildStoryFilePath(static_cast<int>(i));
    slots[i].m_bUsed = 0;
    // A damaged file is reported by LoadFile and cannot be continued.
    if (save.LoadFile(path.c_str())) slots[i].SetStamp(save);
  }
}

// ---- stage keys and bests ----------------------------------------------------

void cSaveData::SetStageFile(const char* path) {
  const std::string full = path != nullptr ? path : "";
  m_bSeries = 0;
  // The last "-1" marks the first stage of a series base-N.ext; the key is
  // the base with a point.
  const std::size_t series = full.rfind("-1");
  if (series != std::string::npos) {
    m_bSeries = 1;
    m_strStagePath = full.substr(0, series) + ".";
    return;
  }
  const std::size_t point = full.rfind('.');
  m_strStagePath = point == std::string::npos ? std::string() : full.substr(0, point + 1);
}

void cSaveData::RecordStageBest(const std::string& name, int nValue) {
  const auto entry = std::find_if(m_vStageBests.begin(), m_vStageBests.end(),
                                  [&](const cStageBest& best) { return best.m_strStage == name; });
  if (entry == m_vStageBests.end()) {
    cStageBest best;
    best.m_strStage = name;
    best.m_nBest = nValue;
    m_vStageBests.push_back(best);
    m_nBestTotal = AddClamped(m_nBestTotal, nValue);
  } else if (nValue > entry->m_nBest) {
    m_nBestTotal = AddClamped(m_nBestTotal, static_cast<std::int64_t>(nValue) - entry->m_nBest);
    entry->m_nBest = nValue;
  }
}

int cSaveData::GetStageBest(const std::string& name) const {
  for (const cStageBest& best : m_vStageBests) {
    if (best.m_strStage == name) return best.m_nBest;
  }
  return 0;
}

// ---- snapshot and carried status -------------------------------------------

void cSaveData::ResetTotals() {
  m_nTotalScore = m_nTotalTimeLeft = m_nTotalClearTime = m_nTotalHP = m_nTotalSP = 0;
}

void cSaveData::TakeStageSnapshot() {
  m_vVariablesAtStart = m_vVariables;
  m_nLivesAtStart = m_nLives;
  m_nTotalAtStart = m_nTotalScore;
}

void cSaveData::RestoreStageSnapshot(int bRetry, int nPlayMode, int bDirectStart) {
  if (bRetry) {
    m_vVariables = m_vVariablesAtStart;
    m_nLives = m_nLivesAtStart;
  } else {
    int restoreVars = 1;
    if (bDirectStart) {
      restoreVars = g_SystemData.m_bDirectRestoreVars;
    } else if (nPlayMode == PLAY_STORY) {
      restoreVars = g_SystemData.m_bStoryRestoreVars;
    } else if (nPlayMode == PLAY_CHALLENGE) {
      restoreVars = g_SystemData.m_bChallengeRestoreVars;
    } else if (nPlayMode == PLAY_FREESTAGE) {
      restoreVars = g_SystemData.m_bFreeRestoreVars;
    }
    if (restoreVars) m_vVariables = m_vVariablesAtStart;
  }
  m_nTotalScore = m_nTotalAtStart;
}

void cSaveData::StoreCarriedStatus(int nSlot, const cEdChara& def, int nHp, int nSp,
                                   std::int16_t nEffect, std::uint8_t nEffectMode,
                                   std::uint8_t bEffectLoop, int nTimeLeft, int nLives, int nBgm) {
  m_bCarried = 1;
  cSavedPlayer& slot = CheckedAt(m_vPlayers, nSlot);
  for (int k = 0; k < CARRY_GROUP_COUNT; ++k) {
    if (!Carries(k)) continue;
    switch (k) {
      // The effect running on the hero, not the one its definition starts.
      case CARRY_CHARA_EFFECT:
        slot.m_Chara.m_nCharaEffect = nEffect;
        slot.m_Chara.m_nCharaEffectMode = nEffectMode;
        slot.m_Chara.m_bCharaEffectLoop = bEffectLoop;
        break;
      case CARRY_HP: slot.m_nCarriedHP = nHp; break;
      case CARRY_SP: slot.m_nCarriedSP = nSp; break;
      case CARRY_TIME_LEFT: slot.m_nCarriedTime = nTimeLeft; break;
      case CARRY_LIVES: slot.m_nCarriedLives = nLives; break;
      case CARRY_STAGE_BGM: slot.m_nCarriedBgm = nBgm; break;
      default: CopyCharaGroup(k, def, slot.m_Chara); break;
    }
    CheckedAt(m_vCarryStored, k) = 1;
  }
}

void cSaveData::ApplyCarriedStatus(int nSlot, cEdChara& def, cEdStage& stage) {
  if (!m_bCarried) return;
  const cSavedPlayer& slot = CheckedAt(m_vPlayers, nSlot);
  for (int k = 0; k < CARRY_GROUP_COUNT; ++k) {
    if (k == CARRY_HP || k == CARRY_SP) continue;  // GetCarriedCounters hands them out
    if (!Carries(k) || CheckedAt(m_vCarryStored, k) == 0) continue;
    switch (k) {
      case CARRY_TIME_LEFT: stage.m_nTimeLimit = slot.m_nCarriedTime; break;
      case CARRY_LIVES: m_nLives = slot.m_nCarriedLives; break;
      case CARRY_STAGE_BGM: stage.m_nBgm = slot.m_nCarriedBgm; break;
      default:
        CopyCharaGroup(k, slot.m_Chara, def);
        if (k == CARRY_GRAPHIC && def.m_nGraphicNo == 0) def.m_nGraphicNo = 1;
        break;
    }
  }
}

void cSaveData::GetCarriedCounters(int nSlot, int* pHp, int* pSp) const {
  if (!m_bCarried) return;
  const cSavedPlayer& slot = CheckedAt(m_vPlayers, nSlot);
  if (Carries(CARRY_HP) && CheckedAt(m_vCarryStored, CARRY_HP) != 0) *pHp = slot.m_nCarriedHP;
  if (Carries(CARRY_SP) && CheckedAt(m_vCarryStored, CARRY_SP) != 0) *pSp = slot.m_nCarriedSP;
}

void cSaveData::ClearCarriedStatus() {
  for (int k = 0; k < CARRY_GROUP_COUNT; ++k) {
    if (CheckedAt(g_SystemData.m_vResetFlags, k) != 0) CheckedAt(m_vCarryStored, k) = 0;
  }
}

// ---- world map and ranking -------------------------------------------------

void cSaveData::StartNextRound() {
  ++m_nRound;
  std::fill(m_vSwitches.begin(), m_vSwitches.end(), 0);
  m_nMapX = g_WorldMap.m_nStartX;
  m_nMapY = g_WorldMap.m_nStartY;
}

void cSaveData::StepRankingKind(int nPlayMode, int nStep) {
  const std::vector<std::uint8_t>& kinds = CheckedAt(g_SystemData.m_vRanking, nPlayMode).m_vKinds;
  const auto enabled = [&](int kind) {
    const auto k = static_cast<std::size_t>(kind);
    return k < kinds.size() && kinds[k] != 0;
  };
  bool any = false;
  for (int kind = 0; kind < kRankingKinds; ++kind) any = any || enabled(kind);
  if (!any) return;

  // A kind outside 0..4 (a damaged save) starts from kind 0.
  if (m_nRankingKind < 0 || m_nRankingKind >= kRankingKinds) m_nRankingKind = 0;
  const auto step = [&](int by) {
    do {
      m_nRankingKind = (m_nRankingKind + by + kRankingKinds) % kRankingKinds;
    } while (!enabled(m_nRankingKind));
  };
  if (nStep > 0) {
    for (int i = 0; i < nStep; ++i) step(1);
  } else if (nStep < 0) {
    for (int i = 0; i < -nStep; ++i) step(-1);
  } else if (!enabled(m_nRankingKind)) {
    step(1);
  }
}
