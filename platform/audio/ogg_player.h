// The Ogg Vorbis player behind CreateVox: a file read whole into memory at
// Load, decoded with libvorbisfile while the mixer renders, converted to the
// mixer's rate. At the end of the piece it seeks back to sample 0 and goes
// on, so a loop is sample-exact; a file that yields nothing after a seek, or
// cannot seek, stops instead of spinning.
#pragma once

#include "platform/audio/vox.h"

namespace platform {

IVox* CreateOggPlayer();

}  // namespace platform
