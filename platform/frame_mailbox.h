// The frame mailbox: where the drawing side leaves each finished frame for
// whoever shows it.
//
// Contract:
// - A frame is 32-bit XRGB: one std::uint32_t per pixel, 0xFFRRGGBB, rows
//   top to bottom with no padding (pitch = width). The 8-bit and 16-bit
//   frames were already converted (the 8-bit one through the palette that
//   was current when it was presented).
// - Post replaces the frame held with a newer one and gives it the next
//   sequence number (1, 2, 3 ...; 0 means "no frame yet"). Frames are never
//   queued: a reader that is slower than the writer sees only the newest.
// - Any thread may post and any thread may read; the frame is copied under a
//   mutex, so a reader never sees half a frame. Posting never waits for a
//   reader.
// - The frame-ready callback (one, optional) runs on the posting thread after
//   the mailbox is unlocked; a window presenter uses it to wake its own
//   thread (pushing an event) and then reads the frame there.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace platform {

struct Frame {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // width * height, 0xFFRRGGBB
  std::uint64_t sequence = 0;         // 0: no frame has been posted

  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

class FrameMailbox {
 public:
  // Takes the frame's pixels; returns the sequence number it was given.
  std::uint64_t Post(int width, int height, std::vector<std::uint32_t> pixels);
  // The same, handing back in pixels the buffer of the frame replaced (or
  // an empty one), for the poster to fill again.
  std::uint64_t PostSwapping(int width, int height, std::vector<std::uint32_t>& pixels);

  // A copy of the newest frame (sequence 0 and no pixels when none).
  Frame Latest() const;
  // Copies the newest frame into out only when it is newer than
  // lastSequence; returns whether it did. Lets a presenter skip frames it
  // has shown and reuse its buffer.
  bool TakeNewer(std::uint64_t lastSequence, Frame& out) const;
  std::uint64_t Sequence() const;

  // Installs the callback run after each post (an empty function removes it).
  void SetFrameReadyCallback(std::function<void()> callback);
  // Forgets the frame (the sequence goes on counting) and the callback.
  void Clear();

 private:
  mutable std::mutex m_Mutex;
  Frame m_Frame;
  std::uint64_t m_nLastSequence = 0;
  std::function<void()> m_FrameReady;
};

// The mailbox that the graphics back ends present into.
FrameMailbox& TheFrameMailbox();

}  // namespace platform
