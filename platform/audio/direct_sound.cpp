#include "platform/audio/direct_sound.h"

#include "platform/audio/mixer.h"

namespace platform {

std::unique_ptr<DirectSound> DirectSoundCreate() {
  return std::unique_ptr<DirectSound>(new DirectSound(AcquireAudioOutput()));
}

DirectSound::~DirectSound() { ReleaseAudioOutput(); }

std::unique_ptr<DirectSoundBuffer> DirectSound::CreateSoundBuffer(const WaveFormat& format,
                                                                  std::span<const std::uint8_t> data) {
  auto pcm = std::make_shared<MixerPcm>(
      ConvertPcm(data, static_cast<int>(format.samplesPerSec), format.bitsPerSample, format.channels));
  if (pcm->empty() && !data.empty()) return nullptr;
  const int bytesPerFrame = format.bitsPerSample / 8 * format.channels;
  if (bytesPerFrame == 0) return nullptr;
  const int voice = TheMixer().CreateVoice(std::move(pcm));
  return std::unique_ptr<DirectSoundBuffer>(
      new DirectSoundBuffer(voice, bytesPerFrame, static_cast<int>(format.samplesPerSec)));
}

std::unique_ptr<DirectSoundBuffer> DirectSound::DuplicateSoundBuffer(const DirectSoundBuffer& source) {
  const int voice = TheMixer().DuplicateVoice(source.m_nVoice);
  if (voice == 0) return nullptr;
  return std::unique_ptr<DirectSoundBuffer>(
      new DirectSoundBuffer(voice, source.m_nBytesPerFrame, source.m_nRate));
}

DirectSoundBuffer::~DirectSoundBuffer() { TheMixer().DestroyVoice(m_nVoice); }

void DirectSoundBuffer::Play(unsigned flags) { TheMixer().PlayVoice(m_nVoice, (flags & DSBPLAY_LOOPING) != 0); }
void DirectSoundBuffer::Stop() { TheMixer().StopVoice(m_nVoice); }

void DirectSoundBuffer::SetCurrentPosition(std::uint32_t bytes) {
  const std::uint64_t frame = bytes / static_cast<std::uint32_t>(m_nBytesPerFrame);
  TheMixer().SetVoicePosition(m_nVoice, static_cast<std::size_t>(frame * kMixerRate / static_cast<std::uint64_t>(m_nRate)));
}

void DirectSoundBuffer::SetVolume(int volume) { TheMixer().SetVoiceVolume(m_nVoice, volume); }
int DirectSoundBuffer::GetVolume() const { return TheMixer().GetVoiceVolume(m_nVoice); }
bool DirectSoundBuffer::IsPlaying() const { return TheMixer().IsVoicePlaying(m_nVoice); }

}  // namespace platform
