#include "platform/audio/midi_stream.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "platform/audio/audio_output.h"
#include "platform/audio/fluidsynth_library.h"
#include "platform/audio/mixer.h"

namespace platform {

// ---- callback queue ----

void MidiCallbackQueue::Post(const MidiCallback& message) {
  {
    std::lock_guard lock(m_Mutex);
    m_Messages.push_back(message);
  }
  m_Posted.notify_one();
}

bool MidiCallbackQueue::Get(MidiCallback& message) {
  std::unique_lock lock(m_Mutex);
  m_Posted.wait(lock, [&] { return m_bQuit || !m_Messages.empty(); });
  if (m_Messages.empty()) return false;
  message = m_Messages.front();
  m_Messages.pop_front();
  return true;
}

void MidiCallbackQueue::Quit() {
  {
    std::lock_guard lock(m_Mutex);
    m_bQuit = true;
  }
  m_Posted.notify_all();
}

void MidiCallbackQueue::Clear() {
  std::lock_guard lock(m_Mutex);
  m_Messages.clear();
}

namespace {

// ---- the synthesizer ----

std::mutex g_SearchMutex;
bool g_bSearchOverridden = false;
std::vector<std::string> g_SearchOverride;
std::atomic<MidiEventListener> g_Listener{nullptr};

std::string FindSoundFont() {
  std::vector<std::string> candidates;
  {
    std::lock_guard lock(g_SearchMutex);
    if (g_bSearchOverridden) {
      candidates = g_SearchOverride;
    } else {
      if (const char* env = std::getenv("PLAYER_SOUNDFONT"); env && *env) candidates.push_back(env);
      candidates.insert(candidates.end(),
                        {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3",
                         "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2"});
    }
  }
  std::error_code error;
  for (const auto& path : candidates)
    if (std::filesystem::is_regular_file(path, error)) return path;
  return {};
}

// One FluidSynth synthesizer per stream, used only under the mixer's lock.
struct Synth {
  const FluidSynthLibrary* fs = nullptr;
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  ~Synth() {
    if (synth) fs->delete_fluid_synth(synth);
    if (settings) fs->delete_fluid_settings(settings);
  }
  bool Open(const std::string& soundFont) {
    fs = LoadFluidSynth();
    if (!fs) return false;
    settings = fs->new_fluid_settings();
    if (!settings) return false;
    fs->fluid_settings_setnum(settings, "synth.sample-rate", kMixerRate);
    fs->fluid_settings_setnum(settings, "synth.gain", 0.5);
    fs->fluid_settings_setint(settings, "synth.threadsafe-api", 0);
    // Only the samples of the instruments a piece selects are read.
    fs->fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    synth = fs->new_fluid_synth(settings);
    return synth && fs->fluid_synth_sfload(synth, soundFont.c_str(), 1) != FLUID_FAILED;
  }

  void SendShortMessage(std::uint32_t message) const {
    const int status = message & 0xFF;
    const int channel = status & 0x0F;
    const int a = (message >> 8) & 0x7F;
    const int b = (message >> 16) & 0x7F;
    switch (status & 0xF0) {
      case 0x80: fs->fluid_synth_noteoff(synth, channel, a); break;
      case 0x90: fs->fluid_synth_noteon(synth, channel, a, b); break;
      case 0xA0: fs->fluid_synth_key_pressure(synth, channel, a, b); break;
      case 0xB0: fs->fluid_synth_cc(synth, channel, a, b); break;
      case 0xC0: fs->fluid_synth_program_change(synth, channel, a); break;
      case 0xD0: fs->fluid_synth_channel_pressure(synth, channel, a); break;
      case 0xE0: fs->fluid_synth_pitch_bend(synth, channel, a | (b << 7)); break;
      default: break;  // system messages and the end record carry nothing to play
    }
  }

