#include "platform/audio/audio_output.h"

#include <gtest/gtest.h>

#include "platform/audio/direct_sound.h"
#include "platform/audio/mixer.h"
#include "platform/files.h"
#include "support/scoped_audio.h"
#include "support/scoped_virtual_clock.h"
#include "support/temp_folder.h"

namespace {

using namespace platform;

TEST(AudioOutput, TheCaptureRecordsWhatThePumpRendersByTheClock) {
  TempFolder folder;
  const auto path = (folder / "out.wav").string();
  ScopedVirtualClock clock(5000);
  ScopedAudio audio(AudioOutputKind::Capture, path);
  {
    auto ds = DirectSoundCreate();
    ASSERT_EQ(ds->OutputKind(), AudioOutputKind::Capture);
    WaveFormat format{1, 1, 44100, 88200, 2, 16};
    const std::vector<std::uint8_t> loud = {0x00, 0x40, 0x00, 0x40};  // two frames at 0.5
    auto buffer = ds->CreateSoundBuffer(format, loud);
    ASSERT_TRUE(buffer);
    clock.Advance(10);  // 441 frames of silence
    PumpAudio();
    buffer->Play(DSBPLAY_LOOPING);
    clock.Advance(10);
    PumpAudio();
    PumpAudio();  // nothing more is due
  }  // the last user closes the output and finishes the file
  EXPECT_EQ(CurrentAudioOutput(), AudioOutputKind::Closed);

  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  WaveFormat format;
  std::span<const std::uint8_t> data;
  ASSERT_EQ(ParseRiffWave(bytes, format, data), WaveError::None);
  EXPECT_EQ(format.channels, 2);
  EXPECT_EQ(format.samplesPerSec, 44100u);
  ASSERT_EQ(data.size(), 882u * 4);
  auto sample = [&](std::size_t frame) { return static_cast<std::int16_t>(data[4 * frame] | (data[4 * frame + 1] << 8)); };
  EXPECT_EQ(sample(440), 0);
  EXPECT_EQ(sample(441), 16384);
  EXPECT_EQ(sample(881), 16384);
}

// Under the virtual clock a frame need not move the clock: the frame pump
// renders one frame's worth each call, and a second of frames a second of
// samples even where the rate does not divide.
TEST(AudioOutput, TheFramePumpRendersOneFramesWorthWhateverTheClock) {
  TempFolder folder;
  const auto path = (folder / "out.wav").string();
  ScopedVirtualClock clock(5000);
  ScopedAudio audio(AudioOutputKind::Capture, path);
  {
    auto ds = DirectSoundCreate();
    ASSERT_EQ(ds->OutputKind(), AudioOutputKind::Capture);
    for (int frame = 0; frame < 60; ++frame) PumpAudioFrame(60);
    for (int frame = 0; frame < 32; ++frame) PumpAudioFrame(32);  // 1378.125 a frame
    for (int frame = 0; frame < 40; ++frame) PumpAudioFrame(40);  // 1102.5 a frame
    PumpAudioFrame(0);  // no rate: nothing
  }
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  WaveFormat format;
  std::span<const std::uint8_t> data;
  ASSERT_EQ(ParseRiffWave(bytes, format, data), WaveError::None);
  EXPECT_EQ(data.size(), 3u * 44100u * 4u);
}

TEST(AudioOutput, ARefusedDeviceLeavesTheNullSinkAndUsersAreCounted) {
  ScopedAudio audio(AudioOutputKind::Device);
  SetAudioDeviceRefusedForTests(true);
  EXPECT_EQ(AcquireAudioOutput(), AudioOutputKind::Silent);
  EXPECT_EQ(AcquireAudioOutput(), AudioOutputKind::Silent);
  ReleaseAudioOutput();
  EXPECT_EQ(CurrentAudioOutput(), AudioOutputKind::Silent);
  ReleaseAudioOutput();
  EXPECT_EQ(CurrentAudioOutput(), AudioOutputKind::Closed);
  ReleaseAudioOutput();  // one too many does nothing
  EXPECT_EQ(CurrentAudioOutput(), AudioOutputKind::Closed);
}

}  // namespace
