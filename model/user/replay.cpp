#include "model/user/replay.h"

#include <cstddef>
#include <filesystem>
#include <limits>

#include "base/format.h"
#include "base/paths.h"
#include "base/report.h"
#include "model/stage/palette_scope.h"
#include "model/stage/stage.h"
#include "model/user/save_data.h"
#include "platform/files.h"


cReplayLog g_ReplayLog;
cReplayLog g_PrevReplayLog;
cSaveData g_ReplaySaveData;
cSaveData g_PrevReplaySaveData;

namespace {

void RecordValue(std::vector<std::int16_t>& values, std::vector<std::int32_t>& runs,
                 std::int16_t value) {
  // A run that would outgrow its int32 is continued by a new run of the
  // same value, which plays back the same.
  if (!values.empty() && values.back() == value && runs.size() == values.size() &&
      runs.back() < std::numeric_limits<std::int32_t>::max()) {
    ++runs.back();
    return;
  }
  values.push_back(value);
  runs.push_back(1);
}

bool UsedUp(const std::vector<std::int16_t>& values, const std::vector<std::int32_t>& runs,
            std::int32_t pos) {
  return pos < 0 || static_cast<std::size_t>(pos) >= values.size() ||
         static_cast<std::size_t>(pos) >= runs.size();
}

// The value at pos of a channel that is not used up, advancing the channel.
std::int16_t PlayValue(const std::vector<std::int16_t>& values,
                       const std::vector<std::int32_t>& runs, std::int32_t& pos,
                       std::int32_t& count) {
  const std::int16_t value = values[static_cast<std::size_t>(pos)];
  // "At least" rather than "equal": a run length below 1 still ends.
  if (++count >= runs[static_cast<std::size_t>(pos)]) {
    count = 0;
    ++pos;
  }
  return value;
}

bool ChannelIsSound(const std::vector<std::int16_t>& values,
                    const std::vector<std::int32_t>& runs) {
  if (values.size() != runs.size()) return false;
  for (std::int32_t run : runs) {
    if (run < 1) return false;
  }
  return true;
}

}  // namespace

void cReplayLog::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_nSeed);
}

bool cReplayLog::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  if (!f.ReadValueList(m_vDirValues) || !f.ReadValueList(m_vButtonValues) ||
      !f.ReadValueList(m_vDirRuns) || !f.ReadValueList(m_vButtonRuns)) {
    return false;
  }
  if (!ChannelIsSound(m_vDirValues, m_vDirRuns)) return f.Fail("damaged direction stream");
  if (!ChannelIsSound(m_vButtonValues, m_vButtonRuns)) return f.Fail("damaged button stream");
  return !f.Failed();
}

void cReplayLog::Save(cDataWriter& f) {
  cEdRecord::Save(f);
  f.WriteValueList(m_vDirValues);
  f.WriteValueList(m_vButtonValues);
  f.WriteValueList(m_vDirRuns);
  f.WriteValueList(m_vButtonRuns);
}

void cReplayLog::VisitTail(cRecordVisitor& v) {
  v.Values("m_vDirValues", m_vDirValues.data(), m_vDirValues.size());
  v.Values("m_vButtonValues", m_vButtonValues.data(), m_vButtonValues.size());
  v.Values("m_vDirRuns", m_vDirRuns.data(), m_vDirRuns.size());
  v.Values("m_vButtonRuns", m_vButtonRuns.data(), m_vButtonRuns.size());
}

void cReplayLog::Clear() {
  cEdRecord::Clear();
  m_vDirValues.clear();
  m_vButtonValues.clear();
  m_vDirRuns.clear();
  m_vButtonRuns.clear();
  Rewind();
}

void cReplayLog::Rewind() {
  m_nDirPos = 0;
  m_nButtonPos = 0;
  m_nDirCount = 0;
  m_nButtonCount = 0;
}

void cReplayLog::RecordFrame(const std::int16_t* pFrame) {
  RecordValue(m_vDirValues, m_vDirRuns, pFrame[0]);
  RecordValue(m_vButtonValues, m_vButtonRuns, pFrame[1]);
}