  void AllNotesOff() const {
    for (int channel = 0; channel < 16; ++channel) fs->fluid_synth_all_notes_off(synth, channel);
  }
};

}  // namespace

// ---- the stream ----

struct MidiStream : MixerSource {
  MidiCallbackQueue* callback = nullptr;
  Synth synth;
  AudioOutputKind kind = AudioOutputKind::Closed;
  // Below: guarded by the mixer's lock.
  std::deque<MIDIHDR*> queue;
  std::uint32_t offset = 0;        // of the next record in queue.front()
  bool scheduled = false;          // the next record's sample is known
  double nextEventSample = 0.0;    // in stream samples
  double lastEventSample = 0.0;
  std::uint64_t now = 0;           // stream samples played while running
  bool running = false;
  std::uint32_t tempo = 500000;    // microseconds per quarter note
  std::uint32_t division = 96;
  std::vector<float> left, right;
  std::uint64_t mixClock = 0;  // frames mixed since the stream opened
  std::uint64_t mixDone = 0;   // of the present Mix call, where events now apply

  double SamplesPerTick() const {
    if (division & 0x8000) {
      const int framesPerSecond = -static_cast<std::int8_t>(division >> 8);
      const double fps = framesPerSecond == 29 ? 29.97 : framesPerSecond;
      const double ticksPerSecond = fps * (division & 0xFF);
      return ticksPerSecond > 0 ? kMixerRate / ticksPerSecond : 0.0;
    }
    if (division == 0) return 0.0;
    return static_cast<double>(tempo) / division * kMixerRate / 1e6;
  }

  void Rewind() {
    for (MIDIHDR* h : queue) h->dwFlags.store((h->dwFlags.load() & ~MHDR_INQUEUE) | MHDR_DONE);
    queue.clear();
    offset = 0;
    scheduled = false;
    nextEventSample = lastEventSample = 0.0;
    now = 0;
    tempo = 500000;
  }

  // The next record of the queue, finishing buffers that are played out;
  // null when the queue is empty.
  const MIDIEVENT* NextRecord() {
    while (!queue.empty()) {
      MIDIHDR* h = queue.front();
      if (offset + sizeof(MIDIEVENT) <= h->dwBytesRecorded)
        return reinterpret_cast<const MIDIEVENT*>(h->lpData + offset);
      queue.pop_front();
      offset = 0;
      h->dwFlags.store((h->dwFlags.load() & ~MHDR_INQUEUE) | MHDR_DONE, std::memory_order_release);
    }
    return nullptr;
  }

  void Apply(const MIDIEVENT& e) {
    MIDIHDR* h = queue.front();
    const std::uint32_t type = (e.dwEvent >> 24) & 0xBF;  // without the callback flag
    std::uint32_t size = sizeof(MIDIEVENT);
    if (e.dwEvent & MEVT_F_LONG) {
      const std::uint32_t length = e.dwEvent & 0xFFFFFF;
      const std::uint32_t room = h->dwBytesRecorded - offset - static_cast<std::uint32_t>(sizeof(MIDIEVENT));
      size += (std::min(length, room) + 3) & ~3u;
      if (type == MEVT_LONGMSG && length <= room) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(h->lpData + offset + sizeof(MIDIEVENT));
        std::uint32_t from = 0, to = length;
        if (to > 0 && (data[0] == 0xF0 || data[0] == 0xF7)) ++from;
        if (to > from && data[to - 1] == 0xF7) --to;
        if (to > from)
          synth.fs->fluid_synth_sysex(synth.synth, reinterpret_cast<const char*>(data + from),
                                      static_cast<int>(to - from), nullptr, nullptr, nullptr, 0);
      }
    } else if (type == MEVT_TEMPO) {
      tempo = e.dwEvent & 0xFFFFFF;
    } else if (type == MEVT_SHORTMSG) {
      const std::uint32_t status = e.dwEvent & 0xFF;
      MidiEventListener listener = g_Listener.load();
      if (listener && status >= 0x80 && status < 0xF0) listener(mixClock + mixDone, e.dwEvent & 0xFFFFFF);
      synth.SendShortMessage(e.dwEvent & 0xFFFFFF);
    }
    if (e.dwEvent & MEVT_F_CALLBACK) {
      h->dwOffset = offset;
      if (callback) callback->Post({MM_MOM_POSITIONCB, h, offset, e.dwEvent});
    }
    offset = std::min(offset + size, h->dwBytesRecorded);
    scheduled = false;
  }

