#include "tools/make-demo/demo_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "platform/bitmap_file.h"
#include "platform/files.h"
#include "support/temp_folder.h"
#include "tools/make-demo/bmp_writer.h"
#include "tools/make-demo/demo_palette.h"
#include "tools/make-demo/demo_world_map.h"

namespace fs = std::filesystem;

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

// An 8-bit bitmap read back independently of the writer.
struct Bitmap8 {
  int width = 0;
  int height = 0;
  demo::Palette palette{};
  std::vector<std::uint8_t> pixels;  // top-down
  std::uint8_t At(int x, int y) const { return pixels.at(static_cast<std::size_t>(y) * width + x); }
};

Bitmap8 ReadBitmap8(const std::vector<std::uint8_t>& b) {
  Bitmap8 bmp;
  EXPECT_EQ(b.at(0), 'B');
  EXPECT_EQ(b.at(1), 'M');
  EXPECT_EQ(U32(b, 2), b.size());
  EXPECT_EQ(U32(b, 14), 40u);
  EXPECT_EQ(U16(b, 28), 8);
  EXPECT_EQ(U32(b, 30), 0u);
  bmp.width = static_cast<int>(U32(b, 18));
  bmp.height = static_cast<int>(U32(b, 22));
  for (int i = 0; i < 256; ++i) bmp.palette[i] = {b.at(54 + 4 * i + 2), b.at(54 + 4 * i + 1), b.at(54 + 4 * i)};
  const std::size_t offset = U32(b, 10);
  const int stride = (bmp.width + 3) / 4 * 4;
  EXPECT_EQ(b.size(), offset + static_cast<std::size_t>(stride) * bmp.height);
  for (int y = 0; y < bmp.height; ++y)
    for (int x = 0; x < bmp.width; ++x)
      bmp.pixels.push_back(b.at(offset + static_cast<std::size_t>(bmp.height - 1 - y) * stride + x));
  return bmp;
}

std::map<std::string, std::vector<std::uint8_t>> FilesByName() {
  std::map<std::string, std::vector<std::uint8_t>> files;
  for (demo::DemoFile& file : demo::BuildDemoFiles()) {
    EXPECT_TRUE(files.emplace(file.name, std::move(file.bytes)).second) << "twice: " << file.name;
  }
  return files;
}

// The files are the same on every call: build them once for all tests.
const std::map<std::string, std::vector<std::uint8_t>>& DemoFiles() {
  static const auto files = FilesByName();
  return files;
}

std::map<std::string, std::vector<std::uint8_t>> ReadTree(const fs::path& root) {
  std::map<std::string, std::vector<std::uint8_t>> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(platform::ReadWholeFile(entry.path(), bytes));
    files[fs::relative(entry.path(), root).generic_string()] = std::move(bytes);
  }
  return files;
}

}  // namespace

TEST(BmpWriterTest, EightBitRowsArePaddedAndStoredBottomUp) {
  demo::Palette palette{};
  palette[1] = {10, 20, 30};
  palette[255] = {200, 100, 50};
  const std::vector<std::uint8_t> bytes = demo::EncodeBmp8(3, 2, palette, {1, 2, 3, 4, 5, 255});

  EXPECT_EQ(U32(bytes, 2), 14u + 40 + 1024 + 2 * 4);  // file size: rows of 3 bytes padded to 4
  EXPECT_EQ(U32(bytes, 10), 14u + 40 + 1024);         // pixel offset
  EXPECT_EQ(U32(bytes, 18), 3u);
  EXPECT_EQ(U32(bytes, 22), 2u);  // positive height: bottom-up
  EXPECT_EQ(U16(bytes, 26), 1);   // planes
  EXPECT_EQ(U16(bytes, 28), 8);
  EXPECT_EQ(U32(bytes, 34), 8u);   // image size
  EXPECT_EQ(U32(bytes, 46), 256u);  // colours used
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 54 + 4, bytes.begin() + 54 + 8),
            (std::vector<std::uint8_t>{30, 20, 10, 0}));  // RGBQUAD: blue first
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 1078, bytes.end()),
            (std::vector<std::uint8_t>{4, 5, 255, 0, 1, 2, 3, 0}));
}

TEST(BmpWriterTest, TwentyFourBitRowsArePaddedAndStoredBottomUp) {
  const std::vector<demo::Rgb> pixels = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}, {16, 17, 18}};
  const std::vector<std::uint8_t> bytes = demo::EncodeBmp24(3, 2, pixels);

  EXPECT_EQ(bytes.size(), 54u + 2 * 12);  // rows of 9 bytes padded to 12
  EXPECT_EQ(U32(bytes, 2), bytes.size());
  EXPECT_EQ(U32(bytes, 10), 54u);
  EXPECT_EQ(U16(bytes, 28), 24);
  EXPECT_EQ(U32(bytes, 34), 24u);
  EXPECT_EQ(U32(bytes, 46), 0u);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 54, bytes.end()),
            (std::vector<std::uint8_t>{12, 11, 10, 15, 14, 13, 18, 17, 16, 0, 0, 0,  //
                                       3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0}));
}

