#include "platform/video/presenter.h"

#include <cstdlib>

#include "platform/frame_mailbox.h"
#include "platform/video/png_file.h"

namespace platform {

std::uint64_t PresentFrame(const PixelBuffer& frame, const PALETTEENTRY* palette256) {
  if (frame.Empty()) return 0;
  return TheFrameMailbox().Post(frame.Width(), frame.Height(), ToXrgb(frame, palette256));
}

bool DumpLatestFrame(const std::string& path) {
  const Frame frame = TheFrameMailbox().Latest();
  if (frame.sequence == 0) return false;
  return WritePng(path, frame.width, frame.height, frame.pixels);
}

bool DumpFrameIfAsked() {
  const char* path = std::getenv("PLAYER_DUMP_FRAME");
  if (!path || !*path) return true;
  return DumpLatestFrame(path);
}

}  // namespace platform
