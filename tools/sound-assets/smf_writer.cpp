#include "smf_writer.h"

void AppendVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  for (int i = n - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(groups[i] | (i > 0 ? 0x80 : 0)));
}

SmfTrack& SmfTrack::Delta(std::uint32_t ticks) {
  AppendVarLen(m_Bytes, ticks);
  return *this;
}

SmfTrack& SmfTrack::NoteOn(std::uint32_t delta, int channel, int note, int velocity) {
  Delta(delta);
  return Raw({static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(note),
              static_cast<std::uint8_t>(velocity)});
}

SmfTrack& SmfTrack::NoteOff(std::uint32_t delta, int channel, int note) {
  Delta(delta);
  return Raw({static_cast<std::uint8_t>(0x80 | channel), static_cast<std::uint8_t>(note), 0});
}

SmfTrack& SmfTrack::Program(std::uint32_t delta, int channel, int program) {
  Delta(delta);
  return Raw({static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(program)});
}

SmfTrack& SmfTrack::Tempo(std::uint32_t delta, std::uint32_t us) {
  Delta(delta);
  return Raw({0xFF, 0x51, 0x03, static_cast<std::uint8_t>(us >> 16), static_cast<std::uint8_t>(us >> 8),
              static_cast<std::uint8_t>(us)});
}

SmfTrack& SmfTrack::SysEx(std::uint32_t delta, const std::vector<std::uint8_t>& data) {
  Delta(delta);
  m_Bytes.push_back(0xF0);
  AppendVarLen(m_Bytes, static_cast<std::uint32_t>(data.size()));
  m_Bytes.insert(m_Bytes.end(), data.begin(), data.end());
  return *this;
}

SmfTrack& SmfTrack::Meta(std::uint32_t delta, int type, const std::vector<std::uint8_t>& data) {
  Delta(delta);
  m_Bytes.push_back(0xFF);
  m_Bytes.push_back(static_cast<std::uint8_t>(type));
  AppendVarLen(m_Bytes, static_cast<std::uint32_t>(data.size()));
  m_Bytes.insert(m_Bytes.end(), data.begin(), data.end());
  return *this;
}

SmfTrack& SmfTrack::End(std::uint32_t delta) {
  Delta(delta);
  return Raw({0xFF, 0x2F, 0x00});
}

SmfTrack& SmfTrack::Raw(std::initializer_list<std::uint8_t> bytes) {
  m_Bytes.insert(m_Bytes.end(), bytes);
  return *this;
}

namespace {

void PutBe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> MakeSmf(int format, int division, const std::vector<SmfTrack>& tracks, int lengthFix) {
  std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd'};
  PutBe(out, 6, 4);
  PutBe(out, static_cast<std::uint32_t>(format), 2);
  PutBe(out, static_cast<std::uint32_t>(tracks.size()), 2);
  PutBe(out, static_cast<std::uint32_t>(division), 2);
  for (const SmfTrack& t : tracks) {
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    PutBe(out, static_cast<std::uint32_t>(static_cast<int>(t.Bytes().size()) + lengthFix), 4);
    out.insert(out.end(), t.Bytes().begin(), t.Bytes().end());
  }
  return out;
}
