// fuzz-seeds FOLDER [DEMO]: writes a seed input into FOLDER/<target>/ for
// each fuzz target whose files the demo project does not hold (options,
// launcher choice, save data, replay log, rankings, the key map, and the
// record base's own test record), every one saved by the model's own Save,
// and a few code texts for the expression language; given the demo project's
// folder DEMO, also whole replay files of its free stage (the current
// version, and version 172, whose files end with the log). scripts/fuzz-seeds
// copies the demo project's files for the other targets. Exit 0 when every
// seed was written, 1 when one was not, 2 on a usage error.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "fuzz/record_base.h"
#include "model/stage/stage.h"
#include "model/user/options.h"
#include "model/user/ranking.h"
#include "model/user/replay.h"
#include "model/user/save_data.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> OptionsSeed(std::uint8_t selector, cEdRecord& record) {
  std::vector<std::uint8_t> bytes{selector};
  const std::vector<std::uint8_t> file = record.SaveBytes();
  bytes.insert(bytes.end(), file.begin(), file.end());
  return bytes;
}

std::vector<std::uint8_t> SaveDataSeed() {
  cSaveData progress;
  progress.m_nScore = 1200;
  progress.m_nLives = 3;
  progress.m_strStagePath = "data\\stg4\\Stage1";
  return progress.SaveBytes();
}

// A few seconds of input with runs of held and changing values.
std::vector<std::uint8_t> ReplayLogSeed() {
  cReplayLog log;
  for (std::int16_t frame = 0; frame < 240; ++frame) {
    const std::int16_t input[2] = {static_cast<std::int16_t>(frame / 30 % 9), static_cast<std::int16_t>(frame % 7 == 0)};
    log.RecordFrame(input);
  }
  return log.SaveBytes();
}

std::vector<std::uint8_t> RankingSeed() {
  cRankingSet rankings;
  for (cRankingList& list : rankings.m_vLists) {
    list.Insert("first", 300);
    list.Insert("second", 200);
  }
  return rankings.SaveBytes();
}

std::vector<std::uint8_t> RecordBaseSeed() {
  cFuzzRecord record;
  record.m_anValues[1] = 7;
  record.m_dValue = 0.5;
  record.m_strName = "seed";
  record.m_vElements.resize(2);
  record.m_vElements[1].m_sValue = -3;
  record.m_vElements[1].m_strText = "element";
  return record.SaveBytes();
}

std::vector<std::uint8_t> TextSeed(std::string_view text) { return {text.begin(), text.end()}; }

// The key map file: the arrows and four letters on the keyboard, four
// buttons of joystick 0 (layout in shell/key_config.h).
std::vector<std::uint8_t> KeyConfigSeed() {
  std::vector<std::uint8_t> bytes;
  const auto put = [&](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  const std::uint16_t keys[8] = {0x25, 0x27, 0x26, 0x28, 'Z', 'X', 'C', 'V'};
  for (const std::uint16_t key : keys) {
    put(8, 4);  // the keyboard
    put(key, 2);
    put(0, 2);
  }
  for (std::uint32_t button = 1; button <= 8; button <<= 1) {
    put(0, 4);  // joystick 0
    put(button, 2);
    put(0, 2);
  }
  put(12, 4);
  put(1, 4);
  put(1, 4);
  return bytes;
}

// A replay file of the demo's free stage with a few seconds of input, as
// SaveReplay writes it; in version 172 the stage part has no end marker and
// the file ends with the log.
bool ReplayFileSeed(const fs::path& demo, std::uint32_t version, const fs::path& out) {
  cEdStage stage;
  const std::string stageFile = (demo / "data" / "stg4" / "free01.stg4_000").string();
  if (!stage.LoadFile(stageFile.c_str())) return false;
  cEdStage start;
  start.CopyStartState(stage);
  cReplayLog log;
  if (!log.LoadBytes(ReplayLogSeed())) return false;
  cSaveData progress;
  if (version >= 173) return log.SaveReplay(out.c_str(), stage, start, progress) != 0;
  g_nDataVersion = version;
  cDataWriter stagePart, logPart;
  stage.SaveForReplay(stagePart, start);
  log.Save(logPart);
  g_nDataVersion = DATA_VERSION;
  cDataWriter file;
  file.WriteU32(version);
  file.Write(stagePart.Bytes().data(), stagePart.Bytes().size() - sizeof(STAGE_END_MARKER));
  file.Write(logPart.Bytes().data(), logPart.Bytes().size());
  return platform::WriteFileAtomic(out, file.Bytes());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || argv[1][0] == '\0' || std::strcmp(argv[1], "-h") == 0 ||
      std::strcmp(argv[1], "--help") == 0) {
    std::fprintf(stderr, "usage: fuzz-seeds FOLDER [DEMO]\n");
    return 2;
  }
  g_nDataVersion = DATA_VERSION;
  cOptionData options;
  cBootData boot;
  const struct {
    const char* target;
    const char* file;
    std::vector<std::uint8_t> bytes;
  } seeds[] = {
      {"options", "Option.dat", OptionsSeed(0, options)},
      {"options", "Boot.dat", OptionsSeed(1, boot)},
      {"save_data", "story01.dat", SaveDataSeed()},
      {"replay_log", "log.rpl4_1", ReplayLogSeed()},
      {"ranking_file", "Stage1.rkg", RankingSeed()},
      {"key_config", "KeyConfig.dat", KeyConfigSeed()},
      {"record_base", "record", RecordBaseSeed()},
      {"expression", "arithmetic", TextSeed("C1 = (2 + 3) * 4 - 7 / 2 % 3")},
      {"expression", "variables", TextSeed("C1 = C1 + 1 S2 = rand(5, 1) my.hp = tg.hp - 3 pl.sight = 2")},
      {"expression", "system", TextSeed("scrlx = 100 time = time + 10 life = life - 1 score = 1000000")},
      {"expression", "traps", TextSeed("C1=5 rand (1, 6) 1.5 (1)(2) 5 / (3 - 3) -2147483648 / -1")},
  };
  for (const auto& seed : seeds) {
    const fs::path folder = fs::path(argv[1]) / seed.target;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
      std::fprintf(stderr, "fuzz-seeds: %s: %s\n", folder.c_str(), error.message().c_str());
      return 1;
    }
    if (!platform::WriteFileAtomic(folder / seed.file, seed.bytes)) {
      std::fprintf(stderr, "fuzz-seeds: %s: cannot be written\n", (folder / seed.file).c_str());
      return 1;
    }
  }
  if (argc == 3) {
    const fs::path folder = fs::path(argv[1]) / "replay_file";
    std::error_code error;
    fs::create_directories(folder, error);
    for (const std::uint32_t version : {static_cast<std::uint32_t>(DATA_VERSION), 172u}) {
      const fs::path out = folder / ("free01.rpl4_" + std::to_string(version));
      if (!ReplayFileSeed(argv[2], version, out)) {
        std::fprintf(stderr, "fuzz-seeds: %s: the demo's free stage cannot be made a replay\n", out.c_str());
        return 1;
      }
    }
  }
  return 0;
}
