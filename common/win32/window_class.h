// Registers a window class once per process; both companion programs and their test
// helpers create plain popup windows that only differ in name and procedure.
#pragma once

#include <windows.h>

namespace zelvio {

inline bool RegisterPlainClass(HINSTANCE instance, const char* name, WNDPROC procedure) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  if (RegisterClassExA(&wc) != 0) return true;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Fills a rectangle with a colour without creating a brush of our own to clean up.
inline void FillWithColor(HDC dc, const RECT& rect, COLORREF color) {
  SetDCBrushColor(dc, color);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

}  // namespace zelvio
