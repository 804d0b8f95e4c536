// Feeds arbitrary bytes to the wave reader. A wave that reads must lie
// inside the file, and its samples convert to the mixer's format as a sound
// buffer's would.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/audio/mixer.h"
#include "platform/audio/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  platform::WaveFormat format;
  std::span<const std::uint8_t> wave;
  if (platform::ParseRiffWave(bytes, format, wave) != platform::WaveError::None) return 0;
  if (wave.data() < data || wave.data() + wave.size() > data + size) std::abort();
  platform::ConvertPcm(wave, static_cast<int>(format.samplesPerSec), format.bitsPerSample, format.channels);
  return 0;
}
