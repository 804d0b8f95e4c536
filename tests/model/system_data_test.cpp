// The settings record: defaults of a new project, the layouts of older data
// versions with their upgrades, validation and damaged files.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/definitions/definition_context.h"
#include "model/settings/font_faces.h"
#include "model/settings/system_data.h"
#include "support/field_table_size.h"
#include "support/byte_builder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// "83 58 83 52" -> the bytes as a string.
std::string Sjis(const char* hex) {
  std::string out;
  for (const char* p = hex; *p != '\0';) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    out += static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16));
    p += 2;
  }
  return out;
}

// Every field of the file, in file order: first and last version that store
// it, width, the value of a new record and the value that a file lacking it
// gets (kFromFullColour: 1 when the file is in palette mode, else 0).
constexpr int kFromFullColour = -1;
struct cFieldRow {
  const char* name;  // null: the int32 that versions 221 to 259 stored
  int from;
  int until;  // first version without it; 0: still stored
  int size;
  int newValue;
  int older;
};
constexpr cFieldRow kFieldRows[] = {
    {"m_bExtraLifeByScore", 185, 0, 4, 0, 1},
    {"m_nExtraLifeScore", 0, 0, 4, 100, 0},
    {"m_bHideFieldOnPause", 0, 0, 4, 1, 0},
    {"m_bHudSymbols", 0, 0, 4, 0, 0},
    {"m_nFontFace", 205, 0, 4, 60, 60},
    {"m_bHudCenterChars", 170, 0, 4, 0, 0},
    {"m_bKeepTestFlows", 113, 0, 4, 0, 0},
    {"m_bRecordReplay", 184, 0, 4, 1, 1},
    {"m_bTitlePicture", 157, 0, 4, 1, 0},
    {"m_bKeepLives", 0, 0, 4, 1, 0},
    {"m_bStoryContinue", 191, 0, 4, 1, 0},
    {"m_bMapShowLives", 191, 0, 4, 1, 0},
    {"m_nChallengeStages", 0, 0, 4, 40, 0},
    {"m_bChallengeAllOpen", 0, 0, 4, 1, 0},
    {"m_bMapShowBest", 167, 0, 4, 1, 1},
    {"m_bStoryMenuShowTotal", 167, 0, 4, 1, 1},
    {"m_bStoryRestoreVars", 188, 0, 4, 1, 1},
    {"m_bStoryPauseRetry", 224, 0, 4, 1, 0},
    {"m_bSelectShowBest", 167, 0, 4, 1, 1},
    {"m_bSelectShowTotal", 167, 0, 4, 1, 1},
    {"m_bChallengeRestoreVars", 188, 0, 4, 1, 1},
    {"m_bChallengePauseRetry", 224, 0, 4, 1, 0},
    {"m_bFreeRestoreVars", 188, 0, 4, 1, 1},
    {"m_bDirectRestoreVars", 192, 0, 4, 0, 1},
    {"m_bFullColour", 187, 0, 4, 0, 0},
    {"m_nTransR", 187, 0, 1, 0, 0},
    {"m_nTransG", 187, 0, 1, 0, 177},
    {"m_nTransB", 187, 0, 1, 0, 0},
    {nullptr, 221, 260, 4, 0, 0},
    {"m_bNoScrollCarry", 214, 0, 4, 0, 1},
    {"m_nScaleAnchor", 261, 0, 4, 0, 1},
    {"m_bKeepDeadCharas", 272, 0, 4, 0, 0},
    {"m_bColourChange", 287, 0, 4, 0, 0},
    {"m_nCycleStep", 515, 0, 4, 16, 16},
    {"m_bPaletteCycle", 289, 0, 4, 0, kFromFullColour},
    {"m_bMultiStart", 525, 0, 4, 0, 1},
    {"m_bLightningNoSpacing", 555, 0, 4, 0, 1},
};

bool Stored(const cFieldRow& row, int version) {
  return row.from <= version && (row.until == 0 || version < row.until);
}

// The value that a test file stores in a field: its row number plus 2, so
// that a field read from the wrong place shows.
int FileValue(std::size_t row) { return static_cast<int>(row) + 2; }
constexpr std::int32_t kDroppedValue = 0x7777;

