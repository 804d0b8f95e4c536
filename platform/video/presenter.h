// Presentation: the back ends hand each finished frame here.
//
// PresentFrame converts the frame to 32-bit XRGB (an 8-bit frame through the
// palette given, as it is at this moment) and posts it to the frame mailbox
// (platform/frame_mailbox.h), where a window presenter on the main thread or
// a headless run picks it up. It never waits for a reader.
//
// PLAYER_DUMP_FRAME=file.png: DumpFrameIfAsked writes the newest posted
// frame to that file (a Linux path); a headless run calls it when it ends.
#pragma once

#include <string>

#include "platform/video/pixel_buffer.h"

namespace platform {

// Returns the frame's sequence number in the mailbox (0 for an empty buffer).
std::uint64_t PresentFrame(const PixelBuffer& frame, const PALETTEENTRY* palette256);

// Writes the newest frame as a PNG when PLAYER_DUMP_FRAME names a file.
// Returns false when a frame should have been written and could not be (no
// frame yet, or the write failed); true otherwise.
bool DumpFrameIfAsked();
// The same, to a given file.
bool DumpLatestFrame(const std::string& path);

}  // namespace platform
