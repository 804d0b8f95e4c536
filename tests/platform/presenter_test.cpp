#include "platform/video/presenter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/frame_mailbox.h"
#include "platform/video/png_file.h"
#include "support/temp_folder.h"

namespace {

using namespace platform;

TEST(Presenter, SixteenBitFramesArriveAsXrgbAndDumpToAPngWithTheSamePixels) {
  TheFrameMailbox().Clear();
  PixelBuffer frame(3, 2, PixelFormat::RGB565);
  frame.WriteArgb(0, 0, 0xFFFF0000);
  frame.WriteArgb(2, 1, 0xFF00FF00);
  frame.WriteArgb(1, 0, 0xFF808080);
  const std::uint64_t sequence = PresentFrame(frame, nullptr);
  const Frame posted = TheFrameMailbox().Latest();
  EXPECT_EQ(posted.sequence, sequence);
  EXPECT_EQ(posted.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(posted.At(2, 1), 0xFF00FF00u);
  EXPECT_EQ(posted.At(1, 0), 0xFF848284u);
  EXPECT_EQ(posted.At(0, 1), 0xFF000000u);

  TempFolder folder;
  const std::string path = (folder.path() / "frame.png").string();
  setenv("PLAYER_DUMP_FRAME", path.c_str(), 1);
  EXPECT_TRUE(DumpFrameIfAsked());
  unsetenv("PLAYER_DUMP_FRAME");
  PngImage image;
  ASSERT_TRUE(ReadPng(path, image));
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.pixels, posted.pixels);
}

TEST(Presenter, DumpingFailsWithoutAFrameOrAWritableFolderAndLeavesNoFile) {
  TheFrameMailbox().Clear();
  TempFolder folder;
  EXPECT_FALSE(DumpLatestFrame((folder.path() / "none.png").string()));
  EXPECT_TRUE(DumpFrameIfAsked());  // not asked: nothing to do
  PresentFrame(PixelBuffer(2, 2, PixelFormat::XRGB8888), nullptr);
  EXPECT_FALSE(DumpLatestFrame((folder.path() / "missing" / "frame.png").string()));
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
  PngImage image;
  EXPECT_FALSE(ReadPng((folder.path() / "none.png").string(), image));
}

}  // namespace