TEST(DemoPaletteTest, OnlyColourZeroLooksLikeTheTransparentColourAtSixteenBits) {
  const demo::Palette& p = demo::DemoPalette();
  const auto at555 = [](const demo::Rgb& c) { return (c.r >> 3) << 10 | (c.g >> 3) << 5 | c.b >> 3; };
  const auto at565 = [](const demo::Rgb& c) { return (c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3; };
  for (int i = 1; i < 256; ++i) {
    EXPECT_NE(at555(p[i]), at555(p[0])) << i;
    EXPECT_NE(at565(p[i]), at565(p[0])) << i;
  }
}

TEST(DemoPaletteTest, VariantsRotateTheRampsOrRepeatOne) {
  const demo::Palette& base = demo::DemoPalette();
  const demo::Palette rotated = demo::PaletteVariant(base, 11);  // by 176 entries
  const demo::Palette firstRamp = demo::PaletteVariant(base, 12);
  const demo::Palette lastRamp = demo::PaletteVariant(base, 23);
  EXPECT_EQ(demo::PaletteVariant(base, 0), base);
  EXPECT_EQ(demo::PaletteVariant(base, 1)[16], base[32]);
  EXPECT_EQ(demo::PaletteVariant(base, 1)[207], base[31]);
  for (int i = 16; i < 208; ++i) {
    EXPECT_EQ(rotated[i], base[16 + (i - 16 + 176) % 192]) << i;
    EXPECT_EQ(firstRamp[i], base[16 + (i - 16) % 16]) << i;
    EXPECT_EQ(lastRamp[i], base[192 + (i - 16) % 16]) << i;
  }
  for (int i : {0, 1, 15, 208, 239, 255}) EXPECT_EQ(rotated[i], base[i]) << i;
}

TEST(DemoPaletteTest, PalettePictureHoldsColourKAtColumnKMod16Row8PlusKDiv16) {
  const Bitmap8 bmp = ReadBitmap8(DemoFiles().at("bmp\\plt\\Palette.bmp"));
  ASSERT_GE(bmp.width, 16);
  ASSERT_GE(bmp.height, 24);
  EXPECT_EQ(bmp.palette, demo::DemoPalette());
  EXPECT_EQ(bmp.At(0, 0), 0);  // the top-left pixel names the transparent colour
  EXPECT_EQ(bmp.palette[0], (demo::Rgb{255, 0, 255}));
  for (int r = 0; r < 16; ++r)
    for (int c = 0; c < 16; ++c) EXPECT_EQ(bmp.At(c, 8 + r), r * 16 + c) << c << "," << r;
}

TEST(DemoPaletteTest, BlendTablesHoldTheNearestColourToTheAverageOfEachPair) {
  const demo::Palette& p = demo::DemoPalette();
  std::vector<std::vector<std::uint8_t>> tables;
  for (int n = 0; n < 24; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "bmp\\hbt\\hbt%02d.dat", n);
    ASSERT_TRUE(DemoFiles().count(name)) << name;
    tables.push_back(DemoFiles().at(name));
    ASSERT_EQ(tables.back().size(), 65536u) << name;
  }
  const std::vector<std::uint8_t>& t = tables[0];
  const auto entry = [](const std::vector<std::uint8_t>& table, int a, int b) { return table[a * 256 + b]; };
  for (int a = 0; a < 256; ++a) {
    EXPECT_EQ(entry(t, a, a), a);
    EXPECT_EQ(entry(t, 0, a), a);  // a pair with the transparent colour keeps the other
    EXPECT_EQ(entry(t, a, 0), a);
    for (int b = 0; b < 256; ++b) {
      ASSERT_EQ(entry(t, a, b), entry(t, b, a)) << a << "," << b;
      if (a != b && a != 0 && b != 0) {
        const int result = entry(t, a, b);
        ASSERT_NE(result, 0) << a << "," << b;
        ASSERT_FALSE(result >= 208 && result <= 239) << "a cycling colour for " << a << "," << b;
      }
    }
  }
  // Black and white give the mid grey; red and its own dark shade something between.
  EXPECT_EQ(p[entry(t, demo::pal::kBlack, demo::pal::kWhite)], (demo::Rgb{128, 128, 128}));
  const int mixed = entry(t, demo::pal::Shade(demo::pal::kRedRamp, 0), demo::pal::Shade(demo::pal::kRedRamp, 10));
  EXPECT_GT(p[mixed].r, p[demo::pal::Shade(demo::pal::kRedRamp, 0)].r);
  EXPECT_LT(p[mixed].r, p[demo::pal::Shade(demo::pal::kRedRamp, 10)].r);
  // Each table belongs to its own palette variant: in variant 12 every ramp is
  // the first one, so colours 16 and 32 are alike and blend to 16.
  EXPECT_EQ(entry(tables[12], 16, 32), 16);
  EXPECT_NE(entry(tables[0], 16, 32), 16);
  EXPECT_NE(tables[1], tables[0]);
}

