#include "platform/audio/ogg_player.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ogg_encoder.h"
#include "support/audio_samples.h"
#include "support/scoped_audio.h"
#include "support/temp_folder.h"

namespace {

using namespace platform;

constexpr int kPieceFrames = 11025;  // a quarter of a second

// A stereo piece at the mixer's rate: a tone that fades in, so that every
// sample of one pass differs from its neighbours.
std::vector<std::uint8_t> TonePiece(int rate = kMixerRate) {
  std::vector<float> samples;
  for (int i = 0; i < kPieceFrames * rate / kMixerRate; ++i) {
    const float s = 0.5f * std::sin(i * 2 * 3.14159265f * 441 / rate) * (0.3f + 0.7f * i / kPieceFrames);
    samples.push_back(s);
    samples.push_back(-s);
  }
  return EncodeOggVorbis(samples, rate, 2);
}

class OggPlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    const auto piece = TonePiece();
    ASSERT_FALSE(piece.empty());
    WriteTextFile(m_Folder / "Piece.ogg", std::string(piece.begin(), piece.end()));
    m_pVox = CreateOggPlayer();
  }
  void TearDown() override { m_pVox->Delete(); }

  ScopedAudio m_Audio;
  TempFolder m_Folder;
  ScopedCurrentFolder m_Enter{m_Folder.path()};
  IVox* m_pVox = nullptr;
};

TEST_F(OggPlayerTest, AnEndlessLoopIsSampleExact) {
  ASSERT_NE(m_pVox->Load("PIECE.ogg"), 0);
  m_pVox->SetLoop(kVoxLoopEndless);
  m_pVox->Play();
  const auto out = RenderFrames(3 * kPieceFrames + 100);
  EXPECT_GT(PeakOf(out, 0, kPieceFrames), 8000);
  int mismatches = 0;
  for (std::size_t i = 0; i < 2 * static_cast<std::size_t>(kPieceFrames) * 2; ++i)
    if (out[i] != out[i + 2 * kPieceFrames]) ++mismatches;
  EXPECT_EQ(mismatches, 0);
}

TEST_F(OggPlayerTest, PlaysOnceThenFallsSilentAndStopRewinds) {
  ASSERT_NE(m_pVox->Load("piece.ogg"), 0);
  m_pVox->SetLoop(0);
  m_pVox->Play();
  const auto first = RenderFrames(kPieceFrames + 4000);
  EXPECT_GT(PeakOf(first, kPieceFrames - 2000, 1000), 8000);
  EXPECT_EQ(PeakOf(first, kPieceFrames, 4000), 0);

  m_pVox->Play();  // after the end: from the start again
  const auto again = RenderFrames(1000);
  EXPECT_EQ(std::vector<std::int16_t>(again.begin(), again.end()),
            std::vector<std::int16_t>(first.begin(), first.begin() + 2000));
  m_pVox->Stop();
  EXPECT_EQ(PeakOf(RenderFrames(1000), 0, 1000), 0);
  m_pVox->Play();  // a stop rewinds
  EXPECT_EQ(RenderFrames(1000), again);
}

TEST_F(OggPlayerTest, AnotherRateIsConvertedToTheMixerRate) {
  const auto piece = TonePiece(22050);
  WriteTextFile(m_Folder / "half.ogg", std::string(piece.begin(), piece.end()));
  ASSERT_NE(m_pVox->Load("half.ogg"), 0);
  m_pVox->Play();
  const auto out = RenderFrames(kPieceFrames + 2000);
  EXPECT_GT(PeakOf(out, kPieceFrames - 1500, 1000), 8000);
  EXPECT_EQ(PeakOf(out, kPieceFrames + 500, 1500), 0);
}

TEST_F(OggPlayerTest, FilesThatAreNotOggDoNotLoadAndDamagedOnesEndWithoutSpinning) {
  WriteTextFile(m_Folder / "text.ogg", "OggS but not really");
  EXPECT_EQ(m_pVox->Load("text.ogg"), 0);
  EXPECT_EQ(m_pVox->Load("missing.ogg"), 0);
  EXPECT_EQ(m_pVox->Load(nullptr), 0);
  m_pVox->Play();  // nothing loaded: nothing plays
  EXPECT_EQ(PeakOf(RenderFrames(512), 0, 512), 0);

  auto piece = TonePiece();
  for (std::size_t i = piece.size() / 2; i < piece.size(); i += 7) piece[i] ^= 0x5A;
  WriteTextFile(m_Folder / "damaged.ogg", std::string(piece.begin(), piece.end()));
  if (m_pVox->Load("damaged.ogg")) {
    m_pVox->SetLoop(kVoxLoopEndless);
    m_pVox->Play();
    RenderFrames(4 * kPieceFrames);  // returns: a damaged stream loops or stops, never spins
  }
}

}  // namespace
