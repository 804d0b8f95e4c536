// The project-wide game settings, data\System.dat.
//
// cSystemData holds the game title, the texts of the menus and result
// screens, the status bar items, the life and ranking rules per play mode,
// the status groups the hero carries between stages, the system sounds and
// scene music, the font, the colour mode and the System.ini keys with their
// defaults. g_SystemData is built with the defaults (SetDefaults, in
// system_defaults.cpp) and read once at start-up; the player never writes it
// (Save exists so that the format can be produced and checked).
//
// File: the record's fields and the string m_strTitle, then fourteen lists
// in the order of the members below; members and lists that a data version
// did not yet have are absent from its files and keep their values, and the
// upgrades of Load bring an older file to the current layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/record/record.h"

// Play modes, the index of the per-mode lists.
enum ePlayMode { PLAY_STORY = 0, PLAY_CHALLENGE = 1, PLAY_FREESTAGE = 2, PLAY_REPLAY = 3 };

// The title menu items, the index of m_vTitleItems.
enum eTitleItem {
  TITLE_NEWGAME = 0,
  TITLE_CONTINUE = 1,
  TITLE_CHALLENGE = 2,
  TITLE_STAGEFILE = 3,
  TITLE_REPLAY = 4,
  TITLE_OPTION = 5,
  TITLE_QUIT = 6,
};

// One status bar item: 0 total score, 1 stage score, 2 HP gauge, 3 SP gauge,
// 4 lives.
class cEdStatusItem : public cEdRecordOf<cEdStatusItem> {
 public:
  cEdStatusItem() { Clear(); }
  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;

  std::int32_t m_bShow = 0;
  // A 16 x 16 icon stands before the value instead of the label.
  std::int32_t m_bIcon = 0;
  // Room for the value in 16-pixel characters (the gauges are 50 pixels).
  std::int32_t m_nDigits = 0;
  // Gauges: the number is drawn over the gauge.
  std::int32_t m_bShowValue = 0;
  std::string m_strLabel;
};

// One menu entry; a new entry is offered and has no text.
class cEdMenuItem : public cEdRecordOf<cEdMenuItem> {
 public:
  cEdMenuItem() {
    Clear();
    m_bEnabled = 1;
  }
  void DeclareFields(int nVersion) override;

  std::int32_t m_bEnabled = 1;
  std::string m_strText;
};

// The ranking rule of one play mode: whether rankings are kept, and which of
// the five kinds (0 score, 1 time left, 2 clear time, 3 HP left, 4 SP left).
// The kind flags follow the record as a byte list.
class cEdFlagSet : public cEdRecordOf<cEdFlagSet> {
 public:
  static constexpr int kKindCount = 5;

  cEdFlagSet() {
    Clear();
    m_vKinds.assign(kKindCount, 0);
  }
  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;

  std::int32_t m_bEnabled = 0;
  std::vector<std::uint8_t> m_vKinds;
};

// One System.ini key with the project's default: kind 0 an integer key
// (m_nValue), kind 1 a text key (m_strValue).
class cEdIniKey : public cEdRecordOf<cEdIniKey> {
 public:
  cEdIniKey() { Clear(); }
  void DeclareFields(int nVersion) override;

  void SetInt(const std::string& key, int value);
  void SetText(const std::string& key, const std::string& value);

  std::int32_t m_nKind = 0;
  std::int32_t m_nValue = 0;
  std::string m_strKey;
  std::string m_strValue;
};

class cSystemData : public cEdRecordOf<cSystemData> {
 public:
  // The lengths of the lists in the current layout.
  static constexpr int kCarryGroups = 25;
  static constexpr int kStatusItems = 5;
  static constexpr int kPlayModes = 4;
  static constexpr int kTexts = 28;
  static constexpr int kSystemSounds = 17;
  static constexpr int kSceneMusicSlots = 4;
  static constexpr int kTitleItems = 7;
  static constexpr int kStoryMenuItems = 4;
  static constexpr int kOptionItems = 5;
  static constexpr int kIniKeys = 6;
  // The challenge stages are numbered files; more than this is a damaged count.
  static constexpr int kMaxChallengeStages = 999;

