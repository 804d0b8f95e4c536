// Replays: the first player's input of every frame of one play, kept as two
// run-length streams, and the replay files of user_data\rpl4\.
//
// Channel 0 is the direction word, channel 1 the button word; each channel
// is a list of values with the length in frames of each run, encoded on its
// own (the run boundaries of the two may differ). RecordFrame appends one
// frame; PlayFrame gives the frames back in order and reports the end when
// either channel is used up.
//
// Replay file: u32 data version; the stage part (the start state of the
// stage's settings with the loaded stage's palettes and objects, as
// cEdStage::SaveForReplay writes it); the log record; the progress at the
// start of the play (files of version 173 and later). Replay files lie in
// user_data\rpl4\ and end in "rpl4_566"; ProposeReplayFileName names a new
// one after the stage file. A replay that cannot be written or read, or whose
// stage has no hero, is reported and returns 0, and changes nothing. The
// stage part is read into a reset stage that keeps the stage's path, so that
// an older file takes no setting from the stage played before it.
//
// Log record: base part (the seed), then u32 n + n int16 direction values,
// u32 n + n int16 button values, u32 n + n int32 direction runs, u32 n +
// n int32 button runs. A log whose values and runs differ in number, or with
// a run shorter than one frame, does not load.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/record/record.h"

class cEdStage;
class cSaveData;

class cReplayLog : public cEdRecordOf<cReplayLog> {
 public:
  std::vector<std::int16_t> m_vDirValues;
  std::vector<std::int16_t> m_vButtonValues;
  std::vector<std::int32_t> m_vDirRuns;
  std::vector<std::int32_t> m_vButtonRuns;
  std::int32_t m_nSeed = 0;  // the random seed of the play
  // Where playback stands: the run of each channel and the frames of it
  // already given back.
  std::int32_t m_nDirPos = 0;
  std::int32_t m_nButtonPos = 0;
  std::int32_t m_nDirCount = 0;
  std::int32_t m_nButtonCount = 0;

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;

  // Seed 0, both streams empty, playback at the start.
  void Clear();
  // Playback starts again from the first frame.
  void Rewind();
  // Appends one frame: pFrame[0] to channel 0, pFrame[1] to channel 1.
  void RecordFrame(const std::int16_t* pFrame);
  // 0 and the next frame in pFrame[0], pFrame[1]; 1 when either channel is
  // used up (pFrame untouched).
  int PlayFrame(std::int16_t* pFrame);

  // Writes the replay file of this log: the stage as it started (stage with
  // the settings of start) and the progress at its start. 1, or 0 (reported)
  // when the file cannot be written.
  int SaveReplay(const char* path, cEdStage& stage, cEdStage& start, cSaveData& progress);
  // Reads a replay file into this log, the stage, its start state and the
  // progress (files before version 173 hold no progress: it stays). 1, or 0
  // (reported, nothing changed) when the file cannot be read, is damaged or
  // its stage has no hero.
  int LoadReplay(const char* path, cEdStage& stage, cEdStage& start, cSaveData& progress);
};

// The log of the current play (recorded, or loaded for playback) and of the
// previous play, and the progress at the start of each.
extern cReplayLog g_ReplayLog;
extern cReplayLog g_PrevReplayLog;
extern cSaveData g_ReplaySaveData;
extern cSaveData g_PrevReplaySaveData;

// The folder of replay files.
inline constexpr const char* REPLAY_FOLDER = "user_data\\rpl4\\";
// The extension of replay files: "rpl4_" and the data version.
std::string ReplayExtension();
// The file name (without folder) offered for a replay of stageFile: its name
// with the replay extension and the first suffix _00 .. _88 that no file in
// REPLAY_FOLDER has (_88 when all have); empty for an empty stage file.
std::string ProposeReplayFileName(const std::string& stageFile);