TEST(DemoImagesTest, PicturesHaveTheSizesThePlayerReadsThemIn) {
  struct Expected {
    const char* name;
    int width, height;
  };
  const Expected expected[] = {
      {"bmp\\Debug.bmp", 32, 32},          {"bmp\\Block.bmp", 320, 480},         {"bmp\\Character1.bmp", 512, 480},
      {"bmp\\Shot.bmp", 128, 480},         {"bmp\\Item.bmp", 256, 480},          {"bmp\\Item_Mini.bmp", 128, 240},
      {"bmp\\Mark.bmp", 128, 480},         {"bmp\\Window.bmp", 640, 480},        {"bmp\\StatusWindow.bmp", 640, 20},
      {"bmp\\Title.bmp", 640, 480},        {"bmp\\GameMode.bmp", 192, 224},      {"bmp\\Accessory.bmp", 128, 208},
      {"bmp\\Symbol.bmp", 832, 32},        {"bmp\\Word.bmp", 320, 192},          {"bmp\\WorldMapChip.bmp", 160, 64},
      {"bmp\\WorldEvent.bmp", 64, 128},    {demo::kWorldBackImage, 32 * demo::kWorldMapWidth, 32 * demo::kWorldMapHeight},    {demo::kCharaExcImage, 512, 32},
      {demo::kSwordImageLeft, 96, 16},     {demo::kSwordImageRight, 96, 16},     {demo::kEffectImage, 128, 32},
      {demo::kPictureImage, 160, 64},      {demo::kBackgroundImage, 320, 240},
  };
  std::set<std::string> pictures;
  for (const auto& [name, bytes] : DemoFiles())
    if (name.ends_with(".bmp")) pictures.insert(name);
  EXPECT_EQ(pictures.size(), std::size(expected) + 1);  // and the palette picture
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.name);
    ASSERT_TRUE(DemoFiles().count(e.name));
    const Bitmap8 bmp = ReadBitmap8(DemoFiles().at(e.name));
    EXPECT_EQ(bmp.width, e.width);
    EXPECT_EQ(bmp.height, e.height);
    EXPECT_EQ(bmp.palette, demo::DemoPalette());
  }
}

TEST(DemoImagesTest, ThePlayersDecoderReadsEveryPicture) {
  for (const auto& [name, bytes] : DemoFiles()) {
    if (!name.ends_with(".bmp")) continue;
    SCOPED_TRACE(name);
    platform::DecodedBitmap decoded;
    std::string error;
    ASSERT_TRUE(platform::DecodeBitmapFile(bytes, decoded, error)) << error;
    const Bitmap8 bmp = ReadBitmap8(bytes);
    ASSERT_EQ(decoded.width, bmp.width);
    ASSERT_EQ(decoded.height, bmp.height);
    ASSERT_EQ(decoded.bitsPerPixel, 8);
    for (int i = 0; i < 256; ++i) {
      const demo::Rgb& c = bmp.palette[static_cast<std::size_t>(i)];
      EXPECT_EQ(decoded.colours[static_cast<std::size_t>(i)], (platform::RGBQUAD{c.b, c.g, c.r, 0}));
    }
    std::vector<std::uint8_t> indices;
    for (int y = 0; y < bmp.height; ++y)
      for (int x = 0; x < bmp.width; ++x) indices.push_back(static_cast<std::uint8_t>(decoded.IndexAt(x, y)));
    EXPECT_TRUE(indices == bmp.pixels);
  }
}