  void Mix(float* out, int frames) override {
    if (!synth.synth) return;
    int done = 0;
    while (done < frames) {
      int chunk = frames - done;
      if (running) {
        mixDone = static_cast<std::uint64_t>(done);
        while (const MIDIEVENT* e = NextRecord()) {
          if (!scheduled) {
            nextEventSample = lastEventSample + e->dwDeltaTime * SamplesPerTick();
            scheduled = true;
          }
          if (nextEventSample > static_cast<double>(now)) break;
          lastEventSample = nextEventSample;
          Apply(*e);
        }
        if (scheduled) {
          const double wait = std::ceil(nextEventSample - static_cast<double>(now));
          chunk = static_cast<int>(std::clamp<double>(wait, 1.0, chunk));
        }
      }
      left.resize(static_cast<std::size_t>(chunk));
      right.resize(static_cast<std::size_t>(chunk));
      synth.fs->fluid_synth_write_float(synth.synth, chunk, left.data(), 0, 1, right.data(), 0, 1);
      for (int i = 0; i < chunk; ++i) {
        out[2 * (done + i)] += left[static_cast<std::size_t>(i)];
        out[2 * (done + i) + 1] += right[static_cast<std::size_t>(i)];
      }
      if (running) now += static_cast<std::uint64_t>(chunk);
      done += chunk;
    }
    mixClock += static_cast<std::uint64_t>(frames);
  }
};

namespace {

bool Valid(HMIDISTRM stream) { return stream != nullptr && stream->synth.synth != nullptr; }

}  // namespace

MMRESULT midiStreamOpen(HMIDISTRM* stream, unsigned device, MidiCallbackQueue* callback) {
  if (!stream) return MMSYSERR_INVALPARAM;
  *stream = nullptr;
  if (device != MIDI_MAPPER && device != 0) return MIDIERR_NODEVICE;
  const std::string soundFont = FindSoundFont();
  if (soundFont.empty()) return MIDIERR_NODEVICE;
  auto s = std::make_unique<MidiStream>();
  if (!s->synth.Open(soundFont)) return MIDIERR_NODEVICE;
  s->callback = callback;
  s->kind = AcquireAudioOutput();
  TheMixer().AddSource(s.get());
  *stream = s.release();
  return MMSYSERR_NOERROR;
}

MMRESULT midiStreamProperty(HMIDISTRM stream, MIDIPROPTIMEDIV* property, std::uint32_t flags) {
  if (!Valid(stream)) return MMSYSERR_INVALHANDLE;
  if (!property || !(flags & MIDIPROP_TIMEDIV)) return MMSYSERR_INVALPARAM;
  auto lock = TheMixer().Lock();
  if (flags & MIDIPROP_SET)
    stream->division = property->dwTimeDiv;
  else
    property->dwTimeDiv = stream->division;
  return MMSYSERR_NOERROR;
}

MMRESULT midiOutPrepareHeader(HMIDISTRM stream, MIDIHDR* header) {
  if (!Valid(stream)) return MMSYSERR_INVALHANDLE;
  if (!header || !header->lpData || header->dwBytesRecorded > header->dwBufferLength) return MMSYSERR_INVALPARAM;
  header->dwFlags.fetch_or(MHDR_PREPARED);
  return MMSYSERR_NOERROR;
}

MMRESULT midiOutUnprepareHeader(HMIDISTRM stream, MIDIHDR* header) {
  if (!Valid(stream)) return MMSYSERR_INVALHANDLE;
  if (!header) return MMSYSERR_INVALPARAM;
  if (header->dwFlags.load() & MHDR_INQUEUE) return MIDIERR_STILLPLAYING;
  header->dwFlags.fetch_and(~MHDR_PREPARED);
  return MMSYSERR_NOERROR;
}

