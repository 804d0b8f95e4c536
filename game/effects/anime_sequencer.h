// The frame player of every object and effect animation.
//
// A frame table is a list of rows {value, duration, flag}: a frame number
// shown for duration ticks, or a code that says what follows the last frame:
//   ANIME_HOLD  go back to the previous row, which keeps being shown;
//   ANIME_LOOP  go back to row 0;
//   ANIME_JUMP  play the sequence numbered by the row's duration, forced;
//   ANIME_END   returned as the frame value: the owner ends the animation.
// A row whose flag is set may not be interrupted by a non-forced Play.
//
// The sequencer holds several tables (sequences), plays one, and Step
// advances it by one tick. It never reads outside a table: the last row of a
// table stays current once reached (an END the owner keeps stepping, a table
// that holds only its code, a table without a code row) and keeps returning
// its value. A row that is current without having been reached by stepping
// (row 0, after Play or a loop) is shown for its duration like a frame, even
// when its value is negative. A bad sequence number is reported by the
// checked access and sequence 0 is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int ANIME_HOLD = -1;
constexpr int ANIME_LOOP = -2;
constexpr int ANIME_JUMP = -3;
constexpr int ANIME_END = -4;

struct SEQFRAME {
  std::int32_t nValue = 0;     // frame number, or a negative code
  std::int32_t nDuration = 0;  // ticks; for ANIME_JUMP the sequence to play
  std::int32_t bFlag = 0;      // 1: not interrupted by a non-forced change

  bool operator==(const SEQFRAME&) const = default;
};

using FrameTable = std::vector<SEQFRAME>;

class cAnimeSequencer {
 public:
  // Replaces all sequences by source tables: a null-terminated array of
  // pointers to arrays of {value, duration, flag}, each table ended by its
  // first row with a negative value (which belongs to it). Only the lowest
  // byte of a flag is taken. Nothing happens for a null argument.
  void Build(const int (*const* tables)[3]);
  // Replaces all sequences by copies of prepared tables.
  void Assign(std::vector<FrameTable> sequences);
  // Replaces all sequences keeping the current sequence number (0 when the
  // new sequences have no such number); row and tick 0.
  void Replace(std::vector<FrameTable> sequences);
  // No sequences; sequence, row and tick 0.
  void Clear();

  // Starts sequence s from row 0; refused (0) when not forced and the
  // current row may not be interrupted, else 1.
  int Play(int s, bool forced);
  // As Play, but 1 at once, without restarting, when s is already playing.
  int Change(int s, bool forced);
  // Advances one tick and returns the current row's value (0 without
  // sequences or rows).
  int Step();
  // Adds n ticks to the current row without advancing it: the next Step
  // moves on by one row at most, however long the row was overrun.
  void AdvanceTick(int n) { m_nTick += n; }
  // The current row's value without advancing.
  int GetFrame();

  int Sequence() const { return m_nSequence; }
  int Row() const { return m_nRow; }
  std::size_t SequenceCount() const { return m_vSequences.size(); }

 private:
  // The current row, or null when the sequencer or its table is empty.
  SEQFRAME* CurrentRow();

  std::vector<FrameTable> m_vSequences;
  int m_nSequence = 0;
  int m_nRow = 0;
  int m_nTick = 0;
};
