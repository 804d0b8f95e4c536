#include "platform/audio/wave_file.h"

#include <gtest/gtest.h>

#include <string>

#include "support/byte_builder.h"

namespace {

using platform::WaveError;

// A chunk: id, size (the body's own unless given), body.
std::vector<std::uint8_t> Chunk(const char* id, const std::vector<std::uint8_t>& body,
                                long size = -1) {
  ByteBuilder b;
  b.Raw(id, 4).U32(static_cast<std::uint32_t>(size < 0 ? body.size() : size)).Bytes(body);
  return b.Get();
}

std::vector<std::uint8_t> Fmt(std::uint16_t tag, std::uint16_t channels = 1, std::uint32_t rate = 22050,
                              std::uint16_t bits = 8) {
  ByteBuilder b;
  b.U16(tag).U16(channels).U32(rate).U32(rate * channels * bits / 8).U16(channels * bits / 8).U16(bits);
  return b.Get();
}

std::vector<std::uint8_t> Riff(const std::vector<std::vector<std::uint8_t>>& chunks, long extraSize = 0) {
  ByteBuilder body;
  body.Raw("WAVE", 4);
  for (const auto& c : chunks) body.Bytes(c);
  return Chunk("RIFF", body.Get(), static_cast<long>(body.Size()) + extraSize);
}

const std::vector<std::uint8_t> kData = {1, 2, 3, 4, 5};

struct WaveCase {
  std::string name;
  std::vector<std::uint8_t> file;
  WaveError expected;
};

class ParseRiffWaveTest : public testing::TestWithParam<WaveCase> {};

TEST_P(ParseRiffWaveTest, RefusesOrReadsWithinTheFile) {
  const auto& c = GetParam();
  platform::WaveFormat format;
  std::span<const std::uint8_t> data;
  EXPECT_EQ(platform::ParseRiffWave(c.file, format, data), c.expected);
  if (c.expected == WaveError::None) {
    EXPECT_EQ(format.formatTag, 1);
    EXPECT_EQ(std::vector<std::uint8_t>(data.begin(), data.end()), kData);
    EXPECT_GE(data.data(), c.file.data());
    EXPECT_LE(data.data() + data.size(), c.file.data() + c.file.size());
  }
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> v, std::size_t n) {
  v.resize(v.size() - n);
  return v;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseRiffWaveTest,
    testing::Values(
        WaveCase{"Plain", Riff({Chunk("fmt ", Fmt(1)), Chunk("data", kData)}), WaveError::None},
        WaveCase{"OtherChunksAndPaddingAreSkipped",
                 Riff({Chunk("LIST", {9, 9, 9}), {0}, Chunk("fmt ", Fmt(1)), Chunk("fact", {0, 0, 0, 0}),
                       Chunk("data", kData)}),
                 WaveError::None},
        WaveCase{"DataBeforeFormat", Riff({Chunk("data", kData), {0}, Chunk("fmt ", Fmt(1))}), WaveError::None},
        WaveCase{"ShortFormatRecord", Riff({Chunk("fmt ", {1, 0, 1, 0, 0x22, 0x56, 0, 0}), Chunk("data", kData)}),
                 WaveError::NoFormat},
        WaveCase{"NotPcm", Riff({Chunk("fmt ", Fmt(2)), Chunk("data", kData)}), WaveError::NotPcm},
        WaveCase{"FloatFormat", Riff({Chunk("fmt ", Fmt(3, 1, 44100, 32)), Chunk("data", kData)}),
                 WaveError::NotPcm},
        WaveCase{"NoFormatChunk", Riff({Chunk("data", kData)}), WaveError::NoFormat},
        WaveCase{"NoDataChunk", Riff({Chunk("fmt ", Fmt(1))}), WaveError::NoData},
        WaveCase{"NotRiff", Chunk("RIFX", {'W', 'A', 'V', 'E'}), WaveError::NotRiffWave},
        WaveCase{"NotWave", Chunk("RIFF", {'A', 'V', 'I', ' '}), WaveError::NotRiffWave},
        WaveCase{"Empty", {}, WaveError::NotRiffWave},
        WaveCase{"DataChunkPastTheFile", Riff({Chunk("fmt ", Fmt(1)), Chunk("data", kData, 0x7FFFFFF0)}),
                 WaveError::Truncated},
        WaveCase{"DataChunkSizeNearFourGigabytes",
                 Riff({Chunk("fmt ", Fmt(1)), Chunk("data", kData, 0xFFFFFFFF)}), WaveError::Truncated},
        WaveCase{"FormatChunkPastTheForm", Riff({Chunk("fmt ", Fmt(1), 4000)}), WaveError::Truncated},
        WaveCase{"RiffSizePastTheFile", Riff({Chunk("fmt ", Fmt(1)), Chunk("data", kData)}, 100),
                 WaveError::Truncated},
        WaveCase{"FileCutInsideTheData", Cut(Riff({Chunk("fmt ", Fmt(1)), Chunk("data", kData)}), 2),
                 WaveError::Truncated}),
    [](const testing::TestParamInfo<WaveCase>& info) { return info.param.name; });

TEST(MakeWaveFile, WritesAFileTheReaderReadsBack) {
  const std::vector<std::int16_t> samples = {0, 1000, -1000, 32767, -32768, 5};
  const auto file = platform::MakeWaveFile(samples, 44100, 2);
  platform::WaveFormat format;
  std::span<const std::uint8_t> data;
  ASSERT_EQ(platform::ParseRiffWave(file, format, data), WaveError::None);
  EXPECT_EQ(format.channels, 2);
  EXPECT_EQ(format.samplesPerSec, 44100u);
  EXPECT_EQ(format.bitsPerSample, 16);
  ASSERT_EQ(data.size(), samples.size() * 2);
  EXPECT_EQ(static_cast<std::int16_t>(data[6] | (data[7] << 8)), 32767);
}

}  // namespace
