// Pieces the Windows test programs put graphs together from, beside the recorder: platform
// filters by class, our own filters straight from their module file, and a stand-in for the
// overlay window that tells the screen source its region and rate.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <string>

#include "common/overlay_command.h"
#include "kit/com_ptr.h"

namespace ztest {

// {C1F400A4-3F08-11D3-9F0B-006008039E37}
inline constexpr CLSID kNullRenderer = {
    0xc1f400a4, 0x3f08, 0x11d3, {0x9f, 0x0b, 0x00, 0x60, 0x08, 0x03, 0x9e, 0x37}};

inline HRESULT CreateFilter(const CLSID& clsid, zelvio::kit::ComPtr<IBaseFilter>& out) {
  return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, out.PutVoid());
}

// Creates a filter from its module the way the recorder does (LoadLibrary, DllGetClassObject).
inline HRESULT LoadFilterFromModule(const std::string& module, const CLSID& clsid, IBaseFilter** out) {
  HMODULE dll = LoadLibraryA(module.c_str());
  if (!dll) return HRESULT_FROM_WIN32(GetLastError());
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto entry =
      reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
  if (!entry) return E_NOINTERFACE;
  zelvio::kit::ComPtr<IClassFactory> factory;
  HRESULT hr = entry(clsid, IID_IClassFactory, factory.PutVoid());
  if (FAILED(hr)) return hr;
  return factory->CreateInstance(nullptr, IID_IBaseFilter, reinterpret_cast<void**>(out));
}

// A hidden window of the overlay's class and caption, framing the region by the overlay's
// border; the screen source reads its region and rate from it as from the real one.
inline HWND CreateOverlayStandIn(int left, int top, int width, int height, int fps) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = zelvio::kOverlayWindowClass;
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  const std::string caption = zelvio::OverlayRateCaption(std::to_string(fps));
  constexpr int kBorder = zelvio::kOverlayBorder;
  return CreateWindowExA(WS_EX_TOOLWINDOW, zelvio::kOverlayWindowClass, caption.c_str(), WS_POPUP,
                         left - kBorder, top - kBorder, width + 2 * kBorder, height + 2 * kBorder, nullptr,
                         nullptr, wc.hInstance, nullptr);
}

}  // namespace ztest
