// The mixer: every sound of the program is summed here into one stereo
// stream of 16-bit samples at 44100 Hz.
//
// Voices play converted PCM samples (a sample may be shared by several
// voices: a duplicated sound buffer). Sources (the Ogg player, the MIDI
// stream) add their own samples while the mixer renders. Volumes are in
// hundredths of a decibel, -10000 (silence) to 0 (full). The sum is clipped.
//
// The mixer is pulled: Render is called by the audio output (the SDL device
// callback, the headless pump or a test). Every entry point takes the
// mixer's lock briefly; Render holds it while it mixes, so a source's Mix
// runs with the lock held and must not wait on anything but the lock-free
// or briefly locked hand-overs of its own. The sample clock counts the
// frames rendered so far: the MIDI stream schedules its events on it.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

namespace platform {

constexpr int kMixerRate = 44100;
constexpr int kMixerChannels = 2;
constexpr int kVolumeSilent = -10000;

// Gain of a volume in hundredths of a decibel: 10^(v/2000), exactly 0 at
// -10000 and below, 1 at 0 and above.
float VolumeToGain(int volume);

// Interleaved stereo float samples at the mixer's rate.
using MixerPcm = std::vector<float>;

class MixerSource {
 public:
  virtual ~MixerSource() = default;
  // Adds frames stereo frames into out (interleaved); called with the
  // mixer's lock held.
  virtual void Mix(float* out, int frames) = 0;
};

class Mixer {
 public:
  Mixer() = default;
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  // Voices. A voice is stopped at creation, at volume 0 (full).
  int CreateVoice(std::shared_ptr<const MixerPcm> pcm);
  int DuplicateVoice(int voice);  // 0 when voice does not exist
  void DestroyVoice(int voice);
  // Plays from the voice's position; a looping voice wraps to its start.
  void PlayVoice(int voice, bool looping);
  void StopVoice(int voice);
  void SetVoicePosition(int voice, std::size_t frame);
  bool IsVoicePlaying(int voice);
  void SetVoiceVolume(int voice, int volume);
  int GetVoiceVolume(int voice);
  std::size_t VoiceCount();

  void AddSource(MixerSource* source);
  void RemoveSource(MixerSource* source);

  // Renders frames stereo frames into out (2 x frames samples) and advances
  // the sample clock.
  void Render(std::int16_t* out, int frames);
  std::uint64_t SampleClock();

  std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(m_Mutex); }

 private:
  struct Voice {
    int id = 0;
    std::shared_ptr<const MixerPcm> pcm;
    std::size_t position = 0;  // in frames
    bool playing = false;
    bool looping = false;
    int volume = 0;
  };
  Voice* FindVoice(int id);  // m_Mutex held

  std::mutex m_Mutex;
  std::vector<Voice> m_Voices;
  std::vector<MixerSource*> m_Sources;
  std::vector<float> m_Scratch;
  int m_nNextVoiceId = 1;
  std::uint64_t m_nSampleClock = 0;
};

// The process-wide mixer that the sound effects, the Ogg player and the MIDI
// stream share.
Mixer& TheMixer();

// Converts PCM of 100 to 200000 samples per second, 8-bit unsigned or
// 16-bit signed, mono or stereo, to the mixer's format. Empty when the
// format is not one of those.
MixerPcm ConvertPcm(std::span<const std::uint8_t> data, int rate, int bits, int channels);

}  // namespace platform
