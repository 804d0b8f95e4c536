#include "model/settings/system_data.h"

#include <algorithm>

#include "base/checked_access.h"
#include "base/format.h"
#include "model/definitions/definition_context.h"
#include "model/settings/font_faces.h"

cSystemData g_SystemData;

namespace {

// Moves the entries from i on up by one place; the last entry is lost and
// entry i keeps its value until the caller sets it. Upgrades use it to put
// an entry that a newer version added at its place.
template <class T>
void OpenSlot(std::vector<T>& list, int i) {
  for (int j = static_cast<int>(list.size()) - 1; j > i; --j) {
    CheckedAt(list, j) = CheckedAt(list, j - 1);
  }
}

// Appends default entries to a list shorter than n.
template <class T>
void PadList(std::vector<T>& list, std::size_t n) {
  if (list.size() < n) list.resize(n);
}

void VisitStringList(cRecordVisitor& v, const char* name, const std::vector<std::string>& list) {
  std::string entryName;
  for (std::size_t i = 0; i < list.size(); ++i) {
    FormatString(entryName, "%s[%zu]", name, i);
    v.Text(entryName.c_str(), list[i]);
  }
}

template <class T>
void VisitValueList(cRecordVisitor& v, const char* name, const std::vector<T>& list) {
  v.Values(name, list.data(), list.size());
}

}  // namespace

// ---------------------------------------------------------------------------
// List elements

void cEdStatusItem::DeclareFields(int nVersion) {
  ClearTables();
  ED_FIELD(m_bShow);
  ED_FIELD(m_bIcon);
  ED_FIELD(m_nDigits);
  if (nVersion >= 204) ED_FIELD(m_bShowValue);
  ED_STRING(m_strLabel);
}

bool cEdStatusItem::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  // Gauges of older files always showed their number.
  if (g_nFileVersion < 204) m_bShowValue = 1;
  return !f.Failed();
}

void cEdMenuItem::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_bEnabled);
  ED_STRING(m_strText);
}

void cEdFlagSet::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_bEnabled);
}

bool cEdFlagSet::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  return f.ReadValueList(m_vKinds);
}

void cEdFlagSet::Save(cDataWriter& f) {
  cEdRecord::Save(f);
  f.WriteValueList(m_vKinds);
}

void cEdFlagSet::VisitTail(cRecordVisitor& v) { VisitValueList(v, "m_vKinds", m_vKinds); }

void cEdIniKey::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_nKind);
  ED_FIELD(m_nValue);
  ED_STRING(m_strKey);
  ED_STRING(m_strValue);
}

void cEdIniKey::SetInt(const std::string& key, int value) {
  m_strKey = key;
  m_nKind = 0;
  m_nValue = value;
}

void cEdIniKey::SetText(const std::string& key, const std::string& value) {
  m_strKey = key;
  m_nKind = 1;
  m_strValue = value;
}

// ---------------------------------------------------------------------------
// The settings record

cSystemData::cSystemData() { SetDefaults(); }

