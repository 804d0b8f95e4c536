#include "platform/keyboard.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace platform {

namespace {
std::array<std::atomic<int>, 256> g_Presses{};
constexpr std::int16_t kHeld = INT16_MIN;  // the high bit, 0x8000

bool Valid(int vk) { return vk >= 0 && vk < static_cast<int>(g_Presses.size()); }
}  // namespace

std::int16_t GetAsyncKeyState(int vk) {
  return Valid(vk) && g_Presses[static_cast<std::size_t>(vk)].load() > 0 ? kHeld : 0;
}

void PressVirtualKey(int vk) {
  if (Valid(vk)) ++g_Presses[static_cast<std::size_t>(vk)];
}

void ReleaseVirtualKey(int vk) {
  if (!Valid(vk)) return;
  auto& presses = g_Presses[static_cast<std::size_t>(vk)];
  int count = presses.load();
  while (count > 0 && !presses.compare_exchange_weak(count, count - 1)) {
  }
}

void ReleaseAllKeys() {
  for (auto& presses : g_Presses) presses = 0;
}

}  // namespace platform