std::int64_t FieldValue(cSystemData& record, const char* name) {
  for (const cEdField& field : record.FieldTable(DATA_VERSION)) {
    if (field.address == nullptr || std::strcmp(field.name, name) != 0) continue;
    if (field.size == 1) return *static_cast<const std::uint8_t*>(field.address);
    std::int32_t value;
    std::memcpy(&value, field.address, 4);
    return value;
  }
  ADD_FAILURE() << "no field " << name;
  return 0;
}

std::vector<std::string> Names(const char* prefix, int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(std::string(prefix).append(std::to_string(i)));
  return names;
}

struct cMenuEntry {
  int enabled;
  std::string text;
  bool operator==(const cMenuEntry&) const = default;
};

struct cIniKeyValues {
  int kind;
  int value;
  std::string key;
  std::string text;
  bool operator==(const cIniKeyValues&) const = default;
};

std::vector<cMenuEntry> MenuOf(const std::vector<cEdMenuItem>& items) {
  std::vector<cMenuEntry> out;
  for (const cEdMenuItem& item : items) out.push_back({item.m_bEnabled, item.m_strText});
  return out;
}

std::vector<cIniKeyValues> KeysOf(const std::vector<cEdIniKey>& keys) {
  std::vector<cIniKeyValues> out;
  for (const cEdIniKey& key : keys) out.push_back({key.m_nKind, key.m_nValue, key.m_strKey, key.m_strValue});
  return out;
}

std::vector<std::pair<int, Bytes>> RankingOf(const std::vector<cEdFlagSet>& rules) {
  std::vector<std::pair<int, Bytes>> out;
  for (const cEdFlagSet& rule : rules) out.emplace_back(rule.m_bEnabled, rule.m_vKinds);
  return out;
}

// The ranking rules stored by files that have them: mode m is on when m is
// odd, kind k is on when m + k is odd.
std::vector<std::pair<int, Bytes>> StoredRanking() {
  std::vector<std::pair<int, Bytes>> rules;
  for (int m = 0; m < 4; ++m) {
    Bytes kinds;
    for (int k = 0; k < 5; ++k) kinds.push_back(static_cast<std::uint8_t>((m + k) % 2));
    rules.emplace_back(m % 2, kinds);
  }
  return rules;
}

const Bytes kStoredResetFlags = {0, 1, 0, 1, 1, 0, 0, 1, 0, 1, 1, 0, 0, 1, 0, 1, 1, 0, 0, 1, 0, 1, 1, 0, 1};
const std::vector<std::string> kStoredSounds = Names("se", 17);
const std::vector<std::int32_t> kStoredStartLives = {3, 4, 5, 6};
const std::vector<std::int32_t> kStoredInfiniteLives = {0, 1, 0, 1};
const std::vector<std::int32_t> kStoredBgm = {0, 1, 2, 3};
const Bytes kStoredBgmLoop = {1, 0, 1, 0};
const std::vector<cMenuEntry> kStoredTitleItems = {{1, "a"}, {0, "b"}, {1, "c"}, {1, "d"},
                                                   {1, "e"}, {1, "f"}, {0, "g"}};
const std::vector<cMenuEntry> kStoredOptionItems = {{1, "o0"}, {1, "o1"}, {0, "o2"},
                                                    {1, "o3"}, {1, "o4"}, {1, "o5"}};
// The keys of files older than 286, which had no "Direct3D" key.
const std::vector<cIniKeyValues> kStoredKeysAfterDirect3D = {
    {0, 1, "WindowMode", ""}, {0, 16, "Bpp", ""}, {0, -1, "VSync", ""},
    {0, 0, "ShowFps", ""},    {1, 0, "FreeStage", "c01-1.stg4"}};

// What a test file holds in its lists; each list is written only by the
// versions that have it.
struct cFileLists {
  Bytes carry;
  std::vector<std::string> texts;
  std::vector<cMenuEntry> storyItems;
  int vsync = 1;
  std::string title = "Old game";
  std::vector<std::int32_t> bgm = kStoredBgm;
  std::vector<std::pair<int, Bytes>> ranking = StoredRanking();
  std::optional<std::int32_t> challengeStages = std::nullopt;  // else the field's test value
  bool iniKeys = true;
};

void WriteMenu(ByteBuilder& b, const std::vector<cMenuEntry>& items) {
  b.U32(static_cast<std::uint32_t>(items.size()));
  for (const cMenuEntry& item : items) b.Ints({item.enabled}).Strings({item.text});
}

void WriteTexts(ByteBuilder& b, const std::vector<std::string>& texts) {
  b.U32(static_cast<std::uint32_t>(texts.size()));
  for (const std::string& text : texts) b.Str(text);
}

