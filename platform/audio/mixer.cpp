#include "platform/audio/mixer.h"

#include <algorithm>
#include <cmath>

#include "platform/audio/resampler.h"

namespace platform {

float VolumeToGain(int volume) {
  if (volume <= kVolumeSilent) return 0.0f;
  if (volume >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

Mixer& TheMixer() {
  // Never destroyed: players held by global objects leave it at exit.
  static Mixer* mixer = new Mixer;
  return *mixer;
}

Mixer::Voice* Mixer::FindVoice(int id) {
  for (auto& v : m_Voices)
    if (v.id == id) return &v;
  return nullptr;
}

int Mixer::CreateVoice(std::shared_ptr<const MixerPcm> pcm) {
  std::lock_guard lock(m_Mutex);
  Voice v;
  v.id = m_nNextVoiceId++;
  v.pcm = std::move(pcm);
  m_Voices.push_back(std::move(v));
  return m_Voices.back().id;
}

int Mixer::DuplicateVoice(int voice) {
  std::lock_guard lock(m_Mutex);
  const Voice* source = FindVoice(voice);
  if (!source) return 0;
  Voice v;
  v.id = m_nNextVoiceId++;
  v.pcm = source->pcm;
  v.volume = source->volume;
  m_Voices.push_back(std::move(v));
  return m_Voices.back().id;
}

void Mixer::DestroyVoice(int voice) {
  std::lock_guard lock(m_Mutex);
  std::erase_if(m_Voices, [voice](const Voice& v) { return v.id == voice; });
}

void Mixer::PlayVoice(int voice, bool looping) {
  std::lock_guard lock(m_Mutex);
  if (Voice* v = FindVoice(voice)) {
    v->playing = true;
    v->looping = looping;
  }
}

void Mixer::SetVoicePosition(int voice, std::size_t frame) {
  std::lock_guard lock(m_Mutex);
  if (Voice* v = FindVoice(voice)) v->position = std::min(frame, v->pcm->size() / kMixerChannels);
}

void Mixer::StopVoice(int voice) {
  std::lock_guard lock(m_Mutex);
  if (Voice* v = FindVoice(voice)) v->playing = false;
}

bool Mixer::IsVoicePlaying(int voice) {
  std::lock_guard lock(m_Mutex);
  const Voice* v = FindVoice(voice);
  return v && v->playing;
}

void Mixer::SetVoiceVolume(int voice, int volume) {
  std::lock_guard lock(m_Mutex);
  if (Voice* v = FindVoice(voice)) v->volume = std::clamp(volume, kVolumeSilent, 0);
}

int Mixer::GetVoiceVolume(int voice) {
  std::lock_guard lock(m_Mutex);
  const Voice* v = FindVoice(voice);
  return v ? v->volume : 0;
}

std::size_t Mixer::VoiceCount() {
  std::lock_guard lock(m_Mutex);
  return m_Voices.size();
}

void Mixer::AddSource(MixerSource* source) {
  std::lock_guard lock(m_Mutex);
  if (std::find(m_Sources.begin(), m_Sources.end(), source) == m_Sources.end())
    m_Sources.push_back(source);
}

void Mixer::RemoveSource(MixerSource* source) {
  std::lock_guard lock(m_Mutex);
  std::erase(m_Sources, source);
}

std::uint64_t Mixer::SampleClock() {
  std::lock_guard lock(m_Mutex);
  return m_nSampleClock;
}

void Mixer::Render(std::int16_t* out, int frames) {
  std::lock_guard lock(m_Mutex);
  const std::size_t samples = static_cast<std::size_t>(frames) * kMixerChannels;
  m_Scratch.assign(samples, 0.0f);
  float* mix = m_Scratch.data();
  for (auto& v : m_Voices) {
    if (!v.playing) continue;
    const float gain = VolumeToGain(v.volume);
    const std::size_t total = v.pcm->size() / kMixerChannels;
    std::size_t done = 0;
    while (done < static_cast<std::size_t>(frames) && v.playing) {
      if (v.position >= total) {
        v.position = 0;
        if (!v.looping || total == 0) {
          v.playing = false;
          break;
        }
      }
      const std::size_t n = std::min<std::size_t>(frames - done, total - v.position);
      const float* in = v.pcm->data() + v.position * kMixerChannels;
      float* to = mix + done * kMixerChannels;
      for (std::size_t i = 0; i < n * kMixerChannels; ++i) to[i] += in[i] * gain;
      v.position += n;
      done += n;
    }
  }
  for (MixerSource* source : m_Sources) source->Mix(mix, frames);
  for (std::size_t i = 0; i < samples; ++i) {
    const float s = std::clamp(mix[i], -1.0f, 1.0f);
    out[i] = static_cast<std::int16_t>(std::lrint(s * 32767.0f));
  }
  m_nSampleClock += static_cast<std::uint64_t>(frames);
}

MixerPcm ConvertPcm(std::span<const std::uint8_t> data, int rate, int bits, int channels) {
  // The rates a sound buffer accepts.
  if ((bits != 8 && bits != 16) || (channels != 1 && channels != 2) || rate < 100 || rate > 200000) return {};
  const std::size_t bytesPerFrame = static_cast<std::size_t>(bits / 8 * channels);
  const std::size_t frames = data.size() / bytesPerFrame;
  std::vector<float> stereo;
  stereo.reserve(frames * 2);
  for (std::size_t f = 0; f < frames; ++f) {
    const std::uint8_t* p = data.data() + f * bytesPerFrame;
    float s[2];
    for (int c = 0; c < channels; ++c) {
      s[c] = bits == 8 ? (p[c] - 128) / 128.0f
                       : static_cast<std::int16_t>(p[2 * c] | (p[2 * c + 1] << 8)) / 32768.0f;
    }
    stereo.push_back(s[0]);
    stereo.push_back(channels == 2 ? s[1] : s[0]);
  }
  MixerPcm converted;
  Resampler resampler(rate);
  resampler.Push(stereo.data(), static_cast<int>(frames), converted);
  return converted;
}

}  // namespace platform
