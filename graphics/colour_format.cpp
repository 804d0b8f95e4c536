#include "graphics/colour_format.h"

std::uint8_t PaletteFlag(int index) { return (index < 10 || index > 245) ? 2 : 1; }

namespace {

void SetChannel(std::uint32_t mask, int bitCount, int& shift, int& maximum) {
  shift = 0;
  while (shift < bitCount && shift < 32 && !(mask >> shift & 1)) ++shift;
  maximum = shift < 32 ? static_cast<int>(mask >> shift) : 0;
}

}  // namespace

void SetColourFormatFromMasks(DDCOLORFORMAT& format, std::uint32_t redMask, std::uint32_t greenMask,
                              std::uint32_t blueMask, int bitCount) {
  SetChannel(redMask, bitCount, format.nShiftR, format.nMaxR);
  SetChannel(greenMask, bitCount, format.nShiftG, format.nMaxG);
  SetChannel(blueMask, bitCount, format.nShiftB, format.nMaxB);
}

std::uint32_t PackPaletteEntry16(const DDCOLORFORMAT& format, const PaletteColour& entry) {
  const auto channel = [](std::uint8_t value, int maximum, int shift) {
    return shift < 32 ? (static_cast<std::uint32_t>(value & maximum) << shift) : 0u;
  };
  return channel(entry.r, format.nMaxR, format.nShiftR) | channel(entry.g, format.nMaxG, format.nShiftG) |
         channel(entry.b, format.nMaxB, format.nShiftB);
}

std::uint32_t SurfaceToScreen16(std::uint32_t pixel, const DDCOLORFORMAT& surface, const DDCOLORFORMAT& screen) {
  const std::uint32_t r = pixel >> surface.nShiftR & static_cast<std::uint32_t>(surface.nMaxR);
  const std::uint32_t g = (pixel >> surface.nShiftG & static_cast<std::uint32_t>(surface.nMaxG)) * 2;
  const std::uint32_t b = pixel >> surface.nShiftB & static_cast<std::uint32_t>(surface.nMaxB);
  return r << screen.nShiftR | g << screen.nShiftG | b << screen.nShiftB;
}
