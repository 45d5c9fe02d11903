// The hidden window through which a filter graph announces its events (message WM_APP + 1)
// on the thread that owns the graph.
#pragma once

#include <windows.h>

#include <functional>

namespace zelvio {

inline constexpr UINT kGraphEventMessage = WM_APP + 1;

class GraphNotifyWindow {
 public:
  explicit GraphNotifyWindow(std::function<void()> onGraphEvent);
  ~GraphNotifyWindow();
  GraphNotifyWindow(const GraphNotifyWindow&) = delete;
  GraphNotifyWindow& operator=(const GraphNotifyWindow&) = delete;

  HWND Handle() const { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  std::function<void()> onGraphEvent_;
  HWND window_ = nullptr;
};

}  // namespace zelvio
