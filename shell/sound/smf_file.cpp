#include "shell/sound/smf_file.h"

#include <algorithm>
#include <cstring>

#include "base/report.h"
#include "platform/files.h"

namespace {

std::uint32_t Be32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
std::uint16_t Be16(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }

void PutBe32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

}  // namespace

cSmfFile::cSmfFile(const char* path) { Load(path); }

void cSmfFile::Load(const char* path) {
  m_strFileName = path ? path : "";
  std::vector<std::uint8_t> bytes;
  if (!path || !platform::ReadProgramFile(path, bytes)) {
    ReportLogF("Midi %s Create ファイルが開けません", m_strFileName.c_str());
    return;
  }
  m_Image = Parse(bytes);
}

std::vector<std::uint8_t> cSmfFile::Parse(std::span<const std::uint8_t> bytes) {
  const char* name = m_strFileName.c_str();
  if (bytes.size() < 14 || std::memcmp(bytes.data(), "MThd", 4) != 0) {
    ReportLogF("Midi %s Init 標準MIDIでない(4)", name);
    return {};
  }
  if (Be32(bytes.data() + 4) != 6) {
    ReportLogF("Midi %s Init 標準MIDIでない(6)", name);
    return {};
  }
  const std::uint16_t format = Be16(bytes.data() + 8);
  if (format == 2) {
    ReportLogF("Midi %s Init 対応フォーマットが2でない", name);
    return {};
  }
  if (format > 2) {
    ReportLogF("Midi %s Init 対応フォーマットが0または1でない", name);
    return {};
  }
  if (bytes.size() < 18 || std::memcmp(bytes.data() + 14, "MTrk", 4) != 0) {
    ReportLogF("Midi %s Init 標準MIDIでない(4)", name);
    return {};
  }
  return ToFormat0(bytes);
}

std::vector<std::uint8_t> cSmfFile::ToFormat0(std::span<const std::uint8_t> bytes) {
  std::vector<Track> tracks;
  if (!ReadTracks(bytes, tracks)) return {};
  return WriteFormat0(MergeTracks(tracks), Be16(bytes.data() + 12));
}

bool cSmfFile::ReadTracks(std::span<const std::uint8_t> bytes, std::vector<Track>& tracks) {
  const int count = Be16(bytes.data() + 10);
  std::uint64_t endTime = 0;
  std::size_t at = 14;
  while (static_cast<int>(tracks.size()) < count && bytes.size() - at >= 8) {
    const bool isTrack = std::memcmp(bytes.data() + at, "MTrk", 4) == 0;
    // A chunk that claims more than the file holds ends with the file.
    const std::size_t length = std::min<std::size_t>(Be32(bytes.data() + at + 4), bytes.size() - at - 8);
    const auto chunk = bytes.subspan(at + 8, length);
    at += 8 + length;
    if (!isTrack) continue;
    tracks.emplace_back();
    if (!ReadTrack(chunk, tracks.back(), endTime)) {
      ReportLogF("Midi %s Init トラック%dが壊れています", m_strFileName.c_str(), static_cast<int>(tracks.size()));
      return false;
    }
  }
  if (tracks.empty()) tracks.emplace_back();
  tracks.back().push_back({endTime, 0xFF, {0x2F, 0x00}});
  return true;
}

bool cSmfFile::ReadTrack(std::span<const std::uint8_t> chunk, Track& track, std::uint64_t& endTime) {
  std::uint64_t time = 0;
  std::uint8_t runningStatus = 0;
  std::size_t at = 0;
  while (at < chunk.size()) {
    std::uint32_t delta = 0;
    const int deltaBytes = ReadVarLen(chunk.subspan(at), delta);
    if (deltaBytes == 0) return false;
    at += static_cast<std::size_t>(deltaBytes);
    time += delta;
    if (at >= chunk.size()) return false;
    std::uint8_t status = chunk[at];
    if (status & 0x80) {
      ++at;
      runningStatus = status;
    } else {
      status = runningStatus;
      if (status == 0) return false;  // a data byte with no status before it
    }
    std::size_t length = 0;
    std::size_t prefix = 0;  // bytes of the data before its body: type and count
    if (status >= 0xC0 && status <= 0xDF) {
      length = 1;
    } else if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
      if (status == 0xFF) prefix = 1;
      if (at + prefix > chunk.size()) return false;
      std::uint32_t count = 0;
      const int countBytes = ReadVarLen(chunk.subspan(at + prefix), count);
      if (countBytes == 0) return false;
      prefix += static_cast<std::size_t>(countBytes);
      length = prefix + count;
    } else {
      length = 2;
    }
    if (length > chunk.size() - at) return false;
    const auto data = chunk.subspan(at, length);
    at += length;
    if (status == 0xFF && data[0] == 0x2F) {
      endTime = std::max(endTime, time);
      return true;
    }
    track.push_back({time, status, std::vector<std::uint8_t>(data.begin(), data.end())});
  }
  endTime = std::max(endTime, time);  // no end marker: the track ends with its chunk
  return true;
}

std::vector<cSmfFile::Event> cSmfFile::MergeTracks(std::vector<Track>& tracks) {
  std::vector<Event> merged;
  std::vector<std::size_t> next(tracks.size(), 0);
  for (;;) {
    std::size_t best = tracks.size();
    for (std::size_t t = 0; t < tracks.size(); ++t) {
      if (next[t] >= tracks[t].size()) continue;
      if (best == tracks.size() || tracks[t][next[t]].time < tracks[best][next[best]].time) best = t;
    }
    if (best == tracks.size()) return merged;
    merged.push_back(std::move(tracks[best][next[best]++]));
  }
}

std::vector<std::uint8_t> cSmfFile::WriteFormat0(const std::vector<Event>& events, std::uint16_t division) {
  std::vector<std::uint8_t> image(kHeaderSize);
  std::memcpy(image.data(), "MThd", 4);
  PutBe32(image.data() + 4, 6);
  image[8] = 0;
  image[9] = 0;
  image[10] = 0;
  image[11] = 1;
  image[12] = static_cast<std::uint8_t>(division >> 8);
  image[13] = static_cast<std::uint8_t>(division);
  std::memcpy(image.data() + 14, "MTrk", 4);
  std::uint64_t previous = 0;
  for (const Event& e : events) {
    const std::uint64_t delta = e.time - previous;
    if (delta > 0x0FFFFFFF || WriteVarLen(image, static_cast<std::uint32_t>(delta)) == 0) {
      ReportLogF("Midi %s Init 標準MIDIでない(4)", m_strFileName.c_str());
      return {};
    }
    previous = e.time;
    image.push_back(e.status);
    image.insert(image.end(), e.data.begin(), e.data.end());
  }
  PutBe32(image.data() + 18, static_cast<std::uint32_t>(image.size() - kHeaderSize));
  return image;
}

int cSmfFile::ReadVarLen(std::span<const std::uint8_t> bytes, std::uint32_t& value) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4 && i < bytes.size(); ++i) {
    v = (v << 7) | (bytes[i] & 0x7F);
    if (!(bytes[i] & 0x80)) {
      value = v;
      return static_cast<int>(i + 1);
    }
  }
  return 0;
}

int cSmfFile::WriteVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
  if (value > 0x0FFFFFFF) return 0;
  std::uint8_t groups[4];
  int n = 0;
  do {
    groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  for (int i = n - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(groups[i] | (i > 0 ? 0x80 : 0)));
  return n;
}
