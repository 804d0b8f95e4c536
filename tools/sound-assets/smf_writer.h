// Standard MIDI Files written byte by byte, for the demo project's music
// and for tests (which also write damaged files with Raw).
//
//   SmfTrack t;
//   t.Tempo(0, 400000).NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).End(0);
//   auto file = MakeSmf(0, 96, {t});
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

class SmfTrack {
 public:
  SmfTrack& Delta(std::uint32_t ticks);
  SmfTrack& NoteOn(std::uint32_t delta, int channel, int note, int velocity);
  SmfTrack& NoteOff(std::uint32_t delta, int channel, int note);
  SmfTrack& Program(std::uint32_t delta, int channel, int program);
  SmfTrack& Tempo(std::uint32_t delta, std::uint32_t microsecondsPerQuarter);
  SmfTrack& SysEx(std::uint32_t delta, const std::vector<std::uint8_t>& data);
  SmfTrack& Meta(std::uint32_t delta, int type, const std::vector<std::uint8_t>& data);
  SmfTrack& End(std::uint32_t delta);
  // Bytes as they stand, after the bytes so far.
  SmfTrack& Raw(std::initializer_list<std::uint8_t> bytes);

  const std::vector<std::uint8_t>& Bytes() const { return m_Bytes; }

 private:
  std::vector<std::uint8_t> m_Bytes;
};

void AppendVarLen(std::vector<std::uint8_t>& out, std::uint32_t value);

// A header chunk of length 6 and one "MTrk" chunk per track; lengthFix adds
// to every track chunk's stored length (a damaged file).
std::vector<std::uint8_t> MakeSmf(int format, int division, const std::vector<SmfTrack>& tracks,
                                  int lengthFix = 0);
