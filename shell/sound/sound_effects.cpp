#include "shell/sound/sound_effects.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "base/checked_access.h"
#include "base/report.h"
#include "platform/audio/mixer.h"
#include "platform/files.h"

std::vector<SOUNDDATA> g_vSound;
std::vector<SOUNDDEF> g_vSoundDef;

const int g_anSoundVolumeScale[11] = {-10000, -3000, -2000, -1300, -800, -500, -300, -150, -80, -30, 0};

namespace {

std::recursive_mutex g_SoundMutex;  // the state below and every SOUNDDATA
std::unique_ptr<platform::DirectSound> g_lpDS;
const void* g_hSoundWindow = nullptr;
std::vector<SOUNDDATA>* g_pSounds = nullptr;
std::vector<SOUNDDEF>* g_pSoundDefs = nullptr;

platform::DirectSoundBuffer* BufferAt(SOUNDDATA* sound, int index) {
  if (!sound || index < 0 || static_cast<std::size_t>(index) >= sound->lpBuffers.size()) return nullptr;
  return sound->lpBuffers[static_cast<std::size_t>(index)].get();
}

}  // namespace

bool DS_Init(const void* window, int samplesPerSec, int bitsPerSample, int channels) {
  std::lock_guard lock(g_SoundMutex);
  // The mixer has one output format of its own; the primary buffer's format
  // is only a wish, as on modern systems.
  (void)samplesPerSec;
  (void)bitsPerSample;
  (void)channels;
  if (g_lpDS) return true;
  g_lpDS = platform::DirectSoundCreate();
  if (!g_lpDS) {
    ErrorLog("DIRECTSOUNDCREATE_ERR!");
    return false;
  }
  // Without a sound card the player says so once, in the report and on
  // standard error, and plays on.
  const platform::AudioOutputKind kind = g_lpDS->OutputKind();
  if (kind == platform::AudioOutputKind::Silent || kind == platform::AudioOutputKind::DummyDevice) {
    ReportF("No audio device could be opened: the game runs silent");
    std::fprintf(stderr, "player: no audio device could be opened: the game runs silent\n");
  }
  g_hSoundWindow = window;
  g_pSounds = nullptr;
  g_pSoundDefs = nullptr;
  return true;
}

bool DS_IsOn() {
  std::lock_guard lock(g_SoundMutex);
  return g_lpDS != nullptr;
}

bool DS_ReadWave(const char* path, WAVEDATA* wave) {
  std::vector<std::uint8_t> bytes;
  if (!path || !platform::ReadProgramFile(path, bytes)) return false;
  platform::WaveFormat format;
  std::span<const std::uint8_t> data;
  if (platform::ParseRiffWave(bytes, format, data) != platform::WaveError::None) return false;
  wave->format = format;
  wave->pData.assign(data.begin(), data.end());
  wave->dwSize = static_cast<std::uint32_t>(data.size());
  return true;
}

void DS_FreeWave(WAVEDATA* wave) {
  wave->pData.clear();
  wave->pData.shrink_to_fit();
}

bool DS_CreateBuffer(std::unique_ptr<platform::DirectSoundBuffer>* out, const char* path) {
  std::lock_guard lock(g_SoundMutex);
  if (!g_lpDS) return true;
  WAVEDATA wave;
  if (!DS_ReadWave(path, &wave)) {
    ErrorLogF("%s読み込み失敗！", path ? path : "");
    return false;
  }
  *out = g_lpDS->CreateSoundBuffer(wave.format, wave.pData);
  DS_FreeWave(&wave);
  if (!*out) {
    ErrorLogF("%s生成失敗！", path);
    return false;
  }
  return true;
}

bool DS_DuplicateBuffer(std::unique_ptr<platform::DirectSoundBuffer>* out,
                        const platform::DirectSoundBuffer* source) {
  std::lock_guard lock(g_SoundMutex);
  if (!g_lpDS) return true;
  if (!source) return false;
  *out = g_lpDS->DuplicateSoundBuffer(*source);
  return *out != nullptr;
}