  cSystemData();

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;

  // The content of a new record (system_defaults.cpp).
  void SetDefaults();
  // Repairs what later code uses as an index: scene music naming no Bgm.dat
  // entry becomes 0 (no music), the challenge stage count is kept within
  // 0..kMaxChallengeStages, and lists shorter than the current layout get
  // default entries.
  void Validate();
  // 0 when rankings are off in the play mode, else the number of kinds kept.
  int CountRankingKinds(int nPlayMode) const;
  // The face name of the game fonts (entry 60 for an index outside the table).
  const char* FontFaceName() const;

  // Fields, in file order.
  std::int32_t m_bExtraLifeByScore = 0;
  std::int32_t m_nExtraLifeScore = 0;
  std::int32_t m_bHideFieldOnPause = 0;
  std::int32_t m_bHudSymbols = 0;
  std::int32_t m_nFontFace = 0;
  std::int32_t m_bHudCenterChars = 0;
  std::int32_t m_bKeepTestFlows = 0;
  std::int32_t m_bRecordReplay = 0;
  std::int32_t m_bTitlePicture = 0;
  std::int32_t m_bKeepLives = 0;
  std::int32_t m_bStoryContinue = 0;
  std::int32_t m_bMapShowLives = 0;
  std::int32_t m_nChallengeStages = 0;
  std::int32_t m_bChallengeAllOpen = 0;
  std::int32_t m_bMapShowBest = 0;
  std::int32_t m_bStoryMenuShowTotal = 0;
  std::int32_t m_bStoryRestoreVars = 0;
  std::int32_t m_bStoryPauseRetry = 0;
  std::int32_t m_bSelectShowBest = 0;
  std::int32_t m_bSelectShowTotal = 0;
  std::int32_t m_bChallengeRestoreVars = 0;
  std::int32_t m_bChallengePauseRetry = 0;
  std::int32_t m_bFreeRestoreVars = 0;
  std::int32_t m_bDirectRestoreVars = 0;
  std::int32_t m_bFullColour = 0;
  // The transparent colour of full-colour mode.
  std::uint8_t m_nTransR = 0;
  std::uint8_t m_nTransG = 0;
  std::uint8_t m_nTransB = 0;
  std::int32_t m_bNoScrollCarry = 0;
  std::int32_t m_nScaleAnchor = 0;
  std::int32_t m_bKeepDeadCharas = 0;
  std::int32_t m_bColourChange = 0;
  std::int32_t m_nCycleStep = 0;
  std::int32_t m_bPaletteCycle = 0;
  std::int32_t m_bMultiStart = 0;
  std::int32_t m_bLightningNoSpacing = 0;

  std::string m_strTitle;

  // The lists, in file order.
  std::vector<std::uint8_t> m_vCarryFlags;     // entry k = 1: status group k is carried
  std::vector<std::uint8_t> m_vResetFlags;     // entry k = 1: a death forgets carried group k
  std::vector<cEdStatusItem> m_vStatusItems;
  std::vector<std::int32_t> m_vStartLives;     // per play mode
  std::vector<std::int32_t> m_vInfiniteLives;  // per play mode
  std::vector<cEdFlagSet> m_vRanking;          // per play mode
  std::vector<std::string> m_vTexts;           // message texts
  std::vector<std::string> m_vSoundFiles;      // system sound k
  std::vector<std::int32_t> m_vSystemBgm;      // Bgm.dat entry: title, map, select, options
  std::vector<std::uint8_t> m_vSystemBgmLoop;
  std::vector<cEdMenuItem> m_vTitleItems;      // index eTitleItem
  std::vector<cEdMenuItem> m_vStoryMenuItems;  // save, auto-save, back, to the title
  std::vector<cEdMenuItem> m_vOptionItems;     // text of options row k
  std::vector<cEdIniKey> m_vIniKeys;

 private:
  void Upgrade();
};

extern cSystemData g_SystemData;
