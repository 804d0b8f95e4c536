// PNG files of 32-bit frames through libpng: written for PLAYER_DUMP_FRAME
// and test artefacts, read back by tests that compare pictures.
//
// Pixels are 0xAARRGGBB; files are 8-bit RGB (alpha dropped) when written,
// and any PNG libpng reads is converted to ARGB when read. Paths are Linux
// paths. Failures return false and leave no half-written file under the
// name (the file is written beside it and renamed).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct PngImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, rows top to bottom
};

bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels);
bool ReadPng(const std::string& path, PngImage& image);

}  // namespace platform
