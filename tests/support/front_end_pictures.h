// The pictures the front-end scenes load, made in code and small: a title
// picture, a game-mode strip of seven 32-pixel rows, the accessory sheet
// with its cursors and the map hero, a window picture, a symbol sheet, the world map's chip
// tiles (two rows of five) and point icons (three rows, cleared on the
// right), each an 8-bit bitmap of plain colours written under the current
// folder's bmp\.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/bitmap_file_builder.h"
#include "support/temp_folder.h"

inline void WriteFrontEndPictures(const std::filesystem::path& root) {
  std::filesystem::create_directories(root / "bmp");
  std::vector<platform::RGBQUAD> colours(256);
  for (int i = 0; i < 256; ++i)
    colours[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i / 2), static_cast<std::uint8_t>(255 - i),
                                            static_cast<std::uint8_t>(i), 0};
  const auto write = [&](const char* name, int w, int h, auto colourAt) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) pixels.push_back(colourAt(x, y));
    const std::vector<std::uint8_t> bytes = BitmapFileBuilder(w, h, 8).Colours(colours).Pixels(pixels).Build();
    WriteTextFile(root / "bmp" / name, std::string(bytes.begin(), bytes.end()));
  };
  write("Title.bmp", 640, 480, [](int x, int y) { return 16u + static_cast<std::uint32_t>((x / 80 + y / 60) % 8); });
  write("GameMode.bmp", 160, 224, [](int x, int y) { return x < 8 * (y / 32 + 1) ? 100u + y / 32 : 0u; });
  // Below the cursors, the map hero's 32-pixel pictures, each of its own
  // colour.
  write("Accessory.bmp", 128, 128, [](int x, int y) {
    if (y >= 64) return 150u + static_cast<std::uint32_t>(x / 32 + 4 * ((y - 64) / 32));
    return (x + y) % 3 == 0 ? 200u : 0u;
  });
  write("Window.bmp", 64, 64, [](int x, int y) { return 40u + static_cast<std::uint32_t>((x ^ y) & 3); });
  write("Symbol.bmp", 64, 32, [](int x, int y) { return (x / 16 + y / 16) % 2 == 0 ? 60u : 0u; });
  write("WorldMapChip.bmp", 160, 64,
        [](int x, int y) { return 120u + static_cast<std::uint32_t>(x / 32 + 5 * (y / 32)); });
  write("WorldEvent.bmp", 64, 96,
        [](int x, int y) { return 140u + static_cast<std::uint32_t>(x / 32 + 2 * (y / 32)); });
}
