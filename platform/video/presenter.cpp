#include "platform/video/presenter.h"

#include <cstdlib>

#include "platform/frame_mailbox.h"
#include "platform/video/png_file.h"

namespace platform {

std::uint64_t PresentFrame(const PixelBuffer& frame, const PALETTEENTRY* palette256) {
  if (frame.Empty()) return 0;
  // The buffer of the frame that this one replaces in the mailbox, reused.
  thread_local std::vector<std::uint32_t> pixels;
  ToXrgb(frame, palette256, pixels);
  return TheFrameMailbox().PostSwapping(frame.Width(), frame.Height(), pixels);
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
