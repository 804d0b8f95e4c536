// Loading the demo project's start-up set (data-folder check, folders,
// database with its tables, settings, options, world map, common palette)
// and its story stage, next to a plain copy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <vector>

#include "demo_data.h"
#include "demo_images.h"
#include "demo_stage_names.h"
#include "game/data/project_data.h"
#include "model/stage/stage_loader.h"

namespace fs = std::filesystem;

namespace {

// Generates the demo project once and makes it the current folder.
std::size_t PrepareDemo() {
  static const std::size_t dataBytes = [] {
    const fs::path root = fs::temp_directory_path() / ("startup_load_" + std::to_string(::getpid()));
    fs::remove_all(root);
    std::string error;
    if (!demo::WriteDemoImages(root, error) || !demo::WriteDemoData(root, error)) {
      std::fprintf(stderr, "demo project: %s\n", error.c_str());
      std::exit(1);
    }
    fs::current_path(root);
    std::size_t bytes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root / "data")) {
      if (entry.is_regular_file()) bytes += entry.file_size();
    }
    return bytes;
  }();
  return dataBytes;
}

void BM_LoadDemoStartupSet(benchmark::State& state) {
  const std::size_t bytes = PrepareDemo();
  for (auto _ : state) {
    std::string error;
    if (!LoadProjectData(error)) state.SkipWithError(error.c_str());
    if (!LoadStageFile(demo::kStoryStageFile, 0, nullptr)) state.SkipWithError("the story stage did not load");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_LoadDemoStartupSet)->Unit(benchmark::kMillisecond);

void BM_CopyDemoBytes(benchmark::State& state) {
  const std::size_t bytes = PrepareDemo();
  std::vector<char> from(bytes, 1), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_CopyDemoBytes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