bool DS_LoadSound(SOUNDDATA* sound, const char* path, int bufferCount, int volume) {
  std::lock_guard lock(g_SoundMutex);
  if (!g_lpDS) return true;
  *sound = SOUNDDATA();
  const int count = std::max(bufferCount, 1);  // a sound has at least the buffer read from its file
  std::vector<std::unique_ptr<platform::DirectSoundBuffer>> buffers(static_cast<std::size_t>(count));
  if (!DS_CreateBuffer(&buffers[0], path)) return false;
  sound->lpBuffers = std::move(buffers);
  for (std::size_t i = 1; i < sound->lpBuffers.size(); ++i) {
    if (!DS_DuplicateBuffer(&sound->lpBuffers[i], sound->lpBuffers[0].get())) {
      ErrorLogF("%sのメモリ共用バッファの生成失敗！", path);
      sound->lpBuffers.resize(i);  // the buffers made so far
      return false;
    }
  }
  sound->nBufferCount = count;
  sound->szFileName = path;
  if (volume != 0)
    for (int i = 0; i < count; ++i) DS_SetVolume(sound, i, volume, 0);
  return true;
}

int DS_LoadSounds(std::vector<SOUNDDATA>* sounds, std::vector<SOUNDDEF>* defs, int volume) {
  std::lock_guard lock(g_SoundMutex);
  if (!g_lpDS) return 1;
  g_pSounds = sounds;
  g_pSoundDefs = defs;
  const std::size_t n = std::min(sounds->size(), defs->size());
  for (std::size_t i = 0; i < n; ++i) {
    SOUNDDATA& sound = (*sounds)[i];
    if (!sound.lpBuffers.empty()) continue;
    const SOUNDDEF& def = (*defs)[i];
    DS_LoadSound(&sound, def.szFileName.c_str(), def.nBufferCount, volume != 0 ? volume : def.nVolume);
  }
  return 1;
}

void DS_Play(SOUNDDATA* sound, unsigned flags) {
  std::lock_guard lock(g_SoundMutex);
  if (!g_lpDS || !sound) return;
  platform::DirectSoundBuffer* buffer = BufferAt(sound, sound->nNextBuffer);
  if (!buffer) {
    sound->nNextBuffer = 0;
    buffer = BufferAt(sound, 0);
    if (!buffer) return;
  }
  buffer->Stop();
  buffer->SetCurrentPosition(0);
  buffer->Play(flags);
  if (++sound->nNextBuffer >= sound->nBufferCount) sound->nNextBuffer = 0;
}

int DS_SetVolume(SOUNDDATA* sound, int buffer, int volume, int relative) {
  std::lock_guard lock(g_SoundMutex);
  platform::DirectSoundBuffer* b = g_lpDS ? BufferAt(sound, buffer) : nullptr;
  if (!b) return 0;
  if (relative == 1) volume += b->GetVolume();
  volume = std::clamp(volume, platform::kVolumeSilent, 0);
  b->SetVolume(volume);
  return volume;
}

int DS_GetVolume(SOUNDDATA* sound, int buffer) {
  std::lock_guard lock(g_SoundMutex);
  platform::DirectSoundBuffer* b = g_lpDS ? BufferAt(sound, buffer) : nullptr;
  return b ? b->GetVolume() : 0;
}

void DS_PlayCursorSound(const std::uint16_t* direction, int axes, int index) {
  std::lock_guard lock(g_SoundMutex);
  if (!g_lpDS || !g_pSounds || g_pSounds->empty() || !direction) return;
  SOUNDDATA* sound = &CheckedAt(*g_pSounds, index);
  if ((axes & 1) && (*direction & 3)) DS_Play(sound, 0);
  if ((axes & 2) && (*direction & 12)) DS_Play(sound, 0);
}

void DS_Release() {
  std::lock_guard lock(g_SoundMutex);
  if (!g_lpDS) return;
  if (g_pSounds) {
    for (SOUNDDATA& sound : *g_pSounds) {
      // The duplicates first, then the buffer that owns the wave.
      while (!sound.lpBuffers.empty()) sound.lpBuffers.pop_back();
      sound.nBufferCount = 0;
      sound.nNextBuffer = 0;
    }
  }
  g_pSounds = nullptr;
  g_pSoundDefs = nullptr;
  g_hSoundWindow = nullptr;
  g_lpDS.reset();
}
