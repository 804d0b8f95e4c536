// The rankings of one stage: five tables of 20 rows, one per ranking kind.
//
// g_RankingSet holds the tables of the stage that is shown or played. A
// ranking file is the u32 data version, then the set record: no fields or
// strings, u32 list count, each list (field m_bHigherWins, u32 row count,
// each row with fields m_bUsed and m_nValue and the string m_strName).
// Files of version 180 and older held fewer tables: loading brings them to
// the five of today, with the HP and SP tables ranking higher values first.
// A later file with fewer than five tables gets empty ones for the missing
// kinds (their own directions); further tables are kept.
//
// Each stage has one ranking file per play mode with rankings (story,
// challenge, free stage), named after the stage: user_data\story\<name>rkg
// and so on, where the name is the stage file name without its folder and
// extension, ending in the dot. Replays have no ranking file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/record/record.h"

enum eRankingKind {
  RANKING_SCORE = 0,
  RANKING_TIME_LEFT = 1,
  RANKING_CLEAR_TIME = 2,  // hundredths of a second; the smaller value wins
  RANKING_HP_LEFT = 3,
  RANKING_SP_LEFT = 4,
};

// One row; an unused row is empty.
class cRankingEntry : public cEdRecordOf<cRankingEntry> {
 public:
  cRankingEntry() { Clear(); }
  void DeclareFields(int nVersion) override;

  std::int32_t m_bUsed = 0;
  std::int32_t m_nValue = 0;
  std::string m_strName;
};

// One table, best row first.
class cRankingList : public cEdRecordOf<cRankingList> {
 public:
  static constexpr int kRows = 20;

  cRankingList();
  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;

  // The row that the value would take: the first unused row, else the first
  // row whose value it beats (a tie goes below); -1 when it ranks nowhere.
  int FindInsertPos(std::int32_t value) const;
  // Inserts a used row where the value ranks; the last row drops out, so the
  // table keeps its length (a value that ranks nowhere changes nothing).
  void Insert(const std::string& name, std::int32_t value);
  // m_bHigherWins becomes 0 and the table exactly kRows long.
  void ResetEntries();

  std::vector<cRankingEntry> m_vEntries;
  // 1: a greater value ranks higher; 0: a smaller one.
  std::int32_t m_bHigherWins = 0;
};

class cRankingSet : public cEdRecordOf<cRankingSet> {
 public:
  static constexpr int kKinds = 5;

  cRankingSet() { Reset(); }
  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;

  // Five empty tables; only the clear time ranks smaller values first.
  void Reset();

  std::vector<cRankingList> m_vLists;  // indexed by eRankingKind
};

extern cRankingSet g_RankingSet;

// out = the ranking file of the stage in the play mode; 0 for a replay.
int MakeRankingPath(std::string& out, int nPlayMode, const std::string& stageName);
// 1 when the stage's ranking file was read into set; otherwise the set is
// reset to empty tables and 0 returned. A file that exists but cannot be read
// is renamed to NAME.bak (reported), so the next save does not lose it.
int LoadStageRanking(cRankingSet& set, int nPlayMode, const std::string& stageName);
// 1 when the file was written (atomically); 0, reported, with the old file
// unchanged otherwise.
int SaveStageRanking(cRankingSet& set, int nPlayMode, const std::string& stageName);
