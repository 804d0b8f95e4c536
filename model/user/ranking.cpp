#include "model/user/ranking.h"

#include <array>

#include "base/paths.h"
#include "base/report.h"
#include "model/settings/paths.h"
#include "model/settings/system_data.h"
#include "model/user/unreadable_file.h"

cRankingSet g_RankingSet;

namespace {

// The winning direction of each kind: only the clear time ranks lower first.
constexpr std::array<std::int32_t, cRankingSet::kKinds> kHigherWins = {1, 1, 0, 1, 1};

// The smallest stored list: field count, string count and row count.
constexpr std::size_t kMinListBytes = 12;
// The smallest stored row: field count and string count.
constexpr std::size_t kMinRowBytes = 8;

}  // namespace

void cRankingEntry::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_bUsed);
  ED_FIELD(m_nValue);
  ED_STRING(m_strName);
}

cRankingList::cRankingList() : m_vEntries(kRows) { Clear(); }

void cRankingList::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_bHigherWins);
}

bool cRankingList::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  std::uint32_t rows = 0;
  if (!f.ReadCount(rows, kMinRowBytes)) return false;
  // Rows that the file holds are read over the table's rows.
  m_vEntries.resize(rows);
  for (cRankingEntry& entry : m_vEntries) {
    if (!entry.Load(f)) return false;
  }
  return true;
}

void cRankingList::Save(cDataWriter& f) {
  cEdRecord::Save(f);
  SaveRecordList(f, m_vEntries);
}

void cRankingList::VisitTail(cRecordVisitor& v) { VisitRecordList(v, "m_vEntries", m_vEntries); }

int cRankingList::FindInsertPos(std::int32_t value) const {
  for (std::size_t i = 0; i < m_vEntries.size(); ++i) {
    const cRankingEntry& row = m_vEntries[i];
    const bool beats = m_bHigherWins != 0 ? value > row.m_nValue : value < row.m_nValue;
    if (row.m_bUsed == 0 || beats) return static_cast<int>(i);
  }
  return -1;
}

void cRankingList::Insert(const std::string& name, std::int32_t value) {
  const int pos = FindInsertPos(value);
  cRankingEntry entry;
  entry.m_bUsed = 1;
  entry.m_strName = name;
  entry.m_nValue = value;
  if (pos >= 0) {
    m_vEntries.insert(m_vEntries.begin() + pos, std::move(entry));
    m_vEntries.pop_back();
  }
}

void cRankingList::ResetEntries() {
  Clear();
  m_vEntries.resize(kRows);
}

void cRankingSet::DeclareFields(int /*nVersion*/) { DeclareNothing(); }

bool cRankingSet::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  std::uint32_t lists = 0;
  if (!f.ReadCount(lists, kMinListBytes)) return false;
  m_vLists.assign(lists, cRankingList());
  for (cRankingList& list : m_vLists) {
    if (!list.Load(f)) return false;
  }
  // Files of 180 and older: five tables, HP and SP left rank higher first;
  // tables read from the file keep their direction otherwise.
  if (g_nFileVersion <= 180) {
    m_vLists.resize(kKinds);
    m_vLists[RANKING_HP_LEFT].m_bHigherWins = 1;
    m_vLists[RANKING_SP_LEFT].m_bHigherWins = 1;
  }
  // Every kind has its table: a later file with fewer gets empty ones in the
  // kinds' own directions (further tables are kept).
  for (std::size_t kind = m_vLists.size(); kind < kKinds; ++kind) {
    m_vLists.emplace_back();
    m_vLists.back().m_bHigherWins = kHigherWins[kind];
  }
  return true;
}

void cRankingSet::Save(cDataWriter& f) {
  cEdRecord::Save(f);
  SaveRecordList(f, m_vLists);
}

void cRankingSet::VisitTail(cRecordVisitor& v) { VisitRecordList(v, "m_vLists", m_vLists); }

void cRankingSet::Reset() {
  Clear();
  m_vLists.assign(kKinds, cRankingList());
  for (std::size_t kind = 0; kind < m_vLists.size(); ++kind) m_vLists[kind].m_bHigherWins = kHigherWins[kind];
}

int MakeRankingPath(std::string& out, int nPlayMode, const std::string& stageName) {
  if (nPlayMode != PLAY_STORY && nPlayMode != PLAY_CHALLENGE && nPlayMode != PLAY_FREESTAGE) return 0;
  std::string name = stageName;
  StripDirectory(name);
  out = std::string(g_astrFilePath[PATH_STORY_DIR + nPlayMode]) + name + g_astrFileExt[EXT_RKG];
  return 1;
}

int LoadStageRanking(cRankingSet& set, int nPlayMode, const std::string& stageName) {
  std::string path;
  if (MakeRankingPath(path, nPlayMode, stageName) == 0) {
    set.Reset();
    return 0;
  }
  if (set.LoadFile(path.c_str()) == 0) {
    set.Reset();
    KeepUnreadableFile(path);
    return 0;
  }
  return 1;
}

int SaveStageRanking(cRankingSet& set, int nPlayMode, const std::string& stageName) {
  std::string path;
  if (MakeRankingPath(path, nPlayMode, stageName) == 0) return 0;
  if (set.SaveFile(path.c_str()) == 0) {
    ReportErrorF("%s の保存に失敗しました！", path.c_str());
    return 0;
  }
  return 1;
}