void cSystemData::DeclareFields(int nVersion) {
  ClearTables();
  ED_STRING(m_strTitle);
  if (nVersion >= 185) ED_FIELD(m_bExtraLifeByScore);
  ED_FIELD(m_nExtraLifeScore);
  ED_FIELD(m_bHideFieldOnPause);
  ED_FIELD(m_bHudSymbols);
  if (nVersion >= 205) ED_FIELD(m_nFontFace);
  if (nVersion >= 170) ED_FIELD(m_bHudCenterChars);
  if (nVersion >= 113) ED_FIELD(m_bKeepTestFlows);
  if (nVersion >= 184) ED_FIELD(m_bRecordReplay);
  if (nVersion >= 157) ED_FIELD(m_bTitlePicture);
  ED_FIELD(m_bKeepLives);
  if (nVersion >= 191) ED_FIELD(m_bStoryContinue);
  if (nVersion >= 191) ED_FIELD(m_bMapShowLives);
  ED_FIELD(m_nChallengeStages);
  ED_FIELD(m_bChallengeAllOpen);
  if (nVersion >= 167) ED_FIELD(m_bMapShowBest);
  if (nVersion >= 167) ED_FIELD(m_bStoryMenuShowTotal);
  if (nVersion >= 188) ED_FIELD(m_bStoryRestoreVars);
  if (nVersion >= 224) ED_FIELD(m_bStoryPauseRetry);
  if (nVersion >= 167) ED_FIELD(m_bSelectShowBest);
  if (nVersion >= 167) ED_FIELD(m_bSelectShowTotal);
  if (nVersion >= 188) ED_FIELD(m_bChallengeRestoreVars);
  if (nVersion >= 224) ED_FIELD(m_bChallengePauseRetry);
  if (nVersion >= 188) ED_FIELD(m_bFreeRestoreVars);
  if (nVersion >= 192) ED_FIELD(m_bDirectRestoreVars);
  if (nVersion >= 187) {
    ED_FIELD(m_bFullColour);
    ED_FIELD(m_nTransR);
    ED_FIELD(m_nTransG);
    ED_FIELD(m_nTransB);
  }
  // Versions 221 to 259 stored one more int32 here.
  if (nVersion >= 221 && nVersion < 260) AddDiscard(4, 1, "dropped_221_259");
  if (nVersion >= 214) ED_FIELD(m_bNoScrollCarry);
  if (nVersion >= 261) ED_FIELD(m_nScaleAnchor);
  if (nVersion >= 272) ED_FIELD(m_bKeepDeadCharas);
  if (nVersion >= 287) ED_FIELD(m_bColourChange);
  if (nVersion >= 515) ED_FIELD(m_nCycleStep);
  if (nVersion >= 289) ED_FIELD(m_bPaletteCycle);
  if (nVersion >= 525) ED_FIELD(m_bMultiStart);
  if (nVersion >= 555) ED_FIELD(m_bLightningNoSpacing);
}

bool cSystemData::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  const std::uint32_t v = g_nFileVersion;
  // A list that the file's version did not have keeps its content.
  if (!f.ReadValueList(m_vCarryFlags)) return false;
  if (v >= 501 && !f.ReadValueList(m_vResetFlags)) return false;
  if (!LoadRecordList(f, m_vStatusItems)) return false;
  if (!f.ReadValueList(m_vStartLives)) return false;
  if (v >= 191 && !f.ReadValueList(m_vInfiniteLives)) return false;
  if (v >= 186 && !LoadRecordList(f, m_vRanking)) return false;
  if (!f.ReadStringList(m_vTexts)) return false;
  if (!f.ReadStringList(m_vSoundFiles)) return false;
  if (!f.ReadValueList(m_vSystemBgm)) return false;
  if (v >= 202 && !f.ReadValueList(m_vSystemBgmLoop)) return false;
  if (!LoadRecordList(f, m_vTitleItems)) return false;
  if (!LoadRecordList(f, m_vStoryMenuItems)) return false;
  if (!LoadRecordList(f, m_vOptionItems)) return false;
  if (!LoadRecordList(f, m_vIniKeys)) return false;
  if (v < DATA_VERSION) Upgrade();
  Validate();
  return !f.Failed();
}

