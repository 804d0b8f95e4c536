// A definition context for tests: list sizes, sword frames and the
// keep-test-flows option set by the test, installed for the fixture's life.
//
//   FakeDefinitionContext context;            // installed now
//   context.database[eDatabaseList::Sound] = 4;
//   context.palettes[{ePaletteSource::Stage, ePaletteList::Item}] = 2;
// Lists the test leaves unset stay unknown, as before start-up.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "model/definitions/definition_context.h"

class FakeDefinitionContext : public cDefinitionContext {
 public:
  FakeDefinitionContext() { SetDefinitionContext(this); }
  ~FakeDefinitionContext() override { SetDefinitionContext(nullptr); }
  FakeDefinitionContext(const FakeDefinitionContext&) = delete;
  FakeDefinitionContext& operator=(const FakeDefinitionContext&) = delete;

  std::optional<std::size_t> DatabaseListSize(eDatabaseList list) const override {
    const auto it = database.find(list);
    if (it != database.end()) return it->second;
    return std::nullopt;
  }
  std::vector<std::int32_t> SwordFrameDurations(std::size_t swordType) const override {
    return swordType < swordFrames.size() ? swordFrames[swordType] : std::vector<std::int32_t>{};
  }
  std::optional<std::size_t> PaletteListSize(ePaletteSource source, ePaletteList list) const override {
    const auto it = palettes.find({source, list});
    if (it != palettes.end()) return it->second;
    return std::nullopt;
  }
  bool KeepTestFlows() const override { return keepTestFlows; }

  std::map<eDatabaseList, std::size_t> database;
  std::vector<std::vector<std::int32_t>> swordFrames;
  std::map<std::pair<ePaletteSource, ePaletteList>, std::size_t> palettes;
  bool keepTestFlows = false;
};
