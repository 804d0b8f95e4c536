// The MIDI player: a cSmfFile whose image is played through a MIDI stream.
//
// The image is converted a piece at a time into MIDIEVENT records in two
// buffers of 24000 bytes kept queued on the stream. Every queued buffer ends
// with a callback record; the player's own callback thread refills a buffer
// when its callback arrives, and at the end record stops the piece and,
// when looping, plays it again from the first event.
//
// Play and Stop (the music manager's thread) and the callback thread take
// the player's lock, so the read position, the buffer turn and the state
// change one thread at a time. The destructor closes the stream first (no
// callback comes after it), then ends the callback thread and waits for it.
// An event too large for an empty buffer is dropped with a report line.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "base/thread.h"
#include "platform/audio/midi_stream.h"
#include "shell/sound/smf_file.h"

class cMidiPlayer : public cSmfFile {
 public:
  static constexpr int kBufferSize = 24000;

  explicit cMidiPlayer(const char* path);
  ~cMidiPlayer() override;

  // The file loaded and the stream opened: the piece can play.
  bool IsReady() const;
  void Play(int loop);
  // 0 stops and rewinds, 1 pauses.
  void Stop(int flag);
  int State() const;  // 0 stopped, 1 playing, 2 paused

  // Record writers: each takes the delta, the event's bytes from its status
  // byte on, the buffer and its fill length (advanced), and gives the event
  // bytes consumed, 0 when the record does not fit.
  static int PutShortEvent(std::uint32_t delta, std::span<const std::uint8_t> event, platform::MIDIHDR* header,
                           std::uint32_t& fill);
  static int PutLongEvent(std::uint32_t delta, std::span<const std::uint8_t> event, platform::MIDIHDR* header,
                          std::uint32_t& fill);
  static int PutMetaEvent(std::uint32_t delta, std::span<const std::uint8_t> event, platform::MIDIHDR* header,
                          std::uint32_t& fill);
  static int PutEndEvent(std::uint32_t delta, std::span<const std::uint8_t> event, platform::MIDIHDR* header,
                         std::uint32_t& fill);

  // Converts records from image position into header: the image bytes
  // consumed.
  int ConvertEvents(int position, platform::MIDIHDR* header);

  static std::string ErrorText(platform::MMRESULT code);

 private:
  void Open();
  void FillBuffer();  // m_Mutex held
  void StopLocked(int flag);
  void PlayLocked(int loop);
  int ImageEnd() const { return static_cast<int>(Image().size()); }
  void MidiCallbackThread();

  mutable std::recursive_mutex m_Mutex;
  int m_nCurrentBuffer = 0;
  platform::HMIDISTRM m_hStream = nullptr;
  platform::MIDIHDR m_aHeader[2];
  std::vector<char> m_aBlock[2];
  std::uint8_t m_nBufferCount = 2;
  int m_nBufferSize = kBufferSize;
  int m_nReadPos = kHeaderSize;
  int m_nState = 0;
  int m_bLoop = 0;
  platform::MidiCallbackQueue m_Callbacks;
  cThread m_Thread;
};
