#include "game/effects/anime_sequencer.h"

#include <utility>

#include "base/checked_access.h"

namespace {

// Element size the reports give for one frame table.
constexpr std::size_t kTableReportSize = 16;

}  // namespace

void cAnimeSequencer::Build(const int (*const* tables)[3]) {
  if (tables == nullptr) return;
  std::vector<FrameTable> sequences;
  for (const int (*const* table)[3] = tables; *table != nullptr; ++table) {
    FrameTable rows;
    for (const int(*row)[3] = *table;; ++row) {
      rows.push_back(SEQFRAME{(*row)[0], (*row)[1], static_cast<std::uint8_t>((*row)[2])});
      if ((*row)[0] < 0) break;
    }
    sequences.push_back(std::move(rows));
  }
  Assign(std::move(sequences));
}

void cAnimeSequencer::Assign(std::vector<FrameTable> sequences) {
  m_vSequences = std::move(sequences);
  m_nSequence = 0;
  m_nRow = 0;
  m_nTick = 0;
}

void cAnimeSequencer::Clear() { Assign({}); }

void cAnimeSequencer::Replace(std::vector<FrameTable> sequences) {
  const int sequence = m_nSequence;
  Assign(std::move(sequences));
  if (sequence >= 0 && static_cast<std::size_t>(sequence) < m_vSequences.size()) m_nSequence = sequence;
}

SEQFRAME* cAnimeSequencer::CurrentRow() {
  if (m_vSequences.empty()) return nullptr;
  FrameTable& table = CheckedAt(m_vSequences, m_nSequence);
  if (table.empty()) return nullptr;
  return &CheckedAt(table, m_nRow);
}

int cAnimeSequencer::Play(int s, bool forced) {
  if (!forced) {
    const SEQFRAME* row = CurrentRow();
    if (row != nullptr && row->bFlag != 0) return 0;
  }
  if (!m_vSequences.empty() && (s < 0 || static_cast<std::size_t>(s) >= m_vSequences.size())) {
    ReportBadIndex("V", s, m_vSequences.size(), kTableReportSize);
    s = 0;
  }
  m_nSequence = s;
  m_nRow = 0;
  m_nTick = 0;
  return 1;
}

int cAnimeSequencer::Change(int s, bool forced) {
  if (s == m_nSequence) return 1;
  return Play(s, forced);
}

int cAnimeSequencer::Step() {
  const SEQFRAME* row = CurrentRow();
  if (row == nullptr) return 0;
  if (++m_nTick >= row->nDuration) {
    m_nTick = 0;
    const FrameTable& table = CheckedAt(m_vSequences, m_nSequence);
    // The last row stays current: an END the owner keeps stepping, a table
    // that is only its code row, or a table without a code row.
    if (static_cast<std::size_t>(m_nRow) + 1 < table.size()) {
      ++m_nRow;
      const SEQFRAME& next = table[static_cast<std::size_t>(m_nRow)];
      switch (next.nValue) {
        case ANIME_JUMP:
          Play(next.nDuration, true);
          break;
        case ANIME_LOOP:
          m_nRow = 0;
          break;
        case ANIME_HOLD:
          --m_nRow;  // the row before a code at row 1 or later
          break;
        default:
          break;
      }
    }
  }
  return GetFrame();
}

int cAnimeSequencer::GetFrame() {
  const SEQFRAME* row = CurrentRow();
  return row != nullptr ? row->nValue : 0;
}
