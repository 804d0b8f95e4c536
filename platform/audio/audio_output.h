// Where the mixer's samples go: the SDL audio device, a null sink, or a WAV
// file that captures them.
//
// The output is opened by its first user and closed by its last (the sound
// effects, the Ogg player and the MIDI stream each hold it while they are
// started). The choice is made when it opens:
// - PLAYER_HEADLESS=1: no device. With PLAYER_AUDIO_CAPTURE=file.wav the
//   samples are written to that file, else they are dropped.
// - otherwise the default SDL audio device; when it does not open, SDL's
//   dummy driver (DummyDevice, also when SDL_AUDIODRIVER=dummy chose it);
//   when that is refused too, the null sink (Silent). alsa-lib's own error
//   lines are kept off standard error.
// Headless outputs are pulled once a game frame: by PumpAudio, which renders
// the samples due by the platform clock, or, under the virtual clock (which
// need not advance while frames are presented), by PumpAudioFrame, which
// renders exactly one frame's worth. The device pulls by itself from its own
// thread.
#pragma once

#include <string>

namespace platform {

enum class AudioOutputKind {
  Closed,
  Device,       // an SDL audio device
  DummyDevice,  // SDL's dummy driver: pulled like a device, heard nowhere
  Null,         // headless, samples dropped
  Capture,      // headless, samples written to a WAV file
  Silent,       // no device could be opened: samples dropped
};

// Opens the output for one more user; the kind now open.
AudioOutputKind AcquireAudioOutput();
// One user fewer; the last one closes the output (and finishes the file).
void ReleaseAudioOutput();
AudioOutputKind CurrentAudioOutput();

// Renders into a headless output the frames that the clock says are due
// since the output opened. Does nothing for the device.
void PumpAudio();
// Renders into a headless output one frame's worth of samples at
// nFramesPerSecond frames a second. Does nothing for the device.
void PumpAudioFrame(int nFramesPerSecond);

// Test seams. The output kind and capture file to use at the next opening in
// place of the environment's (Closed: follow the environment again); and a
// device that refuses to open, as on a machine without sound.
void SetAudioOutputForTests(AudioOutputKind kind, const std::string& capturePath = {});
void SetAudioDeviceRefusedForTests(bool refused);

}  // namespace platform
