// Loading the demo project's start-up set (data-folder check, folders,
// database with its tables, settings, options, world map, common palette)
// and its story stage, next to a plain copy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "demo_data.h"
#include "demo_images.h"
#include "demo_stage_names.h"
#include "game/data/project_data.h"
#include "model/stage/stage_loader.h"

namespace fs = std::filesystem;

namespace {

// The demo project, generated once into a temporary folder that is the
// current folder while the benchmarks run and is removed at exit.
class DemoProject {
 public:
  DemoProject() : m_Root(fs::temp_directory_path() / ("startup_load_" + std::to_string(::getpid()))) {
    fs::remove_all(m_Root);
    std::string error;
    if (!demo::WriteDemoImages(m_Root, error) || !demo::WriteDemoData(m_Root, error)) {
      std::fprintf(stderr, "demo project: %s\n", error.c_str());
      Remove();
      std::exit(1);
    }
    fs::current_path(m_Root);
    for (const auto& entry : fs::recursive_directory_iterator(m_Root / "data")) {
      if (entry.is_regular_file()) m_nDataBytes += entry.file_size();
    }
  }
  ~DemoProject() { Remove(); }
  DemoProject(const DemoProject&) = delete;
  DemoProject& operator=(const DemoProject&) = delete;

  std::size_t DataBytes() const { return m_nDataBytes; }

 private:
  void Remove() {
    std::error_code ignored;
    fs::current_path(fs::temp_directory_path(), ignored);
    fs::remove_all(m_Root, ignored);
  }

  fs::path m_Root;
  std::size_t m_nDataBytes = 0;
};

std::size_t PrepareDemo() {
  static const DemoProject demo;
  return demo.DataBytes();
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
BENCHMARK(BM_LoadDemoStartupSet)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CopyDemoBytes(benchmark::State& state) {
  const std::size_t bytes = PrepareDemo();
  std::vector<char> from(bytes, 1), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_CopyDemoBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
