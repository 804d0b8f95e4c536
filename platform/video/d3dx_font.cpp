#include "platform/video/d3dx_font.h"

#include <cstring>
#include <string>
#include <string_view>

namespace platform {

HRESULT D3DXSprite::Begin(std::uint32_t) {
  if (m_bBegun) return D3DERR_INVALIDCALL;
  m_bBegun = true;
  return D3D_OK;
}

HRESULT D3DXSprite::End() {
  if (!m_bBegun) return D3DERR_INVALIDCALL;
  m_bBegun = false;
  return D3D_OK;
}

HRESULT D3DXSprite::OnLostDevice() {
  m_bLost = true;
  m_bBegun = false;
  return D3D_OK;
}

HRESULT D3DXSprite::OnResetDevice() {
  m_bLost = false;
  return D3D_OK;
}

HRESULT D3DXCreateSprite(Direct3DDevice9* device, D3DXSprite** sprite) {
  if (device == nullptr || sprite == nullptr) return D3DERR_INVALIDCALL;
  *sprite = new D3DXSprite;
  return D3D_OK;
}

D3DXFont::D3DXFont(Direct3DDevice9* device, std::shared_ptr<const TextFont> text)
    : m_pDevice(device), m_Text(std::move(text)) {
  m_pDevice->AddRef();
}

D3DXFont::~D3DXFont() { m_pDevice->Release(); }

HRESULT D3DXFont::OnLostDevice() {
  m_bLost = true;
  return D3D_OK;
}

HRESULT D3DXFont::OnResetDevice() {
  m_bLost = false;
  return D3D_OK;
}

int D3DXFont::DrawTextA(D3DXSprite* sprite, const char* text, int count, RECT* rect, std::uint32_t format,
                        D3DCOLOR color) {
  if (text == nullptr || rect == nullptr || count < -1) return 0;
  const std::string_view line(text, count == -1 ? std::strlen(text) : static_cast<std::size_t>(count));
  if (format & DT_CALCRECT) {
    const TextExtent extent = m_Text->Measure(line);
    rect->right = rect->left + extent.cx;
    rect->bottom = rect->top + extent.cy;
    return extent.cy;
  }
  if (m_bLost || (sprite != nullptr && !sprite->Drawing())) return 0;
  if (m_pDevice->TestCooperativeLevel() != D3D_OK) return 0;
  Direct3DSurface9* target = m_pDevice->RenderTarget();
  if (target == nullptr) return 0;
  PixelBuffer& pixels = target->Pixels();
  const TextTarget canvas{pixels.Bits(), pixels.Width(), pixels.Height(), pixels.Pitch(),
                          BytesPerPixel(pixels.Format())};
  m_Text->Draw(canvas, rect->left, rect->top, line, FromArgb(pixels.Format(), color | 0xFF000000u));
  return m_Text->CellHeight();
}

HRESULT D3DXCreateFontIndirect(Direct3DDevice9* device, const D3DXFONT_DESCA* desc, D3DXFont** font) {
  if (device == nullptr || desc == nullptr || font == nullptr) return D3DERR_INVALIDCALL;
  *font = nullptr;
  const std::string face(desc->FaceName, strnlen(desc->FaceName, sizeof desc->FaceName - 1));
  auto text = TextFont::Create(face, desc->Height, static_cast<int>(desc->Width));
  if (text == nullptr) return E_FAIL;
  *font = new D3DXFont(device, std::move(text));
  return D3D_OK;
}

}  // namespace platform
