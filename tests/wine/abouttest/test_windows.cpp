#include "test_windows.h"

#include <vector>

namespace abouttest {

namespace {
constexpr char kPlainClass[] = "AboutTestPlainWindow";
}  // namespace

HWND CreatePlainWindow(HINSTANCE instance, const char* title, int x, int y, int width, int height) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = kPlainClass;
  RegisterClassExA(&wc);  // fails harmlessly the second time
  HWND window = CreateWindowExA(0, kPlainClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height,
                                nullptr, nullptr, instance, nullptr);
  UpdateWindow(window);
  return window;
}

std::string WindowText(HWND window) {
  int length = static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
  std::vector<char> text(length + 1, '\0');
  SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  return std::string(text.data());
}

}  // namespace abouttest
