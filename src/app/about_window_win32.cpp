#include "app/about_window_win32.h"

namespace zelvio {

namespace {

constexpr char kAboutClass[] = "TFormAbout";
constexpr int kClientWidth = 329;
constexpr int kClientHeight = 426;
// A tool window's small caption, fixed size, no minimise or maximise.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

}  // namespace

AboutPlaceholder::AboutPlaceholder(HINSTANCE instance, HWND owner, HFONT font) : owner_(owner) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kAboutClass;
  RegisterClassExA(&wc);
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  window_ = CreateWindowExA(kExStyle, kAboutClass, "About", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, owner, nullptr, instance, this);
  if (window_ && font) SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

AboutPlaceholder::~AboutPlaceholder() {
  if (IsWindow(window_)) DestroyWindow(window_);
}

void AboutPlaceholder::CentreOnDesktop() {
  RECT r{};
  GetWindowRect(window_, &r);
  int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
  SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AboutPlaceholder::ShowModal() {
  if (!window_ || open_) return;
  CentreOnDesktop();
  EnableWindow(owner_, FALSE);
  ShowWindow(window_, SW_SHOW);
  open_ = true;
  MSG msg;
  while (open_) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      // The quit belongs to the program's own loop.
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
      break;
    }
    if (IsDialogMessageA(window_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  open_ = false;
  // The owner comes back before the window hides, so Windows activates the owner and not
  // some other program.
  EnableWindow(owner_, TRUE);
  ShowWindow(window_, SW_HIDE);
  SetActiveWindow(owner_);
}

LRESULT CALLBACK AboutPlaceholder::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<AboutPlaceholder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self && message == WM_CLOSE) {
    // Closing only ends the showing; the window lives on for the next one.
    self->open_ = false;
    return 0;
  }
  // Escape, through the dialog keys.
  if (self && message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    self->open_ = false;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace zelvio
