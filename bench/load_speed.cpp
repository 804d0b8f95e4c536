// Loading speed of stage files, next to a plain copy of the same bytes
// measured in the same run.
//
// The large stage: 500 x 100 cells, every cell of the lower half a placed
// block, 2000 placed characters with two flows of a few commands each.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "model/definitions/command.h"
#include "model/stage/stage.h"

namespace {

cEdFlow MakeFlow(int id) {
  cEdFlow flow;
  flow.m_nId = static_cast<std::uint8_t>(id);
  flow.m_vCondition.resize(1);
  flow.m_vKeyCondition.resize(1);
  for (int kind : {CMD_MOVE_STRAIGHT, CMD_WAIT, CMD_JUMP, CMD_SHOT}) {
    cEdCommand command;
    command.m_nKind = static_cast<std::uint8_t>(kind);
    flow.m_vCommand.push_back(command);
  }
  return flow;
}

const std::vector<std::uint8_t>& LargeStageBytes() {
  static const std::vector<std::uint8_t> bytes = [] {
    g_nDataVersion = DATA_VERSION;
    g_bConvertText = 1;
    cEdStage stage;
    stage.m_nWidth = 500;
    stage.m_nHeight = 100;
    for (int y = 50; y < 100; ++y) {
      for (int x = 0; x < 500; ++x) {
        cEdBlock block;
        block.m_nCellX = static_cast<std::int16_t>(x);
        block.m_nCellY = static_cast<std::int16_t>(y);
        block.m_nGraphicNo = static_cast<std::int16_t>(1 + (x + y) % 8);
        stage.m_vPlacedBlocks.push_back(block);
      }
    }
    const cEdFlow walk = MakeFlow(1), attack = MakeFlow(2);
    for (int i = 0; i < 2000; ++i) {
      cEdChara chara;
      chara.m_nCellX = static_cast<std::int16_t>(i % 500);
      chara.m_nCellY = static_cast<std::int16_t>(10 + i / 500);
      chara.m_vFlow = {walk, attack};
      stage.m_vPlacedCharas.push_back(chara);
    }
    return stage.SaveBytes();
  }();
  return bytes;
}

void BM_LoadLargeStage(benchmark::State& state) {
  const std::vector<std::uint8_t>& bytes = LargeStageBytes();
  for (auto _ : state) {
    cEdStage stage;
    if (!stage.LoadBytes(bytes)) state.SkipWithError("the large stage did not load");
    benchmark::DoNotOptimize(stage.m_vPlacedBlocks.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadLargeStage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CopyLargeStageBytes(benchmark::State& state) {
  const std::vector<std::uint8_t>& bytes = LargeStageBytes();
  std::vector<std::uint8_t> target(bytes.size());
  for (auto _ : state) {
    std::memcpy(target.data(), bytes.data(), bytes.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_CopyLargeStageBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