int cReplayLog::PlayFrame(std::int16_t* pFrame) {
  if (UsedUp(m_vDirValues, m_vDirRuns, m_nDirPos) ||
      UsedUp(m_vButtonValues, m_vButtonRuns, m_nButtonPos)) {
    return 1;
  }
  pFrame[0] = PlayValue(m_vDirValues, m_vDirRuns, m_nDirPos, m_nDirCount);
  pFrame[1] = PlayValue(m_vButtonValues, m_vButtonRuns, m_nButtonPos, m_nButtonCount);
  return 0;
}

int cReplayLog::SaveReplay(const char* path, cEdStage& stage, cEdStage& start,
                           cSaveData& progress) {
  const char* name = path != nullptr ? path : "";
  cDataWriter f;
  f.WriteU32(g_nDataVersion);
  stage.SaveForReplay(f, start);
  Save(f);
  {
    // The carried definitions of the progress are checked against the
    // stage's palette, as they are when the replay is read.
    const cPaletteScope palette(nullptr, &stage);
    progress.Save(f);
  }
  if (*name == '\0' || !platform::WriteFileAtomic(platform::MapPath(name), f.Bytes())) {
    ReportErrorF("リプレイファイル %s の保存に失敗しました！", name);
    return 0;
  }
  return 1;
}

int cReplayLog::LoadReplay(const char* path, cEdStage& stage, cEdStage& start,
                           cSaveData& progress) {
  const char* name = path != nullptr ? path : "";
  std::vector<std::uint8_t> bytes;
  if (*name == '\0' || !platform::ReadProgramFile(name, bytes)) {
    ReportErrorF("リプレイファイル %s の読み込みに失敗しました！", name);
    return 0;
  }
  cDataReader f(bytes);
  std::uint32_t version = 0;
  if (!f.ReadU32(version)) {
    ReportErrorF("リプレイファイル %s が破損しています！", name);
    return 0;
  }

  // Everything is read into copies (which start as the targets, so that
  // what a file lacks keeps its value) and committed only when all was read.
  // The stage alone starts reset, path kept: a stage part of an older
  // version takes no setting from the stage played before it.
  const std::uint32_t previousVersion = g_nFileVersion;
  g_nFileVersion = version;
  cEdStage newStage = stage;
  newStage.Reset();
  cReplayLog newLog = *this;
  cSaveData newProgress = progress;
  // Files before version 173 end with the log. The carried definitions of
  // the progress inherit from the palette of the stage just read, the stage
  // that the replay plays.
  const auto readProgress = [&] {
    const cPaletteScope palette(nullptr, &newStage);
    return newProgress.Load(f);
  };
  const bool read = newStage.Load(f) && newLog.Load(f) && (version < 173 || readProgress());
  if (!read) {
    g_nFileVersion = previousVersion;
    ReportErrorF("リプレイファイル %s が破損しています！\n%s", name, f.Error().c_str());
    return 0;
  }
  if (!newStage.HasHero()) {
    g_nFileVersion = previousVersion;
    ReportErrorF("リプレイファイル %s\n主人公が配置されていないのでプレイできません！", name);
    return 0;
  }
  cEdStage newStart = start;
  newStart.CopyStartState(newStage);
  newStart.ClearObjectLists();

  stage = std::move(newStage);
  start = std::move(newStart);
  *this = std::move(newLog);
  progress = std::move(newProgress);
  return 1;
}

std::string ReplayExtension() {
  std::string extension;
  FormatString(extension, "rpl4_%u", static_cast<unsigned>(DATA_VERSION));
  return extension;
}

std::string ProposeReplayFileName(const std::string& stageFile) {
  if (stageFile.empty()) return std::string();
  const std::string extension = ReplayExtension();
  std::string name;
  // A stage file without an extension gets the replay extension added.
  if (!ReplaceExtension(name, stageFile, extension.c_str())) name = stageFile + "." + extension;
  StripDirectory(name);
  const std::string inFolder = REPLAY_FOLDER + name;

  std::string candidate;
  for (int i = 0; i <= 8; ++i) {
    for (int j = 0; j <= 8; ++j) {
      InsertNumberSuffix(candidate, inFolder, i, j);
      std::error_code error;
      if (!std::filesystem::exists(platform::MapPath(candidate), error)) {
        StripDirectory(candidate);
        return candidate;
      }
    }
  }
  StripDirectory(candidate);  // every name is taken: the last one, _88
  return candidate;
}