// Brings a record read from an older file to the current layout. Each step
// applies to files older than its version, in version order; list entries
// added by a version are put at their place so that later entries keep
// their meaning.
void cSystemData::Upgrade() {
  const std::uint32_t v = g_nFileVersion;
  if (v < 113) m_bKeepTestFlows = 0;
  if (v < 157) m_bTitlePicture = 0;
  if (v < 167) m_bMapShowBest = m_bStoryMenuShowTotal = m_bSelectShowBest = m_bSelectShowTotal = 1;
  if (v < 168) {
    m_vCarryFlags.resize(kCarryGroups);
    OpenSlot(m_vCarryFlags, 16);
    CheckedAt(m_vCarryFlags, 16) = 1;
  }
  if (v < 169) {
    m_vStoryMenuItems.resize(kStoryMenuItems);
    OpenSlot(m_vStoryMenuItems, 1);
    CheckedAt(m_vStoryMenuItems, 1).m_bEnabled = 1;
    CheckedAt(m_vStoryMenuItems, 1).m_strText = "オートセーブ";
    m_vTexts.resize(kTexts);
    for (const char* text : {"保存先が不明です！一度は「セーブ」して下さい！", "オートセーブＯＦＦ", "オートセーブＯＮ"}) {
      OpenSlot(m_vTexts, 12);
      CheckedAt(m_vTexts, 12) = text;
    }
  }
  if (v < 170) m_bHudCenterChars = 0;
  if (v < 181) {
    for (int mode = 0; mode < kPlayModes && mode < static_cast<int>(m_vRanking.size()); ++mode) {
      std::vector<std::uint8_t>& kinds = m_vRanking[static_cast<std::size_t>(mode)].m_vKinds;
      kinds.resize(cEdFlagSet::kKindCount);
      kinds[3] = kinds[4] = 0;
    }
    m_vTexts.resize(kTexts);
    OpenSlot(m_vTexts, 8);
    CheckedAt(m_vTexts, 8) = "残りHP";
    OpenSlot(m_vTexts, 9);
    CheckedAt(m_vTexts, 9) = "残りSP";
  }
  if (v < 184) m_bRecordReplay = 1;
  if (v < 185) m_bExtraLifeByScore = 1;
  if (v < 187) {
    m_bFullColour = 0;
    m_nTransR = 0;
    m_nTransG = 177;
    m_nTransB = 0;
  }
  if (v < 188) m_bStoryRestoreVars = m_bChallengeRestoreVars = m_bFreeRestoreVars = 1;
  if (v < 191) {
    m_vInfiniteLives = {0, 0, 0, 1};
    m_bStoryContinue = 0;
    m_bMapShowLives = 0;
  }
  if (v < 192) m_bDirectRestoreVars = 1;
  if (v < 193) {
    m_vTexts.resize(kTexts);
    OpenSlot(m_vTexts, 22);
    CheckedAt(m_vTexts, 22) = "リトライ";
    OpenSlot(m_vTexts, 23);
    CheckedAt(m_vTexts, 23) = "マップへ戻る";
  }
  if (v < 201) {
    m_vCarryFlags.resize(kCarryGroups);
    OpenSlot(m_vCarryFlags, 14);
    CheckedAt(m_vCarryFlags, 14) = 0;
  }
  if (v < 202) m_vSystemBgmLoop = {1, 1, 1, 1};
  if (v < 205) m_nFontFace = 60;
  if (v < 210) {
    m_vCarryFlags.resize(kCarryGroups);
    OpenSlot(m_vCarryFlags, 9);
    CheckedAt(m_vCarryFlags, 9) = 0;
  }
  if (v < 214) m_bNoScrollCarry = 1;
  if (v < 224) m_bStoryPauseRetry = m_bChallengePauseRetry = 0;
  if (v < 261) m_nScaleAnchor = 1;
  if (v < 272) m_bKeepDeadCharas = 0;
  if (v < 286) {
    m_vIniKeys.resize(kIniKeys);
    OpenSlot(m_vIniKeys, 0);
    CheckedAt(m_vIniKeys, 0).SetInt("Direct3D", 1);
    // VSync 3 and above no longer exist.
    if (CheckedAt(m_vIniKeys, 3).m_nValue >= 3) CheckedAt(m_vIniKeys, 3).m_nValue = 2;
  }
  if (v < 287) m_bColourChange = 0;
  if (v < 289) m_bPaletteCycle = m_bFullColour == 0 ? 1 : 0;
  if (v < 501) m_vResetFlags.assign(kCarryGroups, 0);
  if (v < 515) m_nCycleStep = 16;
  if (v < 525) m_bMultiStart = 1;
  if (v < 555) m_bLightningNoSpacing = 1;
}

