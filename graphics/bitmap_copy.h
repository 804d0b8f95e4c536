// The pixel work of loading a bitmap into a locked DirectDraw surface, by
// the screen depth (DDLoadBitmap runs one of these between Lock and Unlock):
//
// - CopyBitmapIndices (8 bits): an 8-bit bitmap's indices are palette
//   numbers and are copied as they are; any other bitmap is converted to
//   the nearest colour of the palette (lowest number on a tie), so that no
//   index is read outside its picture.
// - ConvertBitmapTo16 (16 bits, 24- and 32-bit bitmaps): the load key colour
//   becomes the transparent value; every other colour is scaled to the
//   channel maxima (truncating) and, should it equal the transparent value,
//   moved by one in blue so that no opaque pixel turns transparent.
// - CopyBitmapThroughGdi (16 bits for other bitmaps, 32 bits for all): GDI's
//   BitBlt of the whole bitmap, or one mirroring StretchBlt per whole cell.
//
// Mirroring by cells: with a cell width w, column x of the file is stored at
// (x / w) * w + (w - 1 - x % w); columns of an incomplete last cell are not
// written. Rows likewise with a cell height. Everything is clipped to the
// surface, which may be smaller than the bitmap (a reloaded file that grew).
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/colour_format.h"
#include "platform/bitmap_file.h"
#include "platform/gdi_blit.h"

// A locked surface's pixels.
struct SurfacePixels {
  std::uint8_t* bits = nullptr;
  int pitch = 0;  // bytes
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
};

struct MirrorCells {
  int width = 0;   // 0: columns not mirrored
  int height = 0;  // 0: rows not mirrored
};

// Where position p of a picture `size` long is stored with mirroring cells
// of `cell` (0: p itself); -1 in an incomplete last cell.
int MirroredPosition(int p, int cell, int size);

void CopyBitmapIndices(const platform::DecodedBitmap& bitmap, const SurfacePixels& surface, MirrorCells cells,
                       const PaletteBuffer& palette);

struct RgbKey {
  std::uint8_t red = 0, green = 0, blue = 0;
};
void ConvertBitmapTo16(const platform::DecodedBitmap& bitmap, const SurfacePixels& surface, MirrorCells cells,
                       const DDCOLORFORMAT& format, RgbKey loadKey, std::uint32_t transmit);

// False when GDI cannot draw into the surface (8 bits).
bool CopyBitmapThroughGdi(const platform::DecodedBitmap& bitmap, const platform::DeviceContextPixels& surface,
                          MirrorCells cells);

// The palette-number map of a 16- or 32-bit surface: one byte a pixel, rows
// of pitch / bytes-per-pixel bytes; each byte the first palette number whose
// colour the pixel shows (16 bits: its packed channel values; 32 bits: its
// R, G, B bytes), 0 where none does.
std::vector<std::uint8_t> BuildPaletteNumberMap(const SurfacePixels& surface, const PaletteBuffer& palette,
                                                const DDCOLORFORMAT& format);
