// DirectSound as the sound effects use it: one device object, static
// secondary buffers made from PCM waves, and duplicates that share a
// buffer's wave memory. Buffers are voices of the mixer.
//
// DirectSoundCreate opens the audio output (audio_output.h); it succeeds
// also when no device could be opened, and then the buffers play into the
// null sink (the output kind tells). Volumes are in hundredths of a
// decibel, clamped to -10000..0.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "platform/audio/audio_output.h"
#include "platform/audio/wave_file.h"

namespace platform {

constexpr unsigned DSBPLAY_LOOPING = 0x1;

class DirectSoundBuffer {
 public:
  ~DirectSoundBuffer();
  DirectSoundBuffer(const DirectSoundBuffer&) = delete;
  DirectSoundBuffer& operator=(const DirectSoundBuffer&) = delete;

  void Play(unsigned flags);
  void Stop();
  // Position in bytes of the wave the buffer was made from.
  void SetCurrentPosition(std::uint32_t bytes);
  void SetVolume(int volume);
  int GetVolume() const;
  bool IsPlaying() const;

 private:
  friend class DirectSound;
  DirectSoundBuffer(int voice, int bytesPerFrame, int rate)
      : m_nVoice(voice), m_nBytesPerFrame(bytesPerFrame), m_nRate(rate) {}
  int m_nVoice;
  int m_nBytesPerFrame;
  int m_nRate;
};

class DirectSound {
 public:
  ~DirectSound();
  DirectSound(const DirectSound&) = delete;
  DirectSound& operator=(const DirectSound&) = delete;

  // A buffer holding a copy of the wave; null when the format is not
  // 8- or 16-bit PCM in one or two channels.
  std::unique_ptr<DirectSoundBuffer> CreateSoundBuffer(const WaveFormat& format,
                                                       std::span<const std::uint8_t> data);
  // A buffer on the same wave memory, stopped, at the source's volume.
  std::unique_ptr<DirectSoundBuffer> DuplicateSoundBuffer(const DirectSoundBuffer& source);

  AudioOutputKind OutputKind() const { return m_Kind; }

 private:
  friend std::unique_ptr<DirectSound> DirectSoundCreate();
  explicit DirectSound(AudioOutputKind kind) : m_Kind(kind) {}
  AudioOutputKind m_Kind;
};

std::unique_ptr<DirectSound> DirectSoundCreate();

}  // namespace platform
