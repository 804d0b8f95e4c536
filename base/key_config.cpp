#include "base/key_config.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/files.h"
#include "platform/keyboard.h"

KEYCONFIG g_KeyConfig;

namespace {

constexpr std::size_t kFileSize = 108;
using FileImage = std::array<std::uint8_t, kFileSize>;

void PutInt(FileImage& image, std::size_t at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetInt(const FileImage& image, std::size_t at, int bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= std::uint32_t(image[at + i]) << (8 * i);
  return value;
}

FileImage ImageOf(const KEYCONFIG& config) {
  FileImage image{};
  for (int k = 0; k < KEYBIND_COUNT; ++k) {
    PutInt(image, 8 * k, static_cast<std::uint32_t>(config.aBind[k].nDevice), 4);
    PutInt(image, 8 * k + 4, config.aBind[k].wCode, 2);
  }
  PutInt(image, 96, static_cast<std::uint32_t>(config.nBindCount), 4);
  PutInt(image, 100, static_cast<std::uint32_t>(config.nJoyCount), 4);
  PutInt(image, 104, static_cast<std::uint32_t>(config.bUseKeyConfig), 4);
  return image;
}

}  // namespace

int LoadKeyConfig(const char* path, KEYCONFIG* config) {
  std::vector<std::uint8_t> bytes;
  if (!platform::ReadProgramFile(path, bytes)) return 0;
  // The file's bytes over the record's own: what a short file lacks keeps
  // its value.
  FileImage image = ImageOf(*config);
  std::copy_n(bytes.begin(), std::min(bytes.size(), kFileSize), image.begin());
  for (int k = 0; k < KEYBIND_COUNT; ++k) {
    config->aBind[k].nDevice = static_cast<std::int32_t>(GetInt(image, 8 * k, 4));
    config->aBind[k].wCode = static_cast<std::uint16_t>(GetInt(image, 8 * k + 4, 2));
  }
  config->nBindCount = std::clamp(static_cast<std::int32_t>(GetInt(image, 96, 4)), 0, KEYBIND_COUNT);
  config->nJoyCount = std::clamp(static_cast<std::int32_t>(GetInt(image, 100, 4)), 0, MAX_JOYSTICKS);
  config->bUseKeyConfig = static_cast<std::int32_t>(GetInt(image, 104, 4));
  return 1;
}

void SetDefaultKeyConfig(KEYCONFIG* config) {
  static const std::uint16_t codes[KEYBIND_COUNT] = {platform::VK_LEFT, platform::VK_RIGHT, platform::VK_UP,
                                                      platform::VK_DOWN, 'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'};
  for (int k = 0; k < KEYBIND_COUNT; ++k) config->aBind[k] = {KEY_DEVICE_KEYBOARD, codes[k]};
  config->nBindCount = KEYBIND_COUNT;
  config->nJoyCount = 1;
  config->bUseKeyConfig = 0;
}
