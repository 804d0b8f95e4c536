#include "platform/frame_mailbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using platform::Frame;
using platform::FrameMailbox;

std::vector<std::uint32_t> Filled(int width, int height, std::uint32_t value) {
  return std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, value);
}

TEST(FrameMailbox, KeepsOnlyTheNewestFrameWithItsSequenceNumber) {
  FrameMailbox mailbox;
  EXPECT_EQ(mailbox.Latest().sequence, 0u);
  Frame out;
  EXPECT_FALSE(mailbox.TakeNewer(0, out));

  EXPECT_EQ(mailbox.Post(2, 1, Filled(2, 1, 0xFF000001)), 1u);
  EXPECT_EQ(mailbox.Post(3, 2, Filled(3, 2, 0xFF000002)), 2u);
  const Frame latest = mailbox.Latest();
  EXPECT_EQ(latest.sequence, 2u);
  EXPECT_EQ(latest.width, 3);
  EXPECT_EQ(latest.At(2, 1), 0xFF000002u);

  EXPECT_TRUE(mailbox.TakeNewer(1, out));
  EXPECT_EQ(out.sequence, 2u);
  EXPECT_FALSE(mailbox.TakeNewer(2, out));  // already shown

  mailbox.Clear();
  EXPECT_EQ(mailbox.Sequence(), 0u);
  EXPECT_EQ(mailbox.Post(1, 1, Filled(1, 1, 0)), 3u);  // numbers never repeat
}

TEST(FrameMailbox, PostingBySwapHandsBackTheReplacedFramesBuffer) {
  FrameMailbox mailbox;
  std::vector<std::uint32_t> pixels = Filled(2, 1, 0xFF000001);
  mailbox.PostSwapping(2, 1, pixels);
  EXPECT_TRUE(pixels.empty());  // nothing was held before
  pixels = Filled(2, 1, 0xFF000002);
  const std::uint32_t* second = pixels.data();
  mailbox.PostSwapping(2, 1, pixels);
  EXPECT_EQ(pixels, Filled(2, 1, 0xFF000001));  // the first frame's buffer, to be filled again
  EXPECT_EQ(mailbox.Latest().At(1, 0), 0xFF000002u);
  pixels.assign(2, 0xFF000003);
  mailbox.PostSwapping(2, 1, pixels);
  EXPECT_EQ(pixels.data(), second);
}

TEST(FrameMailbox, CallbackRunsAfterTheMailboxIsUnlocked) {
  FrameMailbox mailbox;
  std::uint64_t seen = 0;
  mailbox.SetFrameReadyCallback([&] { seen = mailbox.Latest().sequence; });  // would deadlock if locked
  mailbox.Post(1, 1, Filled(1, 1, 0));
  EXPECT_EQ(seen, 1u);
  mailbox.SetFrameReadyCallback(nullptr);
  mailbox.Post(1, 1, Filled(1, 1, 0));
  EXPECT_EQ(seen, 1u);
}

TEST(FrameMailbox, AReaderOnAnotherThreadNeverSeesHalfAFrame) {
  FrameMailbox mailbox;
  constexpr int kFrames = 300;
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (std::uint32_t i = 1; i <= kFrames; ++i) mailbox.Post(64, 48, Filled(64, 48, i));
    done = true;
  });
  Frame frame;
  std::uint64_t last = 0;
  int torn = 0, decreasing = 0;
  while (!done || mailbox.Sequence() != last) {
    if (!mailbox.TakeNewer(last, frame)) continue;
    if (frame.sequence <= last) ++decreasing;
    last = frame.sequence;
    for (std::uint32_t pixel : frame.pixels) torn += pixel != frame.pixels.front();
    torn += frame.pixels.front() != frame.sequence;
  }
  writer.join();
  EXPECT_EQ(torn, 0);
  EXPECT_EQ(decreasing, 0);
  EXPECT_EQ(last, static_cast<std::uint64_t>(kFrames));
}

}  // namespace