void WriteInts(ByteBuilder& b, const std::vector<std::int32_t>& values) {
  b.U32(static_cast<std::uint32_t>(values.size()));
  for (std::int32_t v : values) b.I32(v);
}

void WriteBytes(ByteBuilder& b, const Bytes& values) {
  b.U32(static_cast<std::uint32_t>(values.size()));
  b.Bytes(values);
}

// A System.dat image of an older version, written field by field.
Bytes OldSettingsFile(int version, const cFileLists& lists) {
  ByteBuilder b;
  b.U32(static_cast<std::uint32_t>(version));
  std::uint32_t fields = 0;
  for (const cFieldRow& row : kFieldRows) fields += Stored(row, version) ? 1 : 0;
  b.U32(fields);
  for (std::size_t i = 0; i < std::size(kFieldRows); ++i) {
    const cFieldRow& row = kFieldRows[i];
    if (!Stored(row, version)) continue;
    if (row.name == nullptr) {
      b.I32(kDroppedValue);
    } else if (lists.challengeStages && std::strcmp(row.name, "m_nChallengeStages") == 0) {
      b.I32(*lists.challengeStages);
    } else if (row.size == 1) {
      b.U8(static_cast<std::uint8_t>(FileValue(i)));
    } else {
      b.I32(FileValue(i));
    }
  }
  b.Strings({lists.title});

  WriteBytes(b, lists.carry);
  if (version >= 501) WriteBytes(b, kStoredResetFlags);
  b.U32(5);
  for (int k = 0; k < 5; ++k) {
    if (version >= 204) {
      b.Ints({k % 2, 1, k + 1, 0});
    } else {
      b.Ints({k % 2, 1, k + 1});
    }
    b.Strings({"L" + std::to_string(k)});
  }
  WriteInts(b, kStoredStartLives);
  if (version >= 191) WriteInts(b, kStoredInfiniteLives);
  if (version >= 186) {
    b.U32(static_cast<std::uint32_t>(lists.ranking.size()));
    for (const auto& [enabled, kinds] : lists.ranking) {
      b.Ints({enabled}).Strings({});
      WriteBytes(b, kinds);
    }
  }
  WriteTexts(b, lists.texts);
  WriteTexts(b, kStoredSounds);
  WriteInts(b, lists.bgm);
  if (version >= 202) WriteBytes(b, kStoredBgmLoop);
  WriteMenu(b, kStoredTitleItems);
  WriteMenu(b, lists.storyItems);
  WriteMenu(b, kStoredOptionItems);
  std::vector<cIniKeyValues> keys = kStoredKeysAfterDirect3D;
  keys[2].value = lists.vsync;
  if (version >= 286) keys.insert(keys.begin(), cIniKeyValues{0, 2, "Direct3D", ""});
  if (!lists.iniKeys) keys.clear();
  b.U32(static_cast<std::uint32_t>(keys.size()));
  for (const cIniKeyValues& key : keys) b.Ints({key.kind, key.value}).Strings({key.key, key.text});
  return b.Get();
}

// Every field of a record loaded from OldSettingsFile(version, ...): the
// file's value where the version stores the field, else the value for files
// that lack it; and the title after the fields.
void ExpectFieldsOfVersion(cSystemData& record, int version) {
  const std::int64_t fullColour = FieldValue(record, "m_bFullColour");
  for (std::size_t i = 0; i < std::size(kFieldRows); ++i) {
    const cFieldRow& row = kFieldRows[i];
    if (row.name == nullptr) continue;
    std::int64_t expected = Stored(row, version) ? FileValue(i) : row.older;
    if (expected == kFromFullColour) expected = fullColour == 0 ? 1 : 0;
    EXPECT_EQ(FieldValue(record, row.name), expected) << row.name;
  }
  EXPECT_EQ(record.m_strTitle, "Old game");
}

const std::vector<std::string> kDefaultTexts = {
    "ワールド",
    "ステージ",
    "スコア",
    "ハイスコア",
    "トータルスコア",
    "スコア",
    "残り時間",
    "クリア時間",
    "残りHP",
    "残りSP",
    "ステージに挑む",
    "やっぱりやめる",
    "セーブする",
    "やっぱりやめる",
    "オートセーブＯＮ",
    "オートセーブＯＦＦ",
    "保存先が不明です！一度は「セーブ」して下さい！",
    "タイトルへ戻る",
    "やっぱりやめる",
    "しゅうりょう",
    "つづける",
    "リトライ",
    "リトライ",
    "マップへ戻る",
    "Vキーでジャンルの切り替え",
    "スペースキーでタイトルへ戻る",
    "スペースキーで終了",
    "F3キーでランキングへ登録",
};

