// Feeds arbitrary bytes to the MIDI file reader as a file on disk. A file
// that reads is converted, buffer after buffer, into stream records as the
// player queues them (no stream is opened: no soundfont is searched), and
// every buffer must end with a callback record.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "shell/sound/midi_player.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/fuzz_midi_file_" + std::to_string(getpid()) + ".mid";
  platform::SetSoundFontSearchForTests({});
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  cMidiPlayer player(path.c_str());
  if (!player.HasImage()) return 0;
  std::vector<char> block(cMidiPlayer::kBufferSize);
  platform::MIDIHDR header;
  header.lpData = block.data();
  header.dwBufferLength = cMidiPlayer::kBufferSize;
  int position = cSmfFile::kHeaderSize;
  const int end = static_cast<int>(player.Image().size());
  while (position < end) {
    const int consumed = player.ConvertEvents(position, &header);
    if (consumed <= 0 || header.dwBytesRecorded > header.dwBufferLength) std::abort();
    if (header.dwBytesRecorded > 0) {
      std::uint32_t at = 0, last = 0;
      while (at + 12 <= header.dwBytesRecorded) {
        platform::MIDIEVENT e;
        std::memcpy(&e, block.data() + at, sizeof e);
        last = e.dwEvent;
        at += 12;
        if (e.dwEvent & platform::MEVT_F_LONG) at += ((e.dwEvent & 0xFFFFFF) + 3) & ~3u;
      }
      if (!(last & platform::MEVT_F_CALLBACK)) std::abort();
    }
    position += consumed;
  }
  return 0;
}
