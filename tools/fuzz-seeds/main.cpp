// fuzz-seeds FOLDER: writes a seed input into FOLDER/<target>/ for each fuzz
// target whose files the demo project does not hold (options, launcher
// choice, save data, replay log, rankings, and the record base's own test
// record), every one saved by the model's own Save, and a few code texts for
// the expression language. scripts/fuzz-seeds
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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '\0' || std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0) {
    std::fprintf(stderr, "usage: fuzz-seeds FOLDER\n");
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
  return 0;
}