class SystemDataTest : public ::testing::Test {
 protected:
  void SetUp() override { g_nDataVersion = DATA_VERSION; }
  void TearDown() override { g_bConvertText = 0; }
};

// ---------------------------------------------------------------------------
// A new record

TEST_F(SystemDataTest, NewRecordHoldsTheDefaultScalars) {
  cSystemData record;
  for (const cFieldRow& row : kFieldRows) {
    if (row.name == nullptr) continue;
    EXPECT_EQ(FieldValue(record, row.name), row.newValue) << row.name;
  }
  EXPECT_EQ(record.m_strTitle, "");
}

TEST_F(SystemDataTest, NewRecordHoldsTheDefaultLists) {
  cSystemData record;
  EXPECT_EQ(record.m_vCarryFlags,
            (Bytes{1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 1, 0, 1, 1, 1, 0, 0, 0}));
  Bytes reset(25, 0);
  reset[11] = reset[12] = 1;
  EXPECT_EQ(record.m_vResetFlags, reset);

  ASSERT_EQ(record.m_vStatusItems.size(), 5u);
  const int digits[] = {4, 3, 0, 0, 2};
  const std::string labels[] = {Sjis("83 58 83 52 83 41"), "スコア", "HP", "SP", Sjis("90 6c")};
  for (int i = 0; i < 5; ++i) {
    const cEdStatusItem& item = record.m_vStatusItems[static_cast<std::size_t>(i)];
    EXPECT_EQ(item.m_bShow, 1);
    EXPECT_EQ(item.m_bIcon, 1);
    EXPECT_EQ(item.m_nDigits, digits[i]);
    EXPECT_EQ(item.m_bShowValue, 0);
    EXPECT_EQ(item.m_strLabel, labels[i]);
  }

  EXPECT_EQ(record.m_vStartLives, (std::vector<std::int32_t>{5, 5, 5, 99}));
  EXPECT_EQ(record.m_vInfiniteLives, (std::vector<std::int32_t>{1, 1, 1, 1}));
  const Bytes all(5, 1), none(5, 0);
  EXPECT_EQ(RankingOf(record.m_vRanking),
            (std::vector<std::pair<int, Bytes>>{{1, all}, {1, all}, {1, all}, {0, none}}));

  EXPECT_EQ(record.m_vTexts, kDefaultTexts);
  // The stored bytes are CP932.
  EXPECT_EQ(record.m_vTexts[8], Sjis("8e 63 82 e8 48 50"));
  EXPECT_EQ(record.m_vTexts[14], Sjis("83 49 81 5b 83 67 83 5a 81 5b 83 75 82 6e 82 6d"));
  EXPECT_EQ(record.m_vTexts[16],
            Sjis("95 db 91 b6 90 e6 82 aa 95 73 96 be 82 c5 82 b7 81 49 88 ea 93 78 82 cd 81 75 83 5a 81 5b "
                 "83 75 81 76 82 b5 82 c4 89 ba 82 b3 82 a2 81 49"));
  EXPECT_EQ(record.m_vSoundFiles, std::vector<std::string>(17));
  EXPECT_EQ(record.m_vSystemBgm, (std::vector<std::int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(record.m_vSystemBgmLoop, (Bytes{1, 1, 1, 1}));

  EXPECT_EQ(MenuOf(record.m_vTitleItems),
            (std::vector<cMenuEntry>{{1, "はじめから"},
                                     {1, "つづきから"},
                                     {1, "チャレンジ"},
                                     {1, "フリー"},
                                     {1, "リプレイ"},
                                     {1, "オプション"},
                                     {1, "しゅうりょう"}}));
  EXPECT_EQ(MenuOf(record.m_vStoryMenuItems),
            (std::vector<cMenuEntry>{{1, "セーブ"}, {1, "オートセーブ"}, {1, "もどる"}, {1, "タイトルへ"}}));
  EXPECT_EQ(MenuOf(record.m_vOptionItems),
            (std::vector<cMenuEntry>{
                {1, "BGM"}, {1, "SE"}, {1, "ランキング登録"}, {1, "ランキング登録名"}, {1, "もどる"}}));
  EXPECT_EQ(KeysOf(record.m_vIniKeys), (std::vector<cIniKeyValues>{{0, 2, "Direct3D", ""},
                                                                   {0, 0, "WindowMode", ""},
                                                                   {0, 0, "Bpp", ""},
                                                                   {0, 2, "VSync", ""},
                                                                   {0, 1, "ShowFps", ""},
                                                                   {1, 0, "FreeStage", ""}}));
}

TEST_F(SystemDataTest, TheGlobalRecordIsBuiltWithTheDefaults) {
  cSystemData fresh;
  EXPECT_EQ(g_SystemData.SaveBytes(), fresh.SaveBytes());
}

TEST_F(SystemDataTest, CountRankingKinds) {
  cSystemData record;
  EXPECT_EQ(record.CountRankingKinds(PLAY_STORY), 5);
  EXPECT_EQ(record.CountRankingKinds(PLAY_REPLAY), 0);
  record.m_vRanking[PLAY_CHALLENGE].m_vKinds = {1, 0, 1, 0, 1};
  EXPECT_EQ(record.CountRankingKinds(PLAY_CHALLENGE), 3);
  // Switched off, the kind flags do not count.
  record.m_vRanking[PLAY_CHALLENGE].m_bEnabled = 0;
  EXPECT_EQ(record.CountRankingKinds(PLAY_CHALLENGE), 0);
}

// ---------------------------------------------------------------------------
// Layouts of older versions

TEST_F(SystemDataTest, FieldTableOfEachVersion) {
  struct cCase {
    int version;
    std::size_t fields;
    std::size_t bytes;
  };
  const cCase cases[] = {{100, 6, 24}, {184, 14, 56}, {221, 28, 103}, {260, 29, 107}, {566, 36, 135}};
  cSystemData record;
  for (const cCase& c : cases) {
    const std::vector<cEdField>& table = record.FieldTable(c.version);
    EXPECT_EQ(table.size(), c.fields) << c.version;
    EXPECT_EQ(FieldByteCount(table), c.bytes) << c.version;
    EXPECT_EQ(record.StringTable(c.version).size(), 1u);
  }
}

struct cOldFileCase {
  int version;
  cFileLists file;
  Bytes carry;
  std::vector<std::string> texts;
  std::vector<cMenuEntry> storyItems;
  int vsync;
  int statusShowValue;
  std::vector<std::int32_t> infiniteLives;
  std::vector<std::pair<int, Bytes>> ranking;
  Bytes bgmLoop;
};

const std::vector<cMenuEntry> kStory4 = {{1, "s0"}, {0, "s1"}, {1, "s2"}, {1, "s3"}};
const std::vector<std::string> kCurrentTexts = Names("t", 28);
const Bytes kCarry25 = {9, 8, 7, 6, 5, 4, 3, 2, 1, 9, 8, 7, 6, 5, 4, 3, 2, 1, 9, 8, 7, 6, 5, 4, 3};

std::vector<std::pair<int, Bytes>> DefaultRanking(bool withoutHpAndSp) {
  const Bytes on = withoutHpAndSp ? Bytes{1, 1, 1, 0, 0} : Bytes(5, 1);
  return {{1, on}, {1, on}, {1, on}, {0, Bytes(5, 0)}};
}

std::vector<cOldFileCase> OldFileCases() {
  std::vector<cOldFileCase> cases;
  // 100: 22 carry groups, 21 texts, 3 story menu items, five ini keys.
  cases.push_back(cOldFileCase{
      100,
      {{10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31},
       Names("t", 21),
       {{1, "s0"}, {0, "s1"}, {1, "s2"}},
       1},
      // groups 16 (1), 14 (0) and 9 (0) put at their places
      {10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 19, 20, 21, 22, 23, 0, 24, 25, 1, 26, 27, 28, 29, 30, 31},
      {"t0",  "t1",  "t2",  "t3",  "t4",  "t5",  "t6",  "t7",
       "残りHP", "残りSP", "t8", "t9", "t10", "t11", "オートセーブＯＮ", "オートセーブＯＦＦ",
       "保存先が不明です！一度は「セーブ」して下さい！", "t12", "t13", "t14", "t15", "t16",
       "リトライ", "マップへ戻る", "t17", "t18", "t19", "t20"},
      {{1, "s0"}, {1, "オートセーブ"}, {0, "s1"}, {1, "s2"}},
      1,
      1,
      {0, 0, 0, 1},
      DefaultRanking(true),
      {1, 1, 1, 1}});
  // 184: 23 carry groups, 26 texts; the ranking rules are not in the file.
  cases.push_back(cOldFileCase{
      184,
      {{10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32},
       Names("t", 26),
       kStory4,
       4},
      {10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 19, 20, 21, 22, 23, 0, 24, 25, 26, 27, 28, 29, 30, 31, 32},
      {"t0",  "t1",  "t2",  "t3",  "t4",  "t5",  "t6",  "t7",  "t8",  "t9",
       "t10", "t11", "t12", "t13", "t14", "t15", "t16", "t17", "t18", "t19",
       "t20", "t21", "リトライ", "マップへ戻る", "t22", "t23", "t24", "t25"},
      kStory4,
      2,
      1,
      {0, 0, 0, 1},
      DefaultRanking(false),
      {1, 1, 1, 1}});
  // 221, 260 and 285 hold every list but the reset flags.
  for (const auto& [version, vsync, expectedVsync] : {std::tuple{221, 2, 2}, {260, 0, 0}, {285, 3, 2}}) {
    cases.push_back(cOldFileCase{version,
                                 {kCarry25, kCurrentTexts, kStory4, vsync},
                                 kCarry25,
                                 kCurrentTexts,
                                 kStory4,
                                 expectedVsync,
                                 0,
                                 kStoredInfiniteLives,
                                 StoredRanking(),
                                 kStoredBgmLoop});
  }
  return cases;
}

TEST_F(SystemDataTest, OlderFilesLoadIntoTheCurrentLayout) {
  for (const cOldFileCase& c : OldFileCases()) {
    SCOPED_TRACE("version " + std::to_string(c.version));
    cSystemData record;
    std::string error;
    ASSERT_TRUE(record.LoadBytes(OldSettingsFile(c.version, c.file), &error)) << error;

    ExpectFieldsOfVersion(record, c.version);

    EXPECT_EQ(record.m_vCarryFlags, c.carry);
    EXPECT_EQ(record.m_vResetFlags, Bytes(25, 0));
    ASSERT_EQ(record.m_vStatusItems.size(), 5u);
    for (int k = 0; k < 5; ++k) {
      const cEdStatusItem& item = record.m_vStatusItems[static_cast<std::size_t>(k)];
      EXPECT_EQ(item.m_bShow, k % 2);
      EXPECT_EQ(item.m_nDigits, k + 1);
      EXPECT_EQ(item.m_bShowValue, c.statusShowValue);
      EXPECT_EQ(item.m_strLabel, std::string("L").append(std::to_string(k)));
    }
    EXPECT_EQ(record.m_vStartLives, kStoredStartLives);
    EXPECT_EQ(record.m_vInfiniteLives, c.infiniteLives);
    EXPECT_EQ(RankingOf(record.m_vRanking), c.ranking);
    EXPECT_EQ(record.m_vTexts, c.texts);
    EXPECT_EQ(record.m_vSoundFiles, kStoredSounds);
    EXPECT_EQ(record.m_vSystemBgm, kStoredBgm);
    EXPECT_EQ(record.m_vSystemBgmLoop, c.bgmLoop);
    EXPECT_EQ(MenuOf(record.m_vTitleItems), kStoredTitleItems);
    EXPECT_EQ(MenuOf(record.m_vStoryMenuItems), c.storyItems);
    EXPECT_EQ(MenuOf(record.m_vOptionItems), kStoredOptionItems);

    std::vector<cIniKeyValues> keys = kStoredKeysAfterDirect3D;
    keys.insert(keys.begin(), cIniKeyValues{0, 1, "Direct3D", ""});
    keys[3].value = c.vsync;
    EXPECT_EQ(KeysOf(record.m_vIniKeys), keys);
  }
}

// Each version on either side of a step of the layout (a field or list that
// a version added, or an upgrade bound) reads its own layout: a field or list
// read at a wrong version would shift every later value of the file.
TEST_F(SystemDataTest, EveryVersionBoundaryReadsItsOwnLayout) {
  const int bounds[] = {113, 157, 167, 168, 169, 170, 181, 184, 185, 186, 187, 188, 191, 192, 193, 201, 202,
                        204, 205, 210, 214, 221, 224, 260, 261, 272, 286, 287, 289, 501, 515, 525, 555};
  for (int bound : bounds) {
    for (int version : {bound - 1, bound}) {
      SCOPED_TRACE("version " + std::to_string(version));
      cSystemData record;
      std::string error;
      ASSERT_TRUE(record.LoadBytes(OldSettingsFile(version, {kCarry25, kCurrentTexts, kStory4, 1}), &error))
          << error;
      ExpectFieldsOfVersion(record, version);

      EXPECT_EQ(record.m_vResetFlags, version >= 501 ? kStoredResetFlags : Bytes(25, 0));
      for (const cEdStatusItem& item : record.m_vStatusItems) EXPECT_EQ(item.m_bShowValue, version >= 204 ? 0 : 1);
      EXPECT_EQ(record.m_vStartLives, kStoredStartLives);
      const std::vector<std::int32_t> infiniteLivesOfOldFiles = {0, 0, 0, 1};
      EXPECT_EQ(record.m_vInfiniteLives, version >= 191 ? kStoredInfiniteLives : infiniteLivesOfOldFiles);
      EXPECT_EQ(RankingOf(record.m_vRanking), version >= 186 ? StoredRanking() : DefaultRanking(version < 181));
      EXPECT_EQ(record.m_vSoundFiles, kStoredSounds);
      EXPECT_EQ(record.m_vSystemBgm, kStoredBgm);
      EXPECT_EQ(record.m_vSystemBgmLoop, version >= 202 ? kStoredBgmLoop : Bytes(4, 1));
      EXPECT_EQ(MenuOf(record.m_vTitleItems), kStoredTitleItems);
      EXPECT_EQ(MenuOf(record.m_vOptionItems), kStoredOptionItems);
      std::vector<cIniKeyValues> keys = kStoredKeysAfterDirect3D;
      keys[2].value = 1;  // VSync
      keys.insert(keys.begin(), cIniKeyValues{0, version >= 286 ? 2 : 1, "Direct3D", ""});
      EXPECT_EQ(KeysOf(record.m_vIniKeys), keys);
    }
  }
}

TEST_F(SystemDataTest, ListStringsKeepCarriageReturnsWhereRecordStringsLoseThem) {
  g_bConvertText = 1;
  cFileLists lists{kCarry25, kCurrentTexts, kStory4, 2, "Old\r\ngame"};
  lists.texts[3] = "two\r\nlines";
  cSystemData record;
  ASSERT_TRUE(record.LoadBytes(OldSettingsFile(285, lists)));
  EXPECT_EQ(record.m_strTitle, "Old\ngame");
  EXPECT_EQ(record.m_vTexts[3], "two\r\nlines");
  EXPECT_EQ(record.m_vStoryMenuItems[0].m_strText, "s0");
}

// ---------------------------------------------------------------------------
// Saving, validation, damage

TEST_F(SystemDataTest, SaveLoadSaveGivesTheSameBytes) {
  cSystemData loaded;
  ASSERT_TRUE(loaded.LoadBytes(OldSettingsFile(285, {kCarry25, kCurrentTexts, kStory4, 3})));
  loaded.m_strTitle = "タイトル";
  loaded.m_nTransG = 200;
  loaded.m_bLightningNoSpacing = 0;
  for (cSystemData* record : {&g_SystemData, &loaded}) {
    const Bytes first = record->SaveBytes();
    cSystemData copy;
    copy.m_vTexts.clear();  // every list comes from the file
    copy.m_vIniKeys.clear();
    ASSERT_TRUE(copy.LoadBytes(first));
    EXPECT_EQ(copy.SaveBytes(), first);
  }
  // A file of the current version written by hand is what Save writes.
  const Bytes current = OldSettingsFile(DATA_VERSION, {kCarry25, kCurrentTexts, kStory4, 2});
  cSystemData fromCurrent;
  ASSERT_TRUE(fromCurrent.LoadBytes(current));
  EXPECT_EQ(fromCurrent.SaveBytes(), current);

  // The current layout: 36 fields of 135 bytes, then the title.
  const Bytes bytes = loaded.SaveBytes();
  ByteBuilder head;
  head.U32(DATA_VERSION).U32(36);
  EXPECT_TRUE(std::equal(head.Get().begin(), head.Get().end(), bytes.begin()));
  ByteBuilder title;
  title.Strings({"タイトル"});
  EXPECT_TRUE(std::equal(title.Get().begin(), title.Get().end(), bytes.begin() + 8 + 135));
}

class cBgmContext : public cDefinitionContext {
 public:
  std::optional<std::size_t> DatabaseListSize(eDatabaseList list) const override {
    if (list == eDatabaseList::Bgm) return 3;
    return std::nullopt;
  }
};

TEST_F(SystemDataTest, ValidationRepairsWhatIsUsedAsAnIndex) {
  struct cStages {
    int stored;
    int validated;
  };
  for (const cStages& stages : {cStages{40, 40}, {-5, 0}, {999, 999}, {1000000000, 999}}) {
    SCOPED_TRACE(stages.stored);
    // A file of this version with short lists and scene music beyond Bgm.dat.
    const Bytes file = OldSettingsFile(DATA_VERSION, {.carry = Bytes(10, 1),
                                                      .texts = Names("t", 3),
                                                      .storyItems = {},
                                                      .bgm = {0, 2, 3, -1},
                                                      .ranking = {},
                                                      .challengeStages = stages.stored,
                                                      .iniKeys = false});
    cSystemData loaded;
    // Without a database nothing is known about Bgm.dat.
    ASSERT_TRUE(loaded.LoadBytes(file));
    EXPECT_EQ(loaded.m_vSystemBgm, (std::vector<std::int32_t>{0, 2, 3, -1}));

    cBgmContext context;
    SetDefinitionContext(&context);
    ASSERT_TRUE(loaded.LoadBytes(file));
    SetDefinitionContext(nullptr);
    EXPECT_EQ(loaded.m_vSystemBgm, (std::vector<std::int32_t>{0, 2, 0, 0}));
    EXPECT_EQ(loaded.m_nChallengeStages, stages.validated);
    // Lists that readers index are never shorter than the current layout.
    EXPECT_EQ(loaded.CountRankingKinds(PLAY_REPLAY), 0);
    EXPECT_EQ(loaded.m_vRanking.size(), 4u);
    EXPECT_EQ(loaded.m_vTexts.size(), 28u);
    EXPECT_EQ(loaded.m_vTexts[2], "t2");
    EXPECT_EQ(loaded.m_vCarryFlags, (Bytes{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(loaded.m_vStoryMenuItems.size(), 4u);
    EXPECT_EQ(loaded.m_vIniKeys.size(), 6u);
  }
}

TEST_F(SystemDataTest, DamagedFilesFailAndLeaveTheRecordAsItWas) {
  cSystemData source;
  source.m_strTitle = "source";
  const Bytes whole = source.SaveBytes();
  cSystemData record;
  const Bytes before = record.SaveBytes();
  for (std::size_t size = 0; size < whole.size(); ++size) {
    ASSERT_FALSE(record.LoadBytes(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size))))
        << size;
  }
  // A list count far beyond the file.
  Bytes huge = whole;
  const std::size_t carryCount = 8 + 135 + 4 + 4 + 7;  // after the title "source"
  huge[carryCount] = huge[carryCount + 1] = huge[carryCount + 2] = huge[carryCount + 3] = 0xFF;
  std::string error;
  EXPECT_FALSE(record.LoadBytes(huge, &error));
  EXPECT_NE(error.find("count"), std::string::npos) << error;
  EXPECT_EQ(record.SaveBytes(), before);
}

// ---------------------------------------------------------------------------
// Label tables

TEST_F(SystemDataTest, FontFaceNames) {
  struct cCase {
    int index;
    std::string name;
  };
  const cCase cases[] = {
      {0, "System"},
      {59, Sjis("82 6c 82 72 20 83 53 83 56 83 62 83 4e")},  // ＭＳ ゴシック
      {60, Sjis("82 6c 82 72 20 82 6f 83 53 83 56 83 62 83 4e")},
      {86, Sjis("48 47 ba de bc af b8 45")},  // HGｺﾞｼｯｸE, half-width katakana
      {100, "メイリオ"},
      {121, "Sydnie"},
      {122, ""},
      // A damaged index gives the default face.
      {-1, "ＭＳ Ｐゴシック"},
      {123, "ＭＳ Ｐゴシック"},
      {1 << 30, "ＭＳ Ｐゴシック"},
  };
  cSystemData record;
  for (const cCase& c : cases) {
    record.m_nFontFace = c.index;
    EXPECT_EQ(record.FontFaceName(), c.name) << c.index;
  }
  EXPECT_EQ(g_astrColourMode[0], std::string("256色(8bit) カラーパレットあり"));
  EXPECT_EQ(g_astrColourMode[1], std::string("1677万色(24bit) カラーパレットなし"));
  EXPECT_EQ(g_astrColourMode[2], std::string());
}

}  // namespace
