// MIDI streams as the MIDI player uses them: a stream opened on the MIDI
// mapper, queued buffers of MIDIEVENT records, callbacks on a queue the
// player's thread reads, run/pause/stop, and the error texts.
//
// The stream is a source of the mixer: its events are scheduled on the
// mixer's sample clock (delta ticks turned into samples by the current
// tempo and the time division, keeping the fraction) and rendered by
// FluidSynth with a General MIDI soundfont, cut at every event's sample.
// A record with MEVT_F_CALLBACK posts MM_MOM_POSITIONCB, with a copy of the
// record's event word, to the stream's callback queue as it plays. A queued
// buffer carries MHDR_INQUEUE (an atomic flag) until its last record has
// played. Pausing and stopping silence the sounding notes; stopping also
// drops the queued buffers and the callbacks not yet delivered, and rewinds.
//
// The soundfont: $PLAYER_SOUNDFONT, then the General MIDI soundfonts that
// Debian installs. With none, midiStreamOpen fails with MIDIERR_NODEVICE.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

using MMRESULT = unsigned;
constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT MIDIERR_UNPREPARED = 64;
constexpr MMRESULT MIDIERR_STILLPLAYING = 65;
constexpr MMRESULT MIDIERR_NODEVICE = 68;

constexpr std::uint32_t MHDR_DONE = 0x1;
constexpr std::uint32_t MHDR_PREPARED = 0x2;
constexpr std::uint32_t MHDR_INQUEUE = 0x4;

constexpr std::uint32_t MEVT_F_CALLBACK = 0x40000000;
constexpr std::uint32_t MEVT_F_LONG = 0x80000000;
constexpr std::uint8_t MEVT_SHORTMSG = 0x00;
constexpr std::uint8_t MEVT_TEMPO = 0x01;
constexpr std::uint8_t MEVT_NOP = 0x02;
constexpr std::uint8_t MEVT_LONGMSG = 0x80;
constexpr std::uint32_t MIDIPROP_SET = 0x80000000;
constexpr std::uint32_t MIDIPROP_TIMEDIV = 0x00000001;
constexpr unsigned MM_MOM_POSITIONCB = 970;
constexpr unsigned MIDI_MAPPER = 0xFFFFFFFF;

struct MIDIHDR {
  char* lpData = nullptr;
  std::uint32_t dwBufferLength = 0;
  std::uint32_t dwBytesRecorded = 0;
  std::uintptr_t dwUser = 0;
  std::atomic<std::uint32_t> dwFlags{0};
  MIDIHDR* lpNext = nullptr;
  std::uintptr_t reserved = 0;
  std::uint32_t dwOffset = 0;
};

// A record as stored in a buffer: 12 bytes, then the data of a long message
// padded to a multiple of 4 bytes.
struct MIDIEVENT {
  std::uint32_t dwDeltaTime;
  std::uint32_t dwStreamID;
  std::uint32_t dwEvent;
};

struct MIDIPROPTIMEDIV {
  std::uint32_t cbStruct;
  std::uint32_t dwTimeDiv;
};

// What a stream posts to its callback queue.
struct MidiCallback {
  unsigned message = 0;
  MIDIHDR* header = nullptr;
  std::uint32_t offset = 0;  // of the record in the header's data
  std::uint32_t event = 0;   // the record's dwEvent
};

// The message queue of a player's callback thread. Get waits for the next
// message; it returns false once Quit was called and the queue is empty.
class MidiCallbackQueue {
 public:
  void Post(const MidiCallback& message);
  bool Get(MidiCallback& message);
  void Quit();
  void Clear();

 private:
  std::mutex m_Mutex;
  std::condition_variable m_Posted;
  std::deque<MidiCallback> m_Messages;
  bool m_bQuit = false;
};

struct MidiStream;
using HMIDISTRM = MidiStream*;

MMRESULT midiStreamOpen(HMIDISTRM* stream, unsigned device, MidiCallbackQueue* callback);
MMRESULT midiStreamProperty(HMIDISTRM stream, MIDIPROPTIMEDIV* property, std::uint32_t flags);
MMRESULT midiOutPrepareHeader(HMIDISTRM stream, MIDIHDR* header);
MMRESULT midiOutUnprepareHeader(HMIDISTRM stream, MIDIHDR* header);
MMRESULT midiStreamOut(HMIDISTRM stream, MIDIHDR* header);
MMRESULT midiStreamRestart(HMIDISTRM stream);
MMRESULT midiStreamPause(HMIDISTRM stream);
MMRESULT midiStreamStop(HMIDISTRM stream);
MMRESULT midiOutReset(HMIDISTRM stream);
MMRESULT midiStreamClose(HMIDISTRM stream);
std::string mciGetErrorString(MMRESULT code);

// Test seams: the soundfonts to look for in place of the usual ones (an
// empty list: none is found); RestoreSoundFontSearch undoes it. And a
// listener that sees every channel message as the synthesizer gets it,
// with the stream's sample it plays at (frames mixed since it opened).
void SetSoundFontSearchForTests(const std::vector<std::string>& paths);
void RestoreSoundFontSearch();
using MidiEventListener = void (*)(std::uint64_t sample, std::uint32_t shortMessage);
void SetMidiEventListenerForTests(MidiEventListener listener);

}  // namespace platform
