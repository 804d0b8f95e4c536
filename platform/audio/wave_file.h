// RIFF wave files: reading PCM waves and writing 16-bit ones.
//
// ParseRiffWave walks the chunks of a "RIFF" form of type "WAVE" as the
// Windows multimedia reader does: chunks are padded to even sizes, the
// "fmt " and "data" chunks are found wherever they stand. Every size is
// checked against the bytes present: a chunk that runs past the end of its
// parent or of the file is an error, never read. Only format tag 1 (PCM)
// is accepted.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

struct WaveFormat {
  std::uint16_t formatTag = 0;
  std::uint16_t channels = 0;
  std::uint32_t samplesPerSec = 0;
  std::uint32_t avgBytesPerSec = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 0;
};

enum class WaveError { None, NotRiffWave, NoFormat, NotPcm, NoData, Truncated };

// On success format and data (a view into bytes) are set.
WaveError ParseRiffWave(std::span<const std::uint8_t> bytes, WaveFormat& format,
                        std::span<const std::uint8_t>& data);

// A whole 16-bit PCM wave file of interleaved samples.
std::vector<std::uint8_t> MakeWaveFile(std::span<const std::int16_t> samples, int rate, int channels);

// A 16-bit PCM wave file written as samples arrive; the header's sizes are
// brought up to date after every write, so the file is whole at any time.
class WaveWriter {
 public:
  WaveWriter(const std::string& path, int rate, int channels);
  ~WaveWriter();
  WaveWriter(const WaveWriter&) = delete;
  WaveWriter& operator=(const WaveWriter&) = delete;
  bool IsOpen() const { return m_pFile != nullptr; }
  void Write(const std::int16_t* samples, std::size_t count);

 private:
  std::FILE* m_pFile = nullptr;
  std::uint32_t m_nDataBytes = 0;
};

}  // namespace platform