TEST(DemoImagesTest, NamedCellsAreDrawnAndBoxPicturesAreOpaque) {
  struct Cell {
    const char* name;
    int x, y, w, h;
  };
  const auto block = [](int n) { return Cell{"bmp\\Block.bmp", n / 15 * 32, n % 15 * 32, 32, 32}; };
  const auto figure = [](int n, int frame) { return Cell{"bmp\\Character1.bmp", frame * 32, n % 15 * 32, 32, 32}; };
  const auto item = [](int n, int frame) {
    return Cell{"bmp\\Item.bmp", n / 15 * 64 + frame * 32, n % 15 * 32, 32, 32};
  };
  const auto shot = [](int g, int frame) {
    return Cell{"bmp\\Shot.bmp", (frame + g / 30 * 2) * 16, g % 30 * 16, 16, 16};
  };
  const Cell cells[] = {
      block(demo::kBlockGround),  block(demo::kBlockSpikes),   block(demo::kBlockCloud),
      figure(demo::kHeroGraphic, demo::kStandFrame),           figure(demo::kHeroGraphic, demo::kJumpFrame),
      figure(demo::kSpikyGraphic, 4 + 3),                      figure(demo::kFlyerGraphic, 8 + 2),
      item(demo::kItemCoin, 1),   item(demo::kItemGoalFlag, 0), item(demo::kItemKey, 1),
      shot(demo::kShotBall, 0),   shot(demo::kShotStar, 1),
      {"bmp\\Item_Mini.bmp", 0, demo::kItemGoalFlag * 16, 16, 16},
      {"bmp\\Mark.bmp", 0, demo::kMarkHeart * 32, 32, 32},
      {"bmp\\Accessory.bmp", 0, 96, 32, 32},                   // the world-map figure facing right
      {"bmp\\Word.bmp", 9 * 32, 160, 32, 32},                  // the time digit 9
      {"bmp\\WorldEvent.bmp", 32, demo::kEventGate * 32, 32, 32},
      {demo::kSwordImageRight, 2 * 32, 0, 32, 16},
      {demo::kEffectImage, 3 * 32, 0, 32, 32},
  };
  for (const Cell& cell : cells) {
    const Bitmap8 bmp = ReadBitmap8(DemoFiles().at(cell.name));
    int drawn = 0;
    for (int y = cell.y; y < cell.y + cell.h; ++y)
      for (int x = cell.x; x < cell.x + cell.w; ++x) drawn += bmp.At(x, y) != 0;
    EXPECT_GT(drawn, cell.w * cell.h / 8) << cell.name << " at " << cell.x << "," << cell.y;
  }
  // Pictures drawn without the transparent colour must not hold it.
  for (const char* name : {"bmp\\Window.bmp", "bmp\\StatusWindow.bmp", "bmp\\Title.bmp", demo::kBackgroundImage}) {
    const Bitmap8 bmp = ReadBitmap8(DemoFiles().at(name));
    EXPECT_EQ(std::count(bmp.pixels.begin(), bmp.pixels.end(), 0), 0) << name;
  }
}

TEST(DemoImagesTest, TheHeroFacesLeftOnItsSheet) {
  // The eye of the standing hero lies in the left half of its cell.
  const Bitmap8 bmp = ReadBitmap8(DemoFiles().at("bmp\\Character1.bmp"));
  int leftBlack = 0;
  int rightBlack = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x)
      if (bmp.At(x, y) == demo::pal::kBlack) (x < 16 ? leftBlack : rightBlack)++;
  EXPECT_GT(leftBlack, 0);
  EXPECT_EQ(rightBlack, 0);
}

TEST(DemoImagesTest, WritesTheSameFilesEveryRun) {
  TempFolder first;
  TempFolder second;
  std::string error;
  ASSERT_TRUE(demo::WriteDemoImages(first.path(), error)) << error;
  ASSERT_TRUE(demo::WriteDemoImages(second.path(), error)) << error;
  const auto written = ReadTree(first.path());
  EXPECT_EQ(written, ReadTree(second.path()));
  // On disk the Windows names are real folders.
  EXPECT_TRUE(fs::is_regular_file(first.path() / "bmp" / "plt" / "Palette.bmp"));
  EXPECT_TRUE(fs::is_regular_file(first.path() / "bmp" / "hbt" / "hbt23.dat"));
  EXPECT_TRUE(fs::is_regular_file(first.path() / "bmp" / "chara_sp" / "Knight.bmp"));
  std::map<std::string, std::vector<std::uint8_t>> expected;
  for (const auto& [name, bytes] : DemoFiles()) {
    std::string relative = name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    expected[relative] = bytes;
  }
  EXPECT_EQ(written, expected);
}

TEST(DemoImagesTest, ReportsAFolderThatCannotBeMade) {
  TempFolder folder;
  WriteTextFile(folder / "bmp", "a file where the folder belongs");
  std::string error;
  EXPECT_FALSE(demo::WriteDemoImages(folder.path(), error));
  EXPECT_NE(error.find("bmp"), std::string::npos) << error;
  EXPECT_EQ(ReadTextFile(folder / "bmp"), "a file where the folder belongs");
}
