// The content of a new settings record: what a project without System.dat
// gets, and what an older System.dat keeps for everything it lacks.
#include <array>

#include "base/checked_access.h"
#include "model/settings/font_faces.h"
#include "model/settings/system_data.h"

namespace {

// Status groups carried from stage to stage in a new project: graphic,
// animation set, maximum HP and SP, power, impact, impact resistance, stop
// and flows.
constexpr std::array<int, 9> kCarriedGroups = {0, 1, 13, 14, 16, 17, 19, 20, 21};
// HP and SP are forgotten when the hero dies.
constexpr std::array<int, 2> kResetGroups = {11, 12};

struct cStatusItemDefault {
  int digits;
  const char* label;
};
constexpr std::array<cStatusItemDefault, cSystemData::kStatusItems> kStatusItemDefaults = {{
    {4, "スコア"},  // total score of the play
    {3, "スコア"},  // score of the stage
    {0, "HP"},      // HP gauge
    {0, "SP"},      // SP gauge
    {2, "人"},      // lives
}};

constexpr std::array<const char*, cSystemData::kTitleItems> kTitleTexts = {
    "はじめから", "つづきから", "チャレンジ", "フリー", "リプレイ", "オプション", "しゅうりょう",
};
constexpr std::array<const char*, cSystemData::kStoryMenuItems> kStoryMenuTexts = {
    "セーブ", "オートセーブ", "もどる", "タイトルへ",
};
constexpr std::array<const char*, cSystemData::kOptionItems> kOptionTexts = {
    "BGM", "SE", "ランキング登録", "ランキング登録名", "もどる",
};

constexpr std::array<const char*, cSystemData::kTexts> kMessageTexts = {
    "ワールド",
    "ステージ",
    "スコア",          // world map: best score of the stage
    "ハイスコア",      // stage select: best-total column
    "トータルスコア",  // sum of the stored bests
    "スコア",          // ranking kinds 0 to 4 and the result panel
    "残り時間",
    "クリア時間",
    "残りHP",
    "残りSP",
    "ステージに挑む",  // world map stage prompt
    "やっぱりやめる",
    "セーブする",  // save-to-slot prompt
    "やっぱりやめる",
    "オートセーブＯＮ",  // auto-save prompt
    "オートセーブＯＦＦ",
    "保存先が不明です！一度は「セーブ」して下さい！",
    "タイトルへ戻る",  // back-to-title prompt
    "やっぱりやめる",
    "しゅうりょう",  // pause menu
    "つづける",
    "リトライ",
    "リトライ",  // continue menu
    "マップへ戻る",
    "Vキーでジャンルの切り替え",  // ranking display
    "スペースキーでタイトルへ戻る",  // game over
    "スペースキーで終了",            // game over of a directly started stage
    "F3キーでランキングへ登録",      // result screen, manual registration
};

void SetMenuTexts(std::vector<cEdMenuItem>& items, const auto& texts) {
  items.resize(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) items[i].m_strText = texts[i];
}

}  // namespace

void cSystemData::SetDefaults() {
  Clear();
  m_nExtraLifeScore = 100;
  m_bHideFieldOnPause = 1;
  m_nFontFace = kDefaultFontFace;
  m_bRecordReplay = 1;
  m_bTitlePicture = 1;
  m_bStoryRestoreVars = m_bChallengeRestoreVars = m_bFreeRestoreVars = 1;
  m_bStoryPauseRetry = m_bChallengePauseRetry = 1;
  m_nCycleStep = 16;

  m_vCarryFlags.resize(kCarryGroups);
  for (int group : kCarriedGroups) CheckedAt(m_vCarryFlags, group) = 1;
  m_vResetFlags.assign(kCarryGroups, 0);
  for (int group : kResetGroups) CheckedAt(m_vResetFlags, group) = 1;

  m_vStatusItems.resize(kStatusItems);
  for (std::size_t i = 0; i < kStatusItemDefaults.size(); ++i) {
    cEdStatusItem& item = m_vStatusItems[i];
    item.m_bShow = 1;
    item.m_bIcon = 1;
    item.m_nDigits = kStatusItemDefaults[i].digits;
    item.m_strLabel = kStatusItemDefaults[i].label;
  }

  // Rankings in story, challenge and free stages, every kind; none in replays.
  m_vRanking.resize(kPlayModes);
  for (int mode = 0; mode < kPlayModes; ++mode) {
    cEdFlagSet& rule = m_vRanking[static_cast<std::size_t>(mode)];
    const std::uint8_t on = mode == PLAY_REPLAY ? 0 : 1;
    rule.m_bEnabled = on;
    rule.m_vKinds.assign(cEdFlagSet::kKindCount, on);
  }

  SetMenuTexts(m_vTitleItems, kTitleTexts);
  SetMenuTexts(m_vStoryMenuItems, kStoryMenuTexts);
  SetMenuTexts(m_vOptionItems, kOptionTexts);

  m_bKeepLives = m_bStoryContinue = m_bMapShowLives = 1;
  m_nChallengeStages = 40;
  m_bChallengeAllOpen = 1;
  m_vStartLives = {5, 5, 5, 99};
  m_vInfiniteLives = {1, 1, 1, 1};
  m_bMapShowBest = m_bStoryMenuShowTotal = m_bSelectShowBest = m_bSelectShowTotal = 1;

  m_vTexts.assign(kMessageTexts.begin(), kMessageTexts.end());
  m_vSoundFiles.assign(kSystemSounds, std::string());

  m_vSystemBgm.assign(kSceneMusicSlots, 0);
  m_vSystemBgmLoop.assign(kSceneMusicSlots, 1);

  m_vIniKeys.resize(kIniKeys);
  CheckedAt(m_vIniKeys, 0).SetInt("Direct3D", 2);
  CheckedAt(m_vIniKeys, 1).SetInt("WindowMode", 0);
  CheckedAt(m_vIniKeys, 2).SetInt("Bpp", 0);
  CheckedAt(m_vIniKeys, 3).SetInt("VSync", 2);
  CheckedAt(m_vIniKeys, 4).SetInt("ShowFps", 1);
  CheckedAt(m_vIniKeys, 5).SetText("FreeStage", "");
}
