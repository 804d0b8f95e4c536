// Audio for one test: the output opens headless (nothing plays on a device;
// the test pulls samples from the mixer itself, or a capture file records
// what PumpAudio renders), and the environment's choice is back afterwards.
#pragma once

#include <string>

#include "platform/audio/audio_output.h"

class ScopedAudio {
 public:
  explicit ScopedAudio(platform::AudioOutputKind kind = platform::AudioOutputKind::Null,
                       const std::string& capturePath = {}) {
    platform::SetAudioOutputForTests(kind, capturePath);
  }
  ~ScopedAudio() {
    platform::SetAudioOutputForTests(platform::AudioOutputKind::Closed);
    platform::SetAudioDeviceRefusedForTests(false);
  }
  ScopedAudio(const ScopedAudio&) = delete;
  ScopedAudio& operator=(const ScopedAudio&) = delete;
};
