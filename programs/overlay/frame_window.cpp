#include "overlay/frame_window.h"

#include "common/win32/handles.h"
#include "common/win32/window_class.h"
#include "common/win32/window_object.h"

namespace {

constexpr UINT_PTR kFlashTimer = 1;

// Larger than any region a command may carry, so the system never trims our size.
constexpr LONG kLargestFrame = 2 * zelvio::kMaxOverlayExtent + 2 * kFrameBorder;

COLORREF ToColorRef(zelvio::OverlayColor color) { return RGB(color.r, color.g, color.b); }

// The outer rectangle minus the region itself, in window coordinates: the frame hides
// nothing of what is recorded, and clicks inside the region reach the windows beneath.
zelvio::UniqueRegion MakeBand(int outerWidth, int outerHeight) {
  zelvio::UniqueRegion band(CreateRectRgn(0, 0, outerWidth, outerHeight));
  zelvio::UniqueRegion hole(
      CreateRectRgn(kFrameBorder, kFrameBorder, outerWidth - kFrameBorder, outerHeight - kFrameBorder));
  if (!band || !hole) return nullptr;
  if (CombineRgn(band.get(), band.get(), hole.get(), RGN_DIFF) == ERROR) return nullptr;
  return band;
}

}  // namespace

bool FrameWindow::Create(HINSTANCE instance) {
  if (!zelvio::RegisterPlainClass(instance, kFrameClassName, zelvio::ObjectWindowProc<FrameWindow>))
    return false;
  DWORD exStyle = WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
  HWND window = CreateWindowExA(exStyle, kFrameClassName, kFrameInitialCaption, WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, instance, this);
  if (window == nullptr) return false;
  window_.reset(window);
  // The frame comes first: it is what the recorder looks for once this process looks
  // idle. The backdrop is shown now, before the frame and the applications a user records,
  // so they all stack above it. Without it the frame still works; only the background is lost.
  backdrop_.Create(instance);
  return true;
}

LRESULT FrameWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COPYDATA:
      return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_TIMER:
      if (wParam == kFlashTimer) OnFlashOver();
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMaxTrackSize.x = kLargestFrame;
      info->ptMaxTrackSize.y = kLargestFrame;
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_DESTROY:
      backdrop_.Destroy();
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      (void)window_.release();
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool FrameWindow::OnCopyData(const COPYDATASTRUCT* data) {
  if (data == nullptr || data->lpData == nullptr) return false;
  auto command = zelvio::ParseOverlayCommand(static_cast<const uint8_t*>(data->lpData), data->cbData);
  if (!command) return false;
  Apply(*command);
  return true;
}

void FrameWindow::Apply(const zelvio::OverlayCommand& command) {
  switch (command.kind) {
    case zelvio::OverlayCommandKind::ChangeFormCaption:
      SetWindowTextA(window_.get(), command.caption.c_str());
      return;
    case zelvio::OverlayCommandKind::Create:
      OnRegion(command);
      return;
    case zelvio::OverlayCommandKind::ChangeFormColor:
      OnColor(command);
      return;
    case zelvio::OverlayCommandKind::Close:
      // WM_DESTROY ends the message loop.
      window_.reset();
      return;
  }
}

void FrameWindow::OnRegion(const zelvio::OverlayCommand& command) {
  HWND window = window_.get();
  int outerWidth = command.width + 2 * kFrameBorder;
  int outerHeight = command.height + 2 * kFrameBorder;
  SetWindowPos(window, HWND_TOPMOST, command.left - kFrameBorder, command.top - kFrameBorder, outerWidth,
               outerHeight, SWP_NOACTIVATE);
  zelvio::UniqueRegion band = MakeBand(outerWidth, outerHeight);
  // On success the system owns the region; on failure it stays ours to free.
  if (band && SetWindowRgn(window, band.get(), TRUE)) (void)band.release();
  if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNOACTIVATE);

  if (command.background) {
    backdrop_.Show(ToColorRef(command.color));
  } else {
    backdrop_.Hide();
  }
}

void FrameWindow::OnColor(const zelvio::OverlayCommand& command) {
  COLORREF color = ToColorRef(command.color);
  KillTimer(window_.get(), kFlashTimer);
  if (command.durationMs == 0) {
    stateColor_ = color;
  } else {
    SetTimer(window_.get(), kFlashTimer, static_cast<UINT>(command.durationMs), nullptr);
  }
  ShowColor(color);
}

void FrameWindow::OnFlashOver() {
  KillTimer(window_.get(), kFlashTimer);
  ShowColor(stateColor_);
}

void FrameWindow::ShowColor(COLORREF color) {
  shownColor_ = color;
  // Painted before the sender gets its reply, so what it does next sees the new colour.
  RedrawWindow(window_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void FrameWindow::Paint(HWND window) const {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  zelvio::FillWithColor(dc, paint.rcPaint, shownColor_);
  EndPaint(window, &paint);
}
