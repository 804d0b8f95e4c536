#include "platform/video/png_file.h"

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace platform {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Writes rows of RGB bytes; libpng reports errors by longjmp, so nothing
// with a destructor lives inside the guarded part.
bool WriteRgbRows(std::FILE* file, int width, int height, png_bytep* rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels) {
  if (width < 1 || height < 1 || pixels.size() != static_cast<std::size_t>(width) * height) return false;
  std::vector<png_byte> bytes(pixels.size() * 3);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    bytes[i * 3] = static_cast<png_byte>(pixels[i] >> 16);
    bytes[i * 3 + 1] = static_cast<png_byte>(pixels[i] >> 8);
    bytes[i * 3 + 2] = static_cast<png_byte>(pixels[i]);
  }
  std::vector<png_bytep> rows(height);
  for (int y = 0; y < height; ++y) rows[y] = bytes.data() + static_cast<std::size_t>(y) * width * 3;

  const std::string temporary = path + ".part";
  bool written;
  {
    File file(std::fopen(temporary.c_str(), "wb"));
    if (!file) return false;
    written = WriteRgbRows(file.get(), width, height, rows.data());
    written = std::fflush(file.get()) == 0 && written;
  }
  std::error_code error;
  if (written) std::filesystem::rename(temporary, path, error);
  if (!written || error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}

bool ReadPng(const std::string& path, PngImage& image) {
  png_image reader{};
  reader.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&reader, path.c_str())) return false;
  reader.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(reader.width) * reader.height);
  if (!png_image_finish_read(&reader, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&reader);
    return false;
  }
  image.width = static_cast<int>(reader.width);
  image.height = static_cast<int>(reader.height);
  image.pixels = std::move(pixels);
  return true;
}

}  // namespace platform