void cSystemData::Save(cDataWriter& f) {
  Validate();
  cEdRecord::Save(f);
  f.WriteValueList(m_vCarryFlags);
  f.WriteValueList(m_vResetFlags);
  SaveRecordList(f, m_vStatusItems);
  f.WriteValueList(m_vStartLives);
  f.WriteValueList(m_vInfiniteLives);
  SaveRecordList(f, m_vRanking);
  f.WriteStringList(m_vTexts);
  f.WriteStringList(m_vSoundFiles);
  f.WriteValueList(m_vSystemBgm);
  f.WriteValueList(m_vSystemBgmLoop);
  SaveRecordList(f, m_vTitleItems);
  SaveRecordList(f, m_vStoryMenuItems);
  SaveRecordList(f, m_vOptionItems);
  SaveRecordList(f, m_vIniKeys);
}

void cSystemData::VisitTail(cRecordVisitor& v) {
  VisitValueList(v, "m_vCarryFlags", m_vCarryFlags);
  VisitValueList(v, "m_vResetFlags", m_vResetFlags);
  VisitRecordList(v, "m_vStatusItems", m_vStatusItems);
  VisitValueList(v, "m_vStartLives", m_vStartLives);
  VisitValueList(v, "m_vInfiniteLives", m_vInfiniteLives);
  VisitRecordList(v, "m_vRanking", m_vRanking);
  VisitStringList(v, "m_vTexts", m_vTexts);
  VisitStringList(v, "m_vSoundFiles", m_vSoundFiles);
  VisitValueList(v, "m_vSystemBgm", m_vSystemBgm);
  VisitValueList(v, "m_vSystemBgmLoop", m_vSystemBgmLoop);
  VisitRecordList(v, "m_vTitleItems", m_vTitleItems);
  VisitRecordList(v, "m_vStoryMenuItems", m_vStoryMenuItems);
  VisitRecordList(v, "m_vOptionItems", m_vOptionItems);
  VisitRecordList(v, "m_vIniKeys", m_vIniKeys);
}

void cSystemData::Validate() {
  const std::optional<std::size_t> bgmCount = DefinitionContext().DatabaseListSize(eDatabaseList::Bgm);
  for (std::int32_t& entry : m_vSystemBgm) {
    if (IndexOutOfRange(entry, bgmCount)) entry = 0;
  }
  // The challenge progress keeps one record per stage.
  m_nChallengeStages = std::clamp(m_nChallengeStages, 0, kMaxChallengeStages);
  // Readers index these lists by group, play mode, text, sound, scene and
  // menu row; a damaged file with shorter lists gets default entries.
  PadList(m_vCarryFlags, kCarryGroups);
  PadList(m_vResetFlags, kCarryGroups);
  PadList(m_vStatusItems, kStatusItems);
  PadList(m_vStartLives, kPlayModes);
  PadList(m_vInfiniteLives, kPlayModes);
  PadList(m_vRanking, kPlayModes);
  for (cEdFlagSet& rule : m_vRanking) PadList(rule.m_vKinds, cEdFlagSet::kKindCount);
  PadList(m_vTexts, kTexts);
  PadList(m_vSoundFiles, kSystemSounds);
  PadList(m_vSystemBgm, kSceneMusicSlots);
  PadList(m_vSystemBgmLoop, kSceneMusicSlots);
  PadList(m_vTitleItems, kTitleItems);
  PadList(m_vStoryMenuItems, kStoryMenuItems);
  PadList(m_vOptionItems, kOptionItems);
  PadList(m_vIniKeys, kIniKeys);
}

int cSystemData::CountRankingKinds(int nPlayMode) const {
  const cEdFlagSet& rule = CheckedAt(m_vRanking, nPlayMode);
  if (rule.m_bEnabled == 0) return 0;
  return static_cast<int>(std::count_if(rule.m_vKinds.begin(), rule.m_vKinds.end(),
                                        [](std::uint8_t kind) { return kind != 0; }));
}

const char* cSystemData::FontFaceName() const { return FontFaceNameAt(m_nFontFace); }
