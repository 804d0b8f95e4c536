#include "support/golden_image.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

bool WritePng(const std::filesystem::path& path, const GoldenImage& image) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  std::vector<png_byte> row(static_cast<std::size_t>(image.width) * 3);  // made before setjmp
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t p = image.at(x, y);
      row[x * 3 + 0] = static_cast<png_byte>(p >> 16);
      row[x * 3 + 1] = static_cast<png_byte>(p >> 8);
      row[x * 3 + 2] = static_cast<png_byte>(p);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool ReadPng(const std::filesystem::path& path, GoldenImage* image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
  png.format = PNG_FORMAT_RGB;
  std::vector<png_byte> bytes(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr)) {
    png_image_free(&png);
    return false;
  }
  *image = GoldenImage(static_cast<int>(png.width), static_cast<int>(png.height));
  for (std::size_t i = 0; i < image->pixels.size(); ++i) {
    image->pixels[i] = static_cast<std::uint32_t>(bytes[i * 3]) << 16 |
                       static_cast<std::uint32_t>(bytes[i * 3 + 1]) << 8 | bytes[i * 3 + 2];
  }
  return true;
}

std::filesystem::path GoldenPath(const std::string& name) {
  return std::filesystem::path(GOLDEN_DIR) / (name + ".png");
}

bool UpdatingGoldens() {
  const char* value = std::getenv("UPDATE_GOLDENS");
  return value != nullptr && std::string(value) == "1";
}

testing::AssertionResult MatchesGolden(const GoldenImage& image, const std::string& name,
                                       const std::string& context) {
  const std::filesystem::path golden = GoldenPath(name);
  if (UpdatingGoldens()) {
    if (!WritePng(golden, image)) return testing::AssertionFailure() << "cannot write " << golden;
    return testing::AssertionSuccess();
  }
  GoldenImage expected;
  if (!ReadPng(golden, &expected)) {
    return testing::AssertionFailure() << "no golden " << golden << " (run with UPDATE_GOLDENS=1 to make it)";
  }
  if (expected == image) return testing::AssertionSuccess();

  const std::filesystem::path out = std::filesystem::path(GOLDEN_OUTPUT_DIR) / name;
  WritePng(out.string() + ".actual.png", image);
  std::ostringstream message;
  message << "picture differs from golden " << golden;
  if (expected.width != image.width || expected.height != image.height) {
    message << ": size " << image.width << "x" << image.height << ", golden " << expected.width << "x"
            << expected.height;
  } else {
    GoldenImage diff(image.width, image.height);
    int count = 0;
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        const std::uint32_t a = image.at(x, y);
        const std::uint32_t e = expected.at(x, y);
        if (a == e) {
          diff.at(x, y) = (e >> 2) & 0x3F3F3F;
          continue;
        }
        diff.at(x, y) = 0xFF0000;
        if (count++ == 0) {
          message << ": first at (" << x << ", " << y << ") is " << std::hex << a << ", golden " << e << std::dec;
        }
      }
    }
    message << "; " << count << " pixels differ";
    WritePng(out.string() + ".diff.png", diff);
  }
  message << "; actual and difference written to " << out << ".*.png";
  if (!context.empty()) message << "\n" << context;
  return testing::AssertionFailure() << message.str();
}
