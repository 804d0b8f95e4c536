#include "platform/audio/audio_output.h"

#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio/mixer.h"
#include "platform/audio/wave_file.h"
#include "platform/clock.h"

namespace platform {

namespace {

struct Output {
  std::mutex mutex;
  int users = 0;
  AudioOutputKind kind = AudioOutputKind::Closed;
  SDL_AudioDeviceID device = 0;
  std::unique_ptr<WaveWriter> capture;
  std::uint32_t startMs = 0;
  std::uint64_t framesPumped = 0;
  std::uint64_t frameRemainder = 0;  // of PumpAudioFrame, in 1/fps samples
  // Test seams.
  AudioOutputKind forcedKind = AudioOutputKind::Closed;
  std::string forcedCapture;
  bool deviceRefused = false;
};

Output& TheOutput() {
  static Output* output = new Output;  // never destroyed, as the mixer
  return *output;
}

void RenderToDevice(void*, Uint8* stream, int bytes) {
  TheMixer().Render(reinterpret_cast<std::int16_t*>(stream), bytes / (2 * kMixerChannels));
}

// Opens the SDL audio device of the current driver; 0 when none opens.
SDL_AudioDeviceID OpenDevice() {
  SDL_AudioSpec want{};
  want.freq = kMixerRate;
  want.format = AUDIO_S16SYS;
  want.channels = kMixerChannels;
  want.samples = 1024;
  want.callback = RenderToDevice;
  SDL_AudioSpec have{};
  return SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
}

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// alsa-lib prints each failed step of opening a device on standard error (a
// dozen lines on a machine without a sound card), where SDL's own error says
// enough. Its error handler is replaced, in the copy of the library that SDL
// loads, by one that prints nothing; the library stays loaded for that.
void QuietAlsaErrors() {
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  static const bool done = [] {
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_GLOBAL);
    if (alsa == nullptr) return true;
    if (auto set = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler"))) set(IgnoreAlsaError);
    return true;
  }();
  (void)done;
}

// The default device, then the dummy driver; Silent when neither opens.
AudioOutputKind OpenDeviceOutput(Output& o) {
  if (o.deviceRefused) return AudioOutputKind::Silent;
  QuietAlsaErrors();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    o.device = OpenDevice();
    if (o.device == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  if (o.device == 0 && SDL_AudioInit("dummy") == 0) {
    o.device = OpenDevice();
    if (o.device == 0) SDL_AudioQuit();
  }
  if (o.device == 0) return AudioOutputKind::Silent;
  SDL_PauseAudioDevice(o.device, 0);
  const char* driver = SDL_GetCurrentAudioDriver();
  return driver != nullptr && std::strcmp(driver, "dummy") == 0 ? AudioOutputKind::DummyDevice
                                                                  : AudioOutputKind::Device;
}

// The outputs that PumpAudio and PumpAudioFrame render into: not a device,
// which pulls by itself.
bool IsPulledHere(AudioOutputKind kind) {
  return kind == AudioOutputKind::Null || kind == AudioOutputKind::Capture || kind == AudioOutputKind::Silent;
}

bool IsHeadless() {
  const char* headless = std::getenv("PLAYER_HEADLESS");
  return headless && std::strcmp(headless, "1") == 0;
}

}  // namespace

AudioOutputKind AcquireAudioOutput() {
  Output& o = TheOutput();
  std::lock_guard lock(o.mutex);
  if (o.users++ > 0) return o.kind;
  std::string capturePath;
  AudioOutputKind kind = o.forcedKind;
  if (kind == AudioOutputKind::Closed) {
    if (IsHeadless()) {
      const char* capture = std::getenv("PLAYER_AUDIO_CAPTURE");
      kind = capture && *capture ? AudioOutputKind::Capture : AudioOutputKind::Null;
      if (capture) capturePath = capture;
    } else {
      kind = AudioOutputKind::Device;
    }
  } else {
    capturePath = o.forcedCapture;
  }
  if (kind == AudioOutputKind::Device) kind = OpenDeviceOutput(o);
  if (kind == AudioOutputKind::Capture) {
    o.capture = std::make_unique<WaveWriter>(capturePath, kMixerRate, kMixerChannels);
    if (!o.capture->IsOpen()) {
      o.capture.reset();
      kind = AudioOutputKind::Null;
    }
  }
  o.kind = kind;
  o.startMs = timeGetTime();
  o.framesPumped = 0;
  o.frameRemainder = 0;
  return kind;
}

void ReleaseAudioOutput() {
  Output& o = TheOutput();
  std::lock_guard lock(o.mutex);
  if (o.users == 0 || --o.users > 0) return;
  if (o.device != 0) {
    SDL_CloseAudioDevice(o.device);
    o.device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  o.capture.reset();
  o.kind = AudioOutputKind::Closed;
}

AudioOutputKind CurrentAudioOutput() {
  Output& o = TheOutput();
  std::lock_guard lock(o.mutex);
  return o.kind;
}

namespace {

// Renders frames stereo frames of the mixer into the headless output.
void RenderHeadless(Output& o, std::uint64_t frames) {
  std::vector<std::int16_t> samples;
  while (frames > 0) {
    const int chunk = static_cast<int>(std::min<std::uint64_t>(frames, 4096));
    samples.resize(static_cast<std::size_t>(chunk) * kMixerChannels);
    TheMixer().Render(samples.data(), chunk);
    if (o.capture) o.capture->Write(samples.data(), samples.size());
    o.framesPumped += static_cast<std::uint64_t>(chunk);
    frames -= static_cast<std::uint64_t>(chunk);
  }
}

}  // namespace

void PumpAudio() {
  Output& o = TheOutput();
  std::lock_guard lock(o.mutex);
  if (!IsPulledHere(o.kind)) return;
  const std::uint32_t elapsedMs = timeGetTime() - o.startMs;
  const std::uint64_t due = static_cast<std::uint64_t>(elapsedMs) * kMixerRate / 1000;
  if (o.framesPumped < due) RenderHeadless(o, due - o.framesPumped);
}

void PumpAudioFrame(int nFramesPerSecond) {
  Output& o = TheOutput();
  std::lock_guard lock(o.mutex);
  if (!IsPulledHere(o.kind) || nFramesPerSecond <= 0) return;
  // The rate's remainder is carried, so that a second of frames renders
  // exactly a second of samples.
  o.frameRemainder += kMixerRate;
  const std::uint64_t frames = o.frameRemainder / static_cast<std::uint64_t>(nFramesPerSecond);
  o.frameRemainder %= static_cast<std::uint64_t>(nFramesPerSecond);
  RenderHeadless(o, frames);
}

void SetAudioOutputForTests(AudioOutputKind kind, const std::string& capturePath) {
  Output& o = TheOutput();
  std::lock_guard lock(o.mutex);
  o.forcedKind = kind;
  o.forcedCapture = capturePath;
}

void SetAudioDeviceRefusedForTests(bool refused) {
  Output& o = TheOutput();
  std::lock_guard lock(o.mutex);
  o.deviceRefused = refused;
}

}  // namespace platform
