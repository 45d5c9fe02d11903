#include "platform/dpi_win32.h"

#include "platform/dpi_scale.h"
#include "common/win32/handles.h"

namespace zelvio {

namespace {

template <typename Function>
Function UserFunction(const char* name) {
  static HMODULE user32 = GetModuleHandleA("user32.dll");
  if (!user32) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using EnableNonClientDpiScalingFunction = BOOL(WINAPI*)(HWND);
using LoadIconWithScaleDownFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);

}  // namespace

int SystemDpi() {
  WindowDc screen(nullptr);
  int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND window) {
  static auto forWindow = UserFunction<GetDpiForWindowFunction>("GetDpiForWindow");
  if (forWindow && window) {
    UINT dpi = forWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  static auto forDpi = UserFunction<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  if (forDpi && forDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) return;
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

int SystemMetricForDpi(int index, int dpi) {
  static auto forDpi = UserFunction<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, static_cast<UINT>(dpi));
  return GetSystemMetrics(index);
}

HICON LoadIconScaledDown(HINSTANCE instance, int resourceId, int size) {
  // comctl32 version 6 (our manifest asks for it) has it; version 5 of Windows XP does not.
  static HMODULE comctl32 = GetModuleHandleA("comctl32.dll");
  static auto scaleDown = comctl32 ? reinterpret_cast<LoadIconWithScaleDownFunction>(reinterpret_cast<void*>(
                                         GetProcAddress(comctl32, "LoadIconWithScaleDown")))
                                   : nullptr;
  HICON icon = nullptr;
  if (scaleDown && SUCCEEDED(scaleDown(instance, MAKEINTRESOURCEW(resourceId), size, size, &icon)))
    return icon;
  return nullptr;
}

HICON LoadIconSized(HINSTANCE instance, int resourceId, int size) {
  // Scaling a larger image down looks better than Windows 7's stretching of the nearest one up.
  if (HICON icon = LoadIconScaledDown(instance, resourceId, size)) return icon;
  return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(resourceId), IMAGE_ICON, size, size, 0));
}

void EnableNonClientScaling(HWND window) {
  static auto enable = UserFunction<EnableNonClientDpiScalingFunction>("EnableNonClientDpiScaling");
  if (enable) enable(window);
}

}  // namespace zelvio
