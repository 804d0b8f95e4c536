// D3DX's font and sprite over the text engine (platform/text_engine.h), so
// that Direct3D text has the glyphs of GDI text.
//
// D3DXCreateFontIndirect makes a font of the description's face (at most 31
// bytes of FaceName are read, whether or not it is terminated) and Height
// (GDI's sizing: a positive height is the cell height); the other fields are
// accepted as they are. DrawTextA draws one line of CP932 text with the
// cell's top-left at the rectangle's top-left into the device's current
// render target, each glyph pixel set to the colour (the program's text is
// opaque; alpha is not blended); a count of -1 takes the text up to its zero.
// DT_CALCRECT only measures: right = left + the advances, bottom = top + the
// cell height. The result is the cell height, 0 when nothing could be done.
// Text goes through a sprite between its Begin and End; a null sprite draws
// at once. After OnLostDevice a font or sprite draws nothing until
// OnResetDevice, and nothing is drawn while the device is lost.
// One thread uses a font, a sprite and their device at a time.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/rect.h"
#include "platform/text_engine.h"
#include "platform/video/d3d9.h"

namespace platform {

using D3DCOLOR = std::uint32_t;

constexpr std::uint32_t DT_NOCLIP = 0x100;
constexpr std::uint32_t DT_CALCRECT = 0x400;
constexpr std::uint32_t D3DXSPRITE_ALPHABLEND = 0x10;
constexpr std::uint32_t D3DXSPRITE_SORT_TEXTURE = 0x20;

struct D3DXFONT_DESCA {
  int Height = 0;
  UINT Width = 0;
  UINT Weight = 0;
  UINT MipLevels = 0;
  int Italic = 0;
  std::uint8_t CharSet = 0;
  std::uint8_t OutputPrecision = 0;
  std::uint8_t Quality = 0;
  std::uint8_t PitchAndFamily = 0;
  char FaceName[32] = {};
};

class D3DXSprite : public RefCounted {
 public:
  HRESULT Begin(std::uint32_t flags);  // D3DERR_INVALIDCALL when already begun
  HRESULT End();                       // D3DERR_INVALIDCALL when not begun
  HRESULT OnLostDevice();
  HRESULT OnResetDevice();

  bool Drawing() const { return m_bBegun && !m_bLost; }

 private:
  friend HRESULT D3DXCreateSprite(Direct3DDevice9* device, D3DXSprite** sprite);
  D3DXSprite() = default;
  bool m_bBegun = false;
  bool m_bLost = false;
};

class D3DXFont : public RefCounted {
 public:
  int DrawTextA(D3DXSprite* sprite, const char* text, int count, RECT* rect, std::uint32_t format, D3DCOLOR color);
  HRESULT OnLostDevice();
  HRESULT OnResetDevice();

  const TextFont& Text() const { return *m_Text; }

 private:
  friend HRESULT D3DXCreateFontIndirect(Direct3DDevice9* device, const D3DXFONT_DESCA* desc, D3DXFont** font);
  D3DXFont(Direct3DDevice9* device, std::shared_ptr<const TextFont> text);
  ~D3DXFont() override;
  Direct3DDevice9* m_pDevice;  // a reference is kept
  std::shared_ptr<const TextFont> m_Text;
  bool m_bLost = false;
};

// D3DERR_INVALIDCALL for a null argument; E_FAIL when no font is installed.
HRESULT D3DXCreateFontIndirect(Direct3DDevice9* device, const D3DXFONT_DESCA* desc, D3DXFont** font);
HRESULT D3DXCreateSprite(Direct3DDevice9* device, D3DXSprite** sprite);

}  // namespace platform
