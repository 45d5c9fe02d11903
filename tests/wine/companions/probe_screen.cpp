#include "probe_screen.h"

#include "common/win32/window_class.h"
#include "common/win32/window_object.h"

COLORREF WaitForPixel(int x, int y, COLORREF expected, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    COLORREF color = ScreenPixel(x, y);
    if (color == expected || GetTickCount() - start >= timeoutMs) return color;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(20);
  }
}

Canvas::~Canvas() {
  if (window_ != nullptr) DestroyWindow(window_);
}

bool Canvas::Create(const RECT& rect, COLORREF color) {
  color_ = color;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!zelvio::RegisterPlainClass(instance, "ZelvioProbeCanvas", Procedure)) return false;
  window_ = CreateWindowExA(0, "ZelvioProbeCanvas", "probe canvas", WS_POPUP, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance, this);
  if (window_ == nullptr) return false;
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  return true;
}

LRESULT CALLBACK Canvas::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = zelvio::WindowObject<Canvas>(window, message, lParam);
  if (self != nullptr && message == WM_LBUTTONDOWN) ++self->clicks_;
  if (self != nullptr && message == WM_ERASEBKGND) return 1;
  if (self != nullptr && message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    zelvio::FillWithColor(dc, paint.rcPaint, self->color_);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
