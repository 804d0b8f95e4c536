#include "platform/video/display_config.h"

#include <array>
#include <mutex>

namespace platform {

namespace {

struct State {
  std::mutex mutex;
  DisplayConfig config;
  std::array<int, static_cast<std::size_t>(GraphicsCall::kCount)> faults{};
};

State& TheState() {
  static State state;
  return state;
}

}  // namespace

DisplayConfig GetDisplayConfig() {
  std::lock_guard lock(TheState().mutex);
  return TheState().config;
}

void SetDisplayConfig(const DisplayConfig& config) {
  std::lock_guard lock(TheState().mutex);
  TheState().config = config;
}

void ResetDisplayConfig() {
  std::lock_guard lock(TheState().mutex);
  TheState().config = DisplayConfig{};
  TheState().faults.fill(0);
}

void FailCall(GraphicsCall call, int count) {
  std::lock_guard lock(TheState().mutex);
  TheState().faults[static_cast<std::size_t>(call)] = count;
}

bool ShouldFail(GraphicsCall call) {
  std::lock_guard lock(TheState().mutex);
  int& pending = TheState().faults[static_cast<std::size_t>(call)];
  if (pending == 0) return false;
  if (pending > 0) --pending;
  return true;
}

}  // namespace platform