MMRESULT midiStreamOut(HMIDISTRM stream, MIDIHDR* header) {
  if (!Valid(stream)) return MMSYSERR_INVALHANDLE;
  if (!header || header->dwBytesRecorded > header->dwBufferLength) return MMSYSERR_INVALPARAM;
  if (!(header->dwFlags.load() & MHDR_PREPARED)) return MIDIERR_UNPREPARED;
  if (header->dwFlags.load() & MHDR_INQUEUE) return MIDIERR_STILLPLAYING;
  auto lock = TheMixer().Lock();
  header->dwFlags.store((header->dwFlags.load() & ~MHDR_DONE) | MHDR_INQUEUE);
  stream->queue.push_back(header);
  return MMSYSERR_NOERROR;
}

MMRESULT midiStreamRestart(HMIDISTRM stream) {
  if (!Valid(stream)) return MMSYSERR_INVALHANDLE;
  auto lock = TheMixer().Lock();
  stream->running = true;
  return MMSYSERR_NOERROR;
}

MMRESULT midiStreamPause(HMIDISTRM stream) {
  if (!Valid(stream)) return MMSYSERR_INVALHANDLE;
  auto lock = TheMixer().Lock();
  stream->running = false;
  stream->synth.AllNotesOff();
  return MMSYSERR_NOERROR;
}

MMRESULT midiStreamStop(HMIDISTRM stream) {
  if (!Valid(stream)) return MMSYSERR_INVALHANDLE;
  auto lock = TheMixer().Lock();
  stream->running = false;
  stream->synth.AllNotesOff();
  stream->Rewind();
  if (stream->callback) stream->callback->Clear();
  return MMSYSERR_NOERROR;
}

MMRESULT midiOutReset(HMIDISTRM stream) {
  if (!Valid(stream)) return MMSYSERR_INVALHANDLE;
  auto lock = TheMixer().Lock();
  stream->running = false;
  stream->Rewind();
  stream->synth.fs->fluid_synth_system_reset(stream->synth.synth);
  if (stream->callback) stream->callback->Clear();
  return MMSYSERR_NOERROR;
}

MMRESULT midiStreamClose(HMIDISTRM stream) {
  if (!Valid(stream)) return MMSYSERR_INVALHANDLE;
  TheMixer().RemoveSource(stream);
  {
    auto lock = TheMixer().Lock();
    stream->Rewind();
  }
  if (stream->kind != AudioOutputKind::Closed) ReleaseAudioOutput();
  delete stream;
  return MMSYSERR_NOERROR;
}

std::string mciGetErrorString(MMRESULT code) {
  switch (code) {
    case MMSYSERR_NOERROR: return "The specified command was carried out.";
    case MMSYSERR_INVALHANDLE: return "The specified device handle is invalid.";
    case MMSYSERR_INVALPARAM: return "An invalid parameter was passed to a system function.";
    case MIDIERR_UNPREPARED: return "The header was not prepared.";
    case MIDIERR_STILLPLAYING: return "The buffer is still playing.";
    case MIDIERR_NODEVICE: return "No MIDI synthesizer is available: no General MIDI soundfont was found.";
    default: return "Unknown error " + std::to_string(code) + ".";
  }
}

void SetSoundFontSearchForTests(const std::vector<std::string>& paths) {
  std::lock_guard lock(g_SearchMutex);
  g_bSearchOverridden = true;
  g_SearchOverride = paths;
}

void RestoreSoundFontSearch() {
  std::lock_guard lock(g_SearchMutex);
  g_bSearchOverridden = false;
  g_SearchOverride.clear();
}

void SetMidiEventListenerForTests(MidiEventListener listener) { g_Listener.store(listener); }

}  // namespace platform
