#include "platform/audio/wave_file.h"

#include <cstdio>
#include <cstring>

namespace platform {

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

// The body of the first chunk of id inside parent; false when none is
// there. Truncated is set when a chunk header or body runs past the parent.
bool FindChunk(std::span<const std::uint8_t> parent, const char* id,
               std::span<const std::uint8_t>& body, bool& truncated) {
  std::size_t at = 0;
  while (parent.size() - at >= 8) {
    const std::uint32_t size = Le32(parent.data() + at + 4);
    if (size > parent.size() - at - 8) {
      truncated = true;
      return false;
    }
    if (std::memcmp(parent.data() + at, id, 4) == 0) {
      body = parent.subspan(at + 8, size);
      return true;
    }
    at += 8 + static_cast<std::size_t>(size) + (size & 1);
    if (at > parent.size()) return false;  // the pad byte of the last chunk may be missing
  }
  return false;
}

constexpr std::size_t kHeaderSize = 44;

void FillHeader(std::uint8_t* h, std::uint32_t dataBytes, int rate, int channels) {
  std::memcpy(h, "RIFF", 4);
  Put32(h + 4, 36 + dataBytes);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  Put32(h + 16, 16);
  Put16(h + 20, 1);
  Put16(h + 22, static_cast<std::uint16_t>(channels));
  Put32(h + 24, static_cast<std::uint32_t>(rate));
  Put32(h + 28, static_cast<std::uint32_t>(rate * channels * 2));
  Put16(h + 32, static_cast<std::uint16_t>(channels * 2));
  Put16(h + 34, 16);
  std::memcpy(h + 36, "data", 4);
  Put32(h + 40, dataBytes);
}

}  // namespace

WaveError ParseRiffWave(std::span<const std::uint8_t> bytes, WaveFormat& format,
                        std::span<const std::uint8_t>& data) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
    return WaveError::NotRiffWave;
  const std::uint32_t riffSize = Le32(bytes.data() + 4);
  if (riffSize < 4 || riffSize > bytes.size() - 8) return WaveError::Truncated;
  const auto form = bytes.subspan(12, riffSize - 4);

  bool truncated = false;
  std::span<const std::uint8_t> fmt;
  if (!FindChunk(form, "fmt ", fmt, truncated))
    return truncated ? WaveError::Truncated : WaveError::NoFormat;
  if (fmt.size() < 14) return WaveError::NoFormat;
  WaveFormat f;
  f.formatTag = Le16(fmt.data());
  f.channels = Le16(fmt.data() + 2);
  f.samplesPerSec = Le32(fmt.data() + 4);
  f.avgBytesPerSec = Le32(fmt.data() + 8);
  f.blockAlign = Le16(fmt.data() + 12);
  f.bitsPerSample = fmt.size() >= 16 ? Le16(fmt.data() + 14) : 0;
  if (f.formatTag != 1) return WaveError::NotPcm;

  std::span<const std::uint8_t> body;
  if (!FindChunk(form, "data", body, truncated))
    return truncated ? WaveError::Truncated : WaveError::NoData;
  format = f;
  data = body;
  return WaveError::None;
}

std::vector<std::uint8_t> MakeWaveFile(std::span<const std::int16_t> samples, int rate, int channels) {
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::vector<std::uint8_t> file(kHeaderSize + dataBytes);
  FillHeader(file.data(), dataBytes, rate, channels);
  for (std::size_t i = 0; i < samples.size(); ++i)
    Put16(file.data() + kHeaderSize + 2 * i, static_cast<std::uint16_t>(samples[i]));
  return file;
}

WaveWriter::WaveWriter(const std::string& path, int rate, int channels) : m_pFile(std::fopen(path.c_str(), "wb")) {
  if (!m_pFile) return;
  std::uint8_t header[kHeaderSize];
  FillHeader(header, 0, rate, channels);
  std::fwrite(header, 1, kHeaderSize, m_pFile);
  std::fflush(m_pFile);
}

WaveWriter::~WaveWriter() {
  if (m_pFile) std::fclose(m_pFile);
}

void WaveWriter::Write(const std::int16_t* samples, std::size_t count) {
  if (!m_pFile || count == 0) return;
  std::vector<std::uint8_t> bytes(count * 2);
  for (std::size_t i = 0; i < count; ++i) Put16(bytes.data() + 2 * i, static_cast<std::uint16_t>(samples[i]));
  std::fwrite(bytes.data(), 1, bytes.size(), m_pFile);
  m_nDataBytes += static_cast<std::uint32_t>(bytes.size());
  std::uint8_t size[4];
  Put32(size, 36 + m_nDataBytes);
  std::fseek(m_pFile, 4, SEEK_SET);
  std::fwrite(size, 1, 4, m_pFile);
  Put32(size, m_nDataBytes);
  std::fseek(m_pFile, 40, SEEK_SET);
  std::fwrite(size, 1, 4, m_pFile);
  std::fseek(m_pFile, 0, SEEK_END);
  std::fflush(m_pFile);
}

}  // namespace platform
