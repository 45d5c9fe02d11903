#include "capture/graph/graph_notify_window_win32.h"

namespace zelvio {
namespace {

constexpr const char* kClassName = "ZelvioGraphNotify";

void RegisterClassOnce() {
  static const bool registered = [] {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
  }();
  (void)registered;
}

}  // namespace

GraphNotifyWindow::GraphNotifyWindow(std::function<void()> onGraphEvent)
    : onGraphEvent_(std::move(onGraphEvent)) {
  RegisterClassOnce();
  // Message-only: it never shows and never appears among the top-level windows.
  window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  if (!window_) return;
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GraphNotifyWindow::WindowProc));
}

GraphNotifyWindow::~GraphNotifyWindow() {
  if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK GraphNotifyWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<GraphNotifyWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == kGraphEventMessage && self && self->onGraphEvent_) {
    self->onGraphEvent_();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace zelvio
