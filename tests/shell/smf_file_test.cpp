#include "shell/sound/smf_file.h"

#include <gtest/gtest.h>

#include "base/report.h"
#include "smf_writer.h"
#include "support/temp_folder.h"
#include "support/utf8.h"

namespace {

// An SMF reader fed with bytes instead of a file.
struct SmfBytes : cSmfFile {
  SmfBytes() = default;
};

// The events of an image after its header: (delta, bytes from the status on).
std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> Events(const std::vector<std::uint8_t>& image) {
  std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> events;
  std::size_t at = cSmfFile::kHeaderSize;
  while (at < image.size()) {
    std::uint32_t delta = 0;
    at += static_cast<std::size_t>(cSmfFile::ReadVarLen(std::span(image).subspan(at), delta));
    const std::uint8_t status = image[at];
    std::size_t length = status >= 0xC0 && status <= 0xDF ? 2 : 3;
    if (status == 0xFF) length = 3 + image[at + 2];
    if (status == 0xF0) length = 2 + image[at + 1];
    events.push_back({delta, std::vector<std::uint8_t>(image.begin() + static_cast<long>(at),
                                                        image.begin() + static_cast<long>(at + length))});
    at += length;
  }
  return events;
}

using Bytes = std::vector<std::uint8_t>;

class SmfFileTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(OpenReport("Report_Game.txt"), 1); }
  std::string Report() const { return ReadTextFile(m_Folder / "Report_Game.txt"); }
  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter{m_Folder.path()};
};

TEST_F(SmfFileTest, AFormatOneFileBecomesOneTrackInTimeAndTrackOrder) {
  SmfTrack t0, t1, t2;
  t0.Tempo(0, 400000).NoteOn(10, 0, 60, 100).End(50);
  t1.NoteOn(10, 1, 61, 100).NoteOff(90, 1, 61).End(0);  // ends last, at 100
  t2.Program(0, 2, 5).NoteOn(10, 2, 62, 100).End(0);
  SmfBytes smf;
  const Bytes image = smf.Parse(MakeSmf(1, 480, {t0, t1, t2}));
  ASSERT_FALSE(image.empty());
  EXPECT_EQ(Bytes(image.begin(), image.begin() + 14),
            (Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0}));
  EXPECT_EQ(Bytes(image.begin() + 14, image.begin() + 18), (Bytes{'M', 'T', 'r', 'k'}));
  const std::uint32_t length = (image[18] << 24) | (image[19] << 16) | (image[20] << 8) | image[21];
  EXPECT_EQ(length, image.size() - 22);
  const decltype(Events(image)) expected = {
      {0, {0xFF, 0x51, 0x03, 0x06, 0x1A, 0x80}}, {0, {0xC2, 5}},          {10, {0x90, 60, 100}},
      {0, {0x91, 61, 100}},                       {0, {0x92, 62, 100}},    {90, {0x81, 61, 0}},
      {0, {0xFF, 0x2F, 0x00}}};
  EXPECT_EQ(Events(image), expected);
}

TEST_F(SmfFileTest, RunningStatusIsWrittenOutAndSysExKept) {
  SmfTrack t;
  t.NoteOn(0, 3, 60, 90).Raw({0x05, 62, 91}).Raw({0x00, 64, 0});  // two events under running status
  t.SysEx(7, {0x41, 0x10, 0x42, 0x12, 0xF7}).End(3);
  SmfBytes smf;
  const Bytes image = smf.Parse(MakeSmf(0, 96, {t}));
  const decltype(Events(image)) expected = {{0, {0x93, 60, 90}},
                                            {5, {0x93, 62, 91}},
                                            {0, {0x93, 64, 0}},
                                            {7, {0xF0, 5, 0x41, 0x10, 0x42, 0x12, 0xF7}},
                                            {3, {0xFF, 0x2F, 0x00}}};
  EXPECT_EQ(Events(image), expected);
}

struct DamagedCase {
  std::string name;
  Bytes file;
  const char8_t* report;  // a part of the report line; nullptr: read
  std::size_t events;     // when read
};

class SmfDamagedTest : public SmfFileTest, public testing::WithParamInterface<DamagedCase> {};

Bytes WithByte(Bytes b, std::size_t at, std::uint8_t value) {
  b[at] = value;
  return b;
}

Bytes Cut(Bytes b, std::size_t n) {
  b.resize(b.size() - n);
  return b;
}

const SmfTrack kPlain = SmfTrack().NoteOn(0, 0, 60, 100).NoteOff(10, 0, 60).End(0);

