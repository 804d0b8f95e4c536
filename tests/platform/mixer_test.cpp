#include "platform/audio/mixer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/audio/resampler.h"
#include "support/audio_samples.h"

namespace {

using namespace platform;

std::shared_ptr<const MixerPcm> Constant(float value, int frames) {
  return std::make_shared<MixerPcm>(static_cast<std::size_t>(frames) * 2, value);
}

// Voices made by a test are destroyed at its end.
class MixerTest : public testing::Test {
 protected:
  int Voice(std::shared_ptr<const MixerPcm> pcm) { return Keep(TheMixer().CreateVoice(std::move(pcm))); }
  int Keep(int voice) {
    m_Voices.push_back(voice);
    return voice;
  }
  ~MixerTest() override {
    for (int v : m_Voices) TheMixer().DestroyVoice(v);
  }
  std::vector<int> m_Voices;
};

TEST(VolumeToGain, FollowsHundredthsOfADecibel) {
  EXPECT_EQ(VolumeToGain(0), 1.0f);
  EXPECT_EQ(VolumeToGain(500), 1.0f);
  EXPECT_EQ(VolumeToGain(-10000), 0.0f);
  EXPECT_EQ(VolumeToGain(-20000), 0.0f);
  EXPECT_NEAR(VolumeToGain(-2000), 0.1f, 1e-6);
  EXPECT_NEAR(VolumeToGain(-600), 0.501f, 1e-3);
  EXPECT_GT(VolumeToGain(-9999), 0.0f);
}

TEST_F(MixerTest, AVoicePlaysOnceAtItsVolumeAndStops) {
  const int v = Voice(Constant(0.5f, 100));
  TheMixer().SetVoiceVolume(v, -2000);
  TheMixer().PlayVoice(v, false);
  const auto out = RenderFrames(150);
  EXPECT_NEAR(out[0], 0.05 * 32767, 1.0);
  EXPECT_NEAR(out[2 * 99 + 1], 0.05 * 32767, 1.0);
  EXPECT_EQ(PeakOf(out, 100, 50), 0);
  EXPECT_FALSE(TheMixer().IsVoicePlaying(v));
}

TEST_F(MixerTest, ALoopingVoiceWrapsToItsStart) {
  auto pcm = std::make_shared<MixerPcm>(MixerPcm{0.1f, 0.1f, 0.2f, 0.2f, 0.3f, 0.3f});
  const int v = Voice(pcm);
  TheMixer().PlayVoice(v, true);
  const auto out = RenderFrames(7);
  const int expected[] = {1, 2, 3, 1, 2, 3, 1};
  for (int i = 0; i < 7; ++i) EXPECT_NEAR(out[2 * i], expected[i] * 0.1 * 32767, 1.0) << i;
  EXPECT_TRUE(TheMixer().IsVoicePlaying(v));
}

TEST_F(MixerTest, DuplicatesShareTheWaveAndPlayOnTheirOwn) {
  const int a = Voice(Constant(0.25f, 10));
  TheMixer().SetVoiceVolume(a, -500);
  const int b = Keep(TheMixer().DuplicateVoice(a));
  ASSERT_NE(b, 0);
  EXPECT_EQ(TheMixer().GetVoiceVolume(b), -500);
  TheMixer().SetVoiceVolume(b, 0);
  TheMixer().PlayVoice(b, false);
  EXPECT_FALSE(TheMixer().IsVoicePlaying(a));
  EXPECT_NEAR(RenderFrames(1)[0], 0.25 * 32767, 1.0);
  EXPECT_EQ(TheMixer().DuplicateVoice(-5), 0);
}

TEST_F(MixerTest, TheSumIsClipped) {
  for (int i = 0; i < 3; ++i) TheMixer().PlayVoice(Voice(Constant(0.6f, 4)), false);
  for (int i = 0; i < 5; ++i) TheMixer().PlayVoice(Voice(Constant(-0.9f, 2)), false);
  const auto out = RenderFrames(4);
  EXPECT_EQ(out[0], -32767);  // 1.8 - 4.5
  EXPECT_EQ(out[4], 32767);   // 1.8
}

TEST_F(MixerTest, TheSampleClockCountsRenderedFrames) {
  const auto before = TheMixer().SampleClock();
  RenderFrames(300);
  RenderFrames(5);
  EXPECT_EQ(TheMixer().SampleClock() - before, 305u);
}

struct ConvertCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  int rate, bits, channels;
  std::size_t frames;
  float left, right;  // of frame 0
};

class ConvertPcmTest : public testing::TestWithParam<ConvertCase> {};

TEST_P(ConvertPcmTest, GivesStereoFloatAtTheMixerRate) {
  const auto& c = GetParam();
  const MixerPcm pcm = ConvertPcm(c.bytes, c.rate, c.bits, c.channels);
  ASSERT_EQ(pcm.size(), c.frames * 2);
  if (c.frames == 0) return;
  EXPECT_NEAR(pcm[0], c.left, 1e-4);
  EXPECT_NEAR(pcm[1], c.right, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ConvertPcmTest,
    testing::Values(ConvertCase{"Unsigned8Mono", {192, 64}, 44100, 8, 1, 2, 0.5f, 0.5f},
                    ConvertCase{"Signed16Stereo", {0x00, 0x40, 0x00, 0xC0}, 44100, 16, 2, 1, 0.5f, -0.5f},
                    ConvertCase{"HalfRateDoublesTheFrames", std::vector<std::uint8_t>(100, 200), 22050, 8, 1, 198,
                                72 / 128.0f, 72 / 128.0f},
                    ConvertCase{"TwentyFourBitsRefused", {0, 0, 0}, 44100, 24, 1, 0, 0, 0},
                    ConvertCase{"ThreeChannelsRefused", {0, 0, 0}, 44100, 8, 3, 0, 0, 0},
                    ConvertCase{"ZeroRateRefused", {0, 0}, 0, 8, 1, 0, 0, 0},
                    ConvertCase{"RateBelowAnyBufferRefused", {0, 0}, 99, 8, 1, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Resampler, ConvertsAStreamInPiecesAsInOne) {
  std::vector<float> input;
  for (int i = 0; i < 1000; ++i) {
    input.push_back(std::sin(i * 0.05f));
    input.push_back(std::cos(i * 0.05f));
  }
  std::vector<float> whole, pieces;
  Resampler a(32000), b(32000);
  a.Push(input.data(), 1000, whole);
  for (int at = 0; at < 1000; at += 77) b.Push(input.data() + 2 * at, std::min(77, 1000 - at), pieces);
  ASSERT_EQ(whole.size(), pieces.size());
  for (std::size_t i = 0; i < whole.size(); ++i) EXPECT_NEAR(whole[i], pieces[i], 1e-5) << i;
  EXPECT_NEAR(static_cast<double>(whole.size()) / 2, 1000 * 44100.0 / 32000, 2.0);
}

}  // namespace
