// Standard MIDI Files read into a single-track image.
//
// cSmfFile reads a file of format 0 or 1 and rewrites it in memory as a
// format-0 image: the 22-byte header (division copied from the file), then
// every event of every track in time order (on equal times the lower track
// first) as a delta time and its status byte written out (no running
// status), ending with exactly one FF 2F 00 at the latest end of all
// tracks.
//
// Nothing past the end of the file or of a track chunk is read. A track
// ends at its FF 2F 00 or at the end of its chunk; chunks other than "MTrk"
// are passed over. A file whose events cannot be read whole (a data byte
// with no running status, a number longer than four bytes, an event cut by
// the end of its chunk) is refused. Every refusal is a report line naming
// the file; a refused file leaves no image.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class cSmfFile {
 public:
  static constexpr int kHeaderSize = 22;

  explicit cSmfFile(const char* path);
  virtual ~cSmfFile() = default;

  bool HasImage() const { return !m_Image.empty(); }
  const std::vector<std::uint8_t>& Image() const { return m_Image; }
  const std::string& FileName() const { return m_strFileName; }

  // The image of raw file bytes; empty (and reported) when refused.
  std::vector<std::uint8_t> Parse(std::span<const std::uint8_t> bytes);

  // A variable-length number at the start of bytes: the bytes it takes, 0
  // when it runs past four bytes or past the end.
  static int ReadVarLen(std::span<const std::uint8_t> bytes, std::uint32_t& value);
  // Appends value as a variable-length number: the bytes written, 0 for
  // values above 0x0FFFFFFF.
  static int WriteVarLen(std::vector<std::uint8_t>& out, std::uint32_t value);

 protected:
  cSmfFile() = default;
  void Load(const char* path);

 private:
  struct Event {
    std::uint64_t time;
    std::uint8_t status;
    std::vector<std::uint8_t> data;
  };
  using Track = std::vector<Event>;

  std::vector<std::uint8_t> ToFormat0(std::span<const std::uint8_t> bytes);
  bool ReadTracks(std::span<const std::uint8_t> bytes, std::vector<Track>& tracks);
  bool ReadTrack(std::span<const std::uint8_t> chunk, Track& track, std::uint64_t& endTime);
  static std::vector<Event> MergeTracks(std::vector<Track>& tracks);
  std::vector<std::uint8_t> WriteFormat0(const std::vector<Event>& events, std::uint16_t division);

  std::vector<std::uint8_t> m_Image;
  std::string m_strFileName;
};