TEST_P(SmfDamagedTest, IsRefusedWithItsReportOrReadWithinBounds) {
  const auto& c = GetParam();
  SmfBytes smf;
  const Bytes image = smf.Parse(c.file);
  if (!c.report) {
    ASSERT_FALSE(image.empty());
    EXPECT_EQ(Events(image).size(), c.events);
    EXPECT_EQ(Report(), "");
  } else {
    EXPECT_TRUE(image.empty());
    EXPECT_NE(Report().find(Utf8(c.report)), std::string::npos) << Report();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SmfDamagedTest,
    testing::Values(
        DamagedCase{"NotMThd", WithByte(MakeSmf(0, 96, {kPlain}), 0, 'X'), u8"標準MIDIでない(4)", 0},
        DamagedCase{"HeaderLengthSeven", WithByte(MakeSmf(0, 96, {kPlain}), 7, 7), u8"標準MIDIでない(6)", 0},
        DamagedCase{"FormatTwo", MakeSmf(2, 96, {kPlain}), u8"対応フォーマットが2でない", 0},
        DamagedCase{"FormatThree", MakeSmf(3, 96, {kPlain}), u8"対応フォーマットが0または1でない", 0},
        DamagedCase{"NoTrackChunk", WithByte(MakeSmf(0, 96, {kPlain}), 14, 'X'), u8"標準MIDIでない(4)", 0},
        DamagedCase{"HeaderOnly", Cut(MakeSmf(0, 96, {kPlain}), 8 + kPlain.Bytes().size()), u8"標準MIDIでない(4)", 0},
        DamagedCase{"DataByteWithoutStatus", MakeSmf(0, 96, {SmfTrack().Raw({0x00, 0x3C, 0x40}).End(0)}),
                    u8"トラック1が壊れています", 0},
        DamagedCase{"DeltaLongerThanFourBytes", MakeSmf(0, 96, {SmfTrack().Raw({0x81, 0x81, 0x81, 0x81, 0x01})}),
                    u8"トラック1が壊れています", 0},
        DamagedCase{"EventCutByTheChunk", MakeSmf(0, 96, {SmfTrack().NoteOn(0, 0, 60, 100).Raw({0x00, 0x80, 60})}),
                    u8"トラック1が壊れています", 0},
        DamagedCase{"SysExLongerThanItsChunk", MakeSmf(0, 96, {SmfTrack().Raw({0x00, 0xF0, 0x7F, 1, 2})}),
                    u8"トラック1が壊れています", 0},
        DamagedCase{"SecondTrackDamaged", MakeSmf(1, 96, {kPlain, SmfTrack().Raw({0x00, 0x3C})}),
                    u8"トラック2が壊れています", 0},
        DamagedCase{"TrackWithoutEndMarker", MakeSmf(0, 96, {SmfTrack().NoteOn(0, 0, 60, 100).NoteOff(10, 0, 60)}),
                    nullptr, 3},
        DamagedCase{"ChunkLengthPastTheFile", MakeSmf(0, 96, {kPlain}, 1000), nullptr, 3},
        DamagedCase{"FileCutAfterAnEvent", Cut(MakeSmf(0, 96, {kPlain}), 4), nullptr, 3},
        DamagedCase{"FewerTracksThanCounted", WithByte(MakeSmf(1, 96, {kPlain}), 11, 9), nullptr, 3},
        DamagedCase{"OtherChunksArePassedOver",
                    [] {
                      Bytes b = MakeSmf(1, 96, {kPlain, kPlain});
                      const std::size_t second = 14 + 8 + kPlain.Bytes().size();
                      b.insert(b.begin() + static_cast<long>(second), {'X', 'F', 'I', 'H', 0, 0, 0, 2, 9, 9});
                      return b;
                    }(),
                    nullptr, 5}),
    [](const testing::TestParamInfo<DamagedCase>& info) { return info.param.name; });

TEST_F(SmfFileTest, AMissingFileIsReported) {
  cSmfFile smf("bgm\\none.mid");
  EXPECT_FALSE(smf.HasImage());
  EXPECT_NE(Report().find(Utf8(u8"Midi bgm\\none.mid Create ファイルが開けません")), std::string::npos);
}

TEST(SmfVarLen, ReadsAndWritesUpToFourBytes) {
  const struct {
    std::uint32_t value;
    Bytes bytes;
  } cases[] = {{0, {0x00}},
               {0x7F, {0x7F}},
               {0x80, {0x81, 0x00}},
               {0x2000, {0xC0, 0x00}},
               {0x1FFFFF, {0xFF, 0xFF, 0x7F}},
               {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}}};
  for (const auto& c : cases) {
    Bytes out;
    EXPECT_EQ(cSmfFile::WriteVarLen(out, c.value), static_cast<int>(c.bytes.size()));
    EXPECT_EQ(out, c.bytes);
    std::uint32_t value = 1234;
    EXPECT_EQ(cSmfFile::ReadVarLen(c.bytes, value), static_cast<int>(c.bytes.size()));
    EXPECT_EQ(value, c.value);
  }
  Bytes out;
  EXPECT_EQ(cSmfFile::WriteVarLen(out, 0x10000000), 0);
  EXPECT_TRUE(out.empty());
  std::uint32_t value = 0;
  EXPECT_EQ(cSmfFile::ReadVarLen(Bytes{0x80, 0x80, 0x80, 0x80, 0x00}, value), 0);
  EXPECT_EQ(cSmfFile::ReadVarLen(Bytes{0x81}, value), 0);  // the end comes first
}

}  // namespace
