// Result codes of the DirectDraw and Direct3D stand-ins, with the values
// the Windows interfaces give them (the program prints them as "%x" and
// tests some of them). Negative values are failures.
#pragma once

#include <cstdint>

namespace platform {

using HRESULT = std::int32_t;

constexpr HRESULT MakeResult(std::uint32_t code) { return static_cast<HRESULT>(code); }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }

constexpr HRESULT S_OK = 0;
constexpr HRESULT DD_OK = 0;
constexpr HRESULT D3D_OK = 0;
constexpr HRESULT E_FAIL = MakeResult(0x80004005);
constexpr HRESULT E_INVALIDARG = MakeResult(0x80070057);
constexpr HRESULT DDERR_GENERIC = E_FAIL;
constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
constexpr HRESULT DDERR_INVALIDMODE = MakeResult(0x88760050);
constexpr HRESULT DDERR_INVALIDRECT = MakeResult(0x88760096);
constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = MakeResult(0x8876017C);
constexpr HRESULT DDERR_SURFACEBUSY = MakeResult(0x887601AE);
constexpr HRESULT DDERR_SURFACELOST = MakeResult(0x887601C2);
constexpr HRESULT DDERR_NOTLOCKED = MakeResult(0x88760248);
constexpr HRESULT DDERR_NOTFOUND = MakeResult(0x887600FF);
constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = MakeResult(0x8876017C);
constexpr HRESULT D3DERR_DEVICELOST = MakeResult(0x88760868);
constexpr HRESULT D3DERR_DEVICENOTRESET = MakeResult(0x88760869);
constexpr HRESULT D3DERR_NOTAVAILABLE = MakeResult(0x8876086A);
constexpr HRESULT D3DERR_INVALIDCALL = MakeResult(0x8876086C);

}  // namespace platform
