// popup-menu [close | items N]: whether a popup menu (a window of class "#32768") is open,
// as the tray icon's right click opens one; with "close" Escape to close it again and wait
// until it is gone; with "items N" which of its N items (all of one height, no
// separators) are enabled, read from the screen: the items' states cannot be asked from
// another process under Wine, but an enabled item's text is drawn in the menu text colour
// and a greyed one's is not.
#include <windows.h>

#include <string>
#include <vector>

#include "commands_desktop.h"
#include "output.h"

namespace zdriver {

namespace {

constexpr const char* kPopupMenuClass = "#32768";
constexpr DWORD kCloseWaitMs = 5000;
constexpr DWORD kPollMs = 50;

HWND OpenMenuWindow() {
  HWND window = FindWindowA(kPopupMenuClass, nullptr);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

// The menu's picture as 0x00RRGGBB rows, top-down.
std::vector<DWORD> CaptureWindow(HWND window, int* width, int* height) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  *width = rect.right - rect.left;
  *height = rect.bottom - rect.top;
  std::vector<DWORD> pixels(static_cast<size_t>(*width) * static_cast<size_t>(*height));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, *width, *height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, *width, *height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = *width;
  info.bmiHeader.biHeight = -*height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(*height), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// "1" for an item whose text holds pixels of the menu text colour, "0" for one without.
// The text lies right of the pictures' column, so only that part of each item is read;
// the menu's frame (its top and bottom rows) is left out by splitting the height that
// holds anything but the menu colour.
std::string ItemStates(HWND window, int count) {
  int width = 0, height = 0;
  std::vector<DWORD> pixels = CaptureWindow(window, &width, &height);
  const DWORD text = GetSysColor(COLOR_MENUTEXT);
  const DWORD textRgb = (GetRValue(text) << 16) | (GetGValue(text) << 8) | GetBValue(text);
  const int border = GetSystemMetrics(SM_CYEDGE) + 1;
  const int inner = height - 2 * border;
  std::string states;
  for (int i = 0; i < count; ++i) {
    int top = border + inner * i / count;
    int bottom = border + inner * (i + 1) / count;
    bool enabled = false;
    for (int y = top; y < bottom && !enabled; ++y) {
      for (int x = 24; x < width - border && !enabled; ++x)
        enabled = (pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF) == textRgb;
    }
    states += std::string(states.empty() ? "" : " ") + (enabled ? "1" : "0");
  }
  return states;
}

}  // namespace

int PopupMenuCommand(const Args& args) {
  std::string action = ArgOr(args, 0, "");
  if (!action.empty() && action != "close" && action != "items")
    return Fail("the actions are close and items N");
  HWND window = OpenMenuWindow();
  if (window == nullptr) return Fail("no popup menu open");
  RECT rect = {};
  GetWindowRect(window, &rect);
  PrintField("rect", std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
                         std::to_string(rect.right) + "," + std::to_string(rect.bottom));
  PrintField("pid", static_cast<long long>([&] {
               DWORD pid = 0;
               GetWindowThreadProcessId(window, &pid);
               return pid;
             }()));
  if (action.empty()) return 0;
  if (action == "items") {
    int count = std::stoi(ArgOr(args, 1, "0"));
    if (count <= 0) return Fail("items needs the number of items");
    PrintField("items", ItemStates(window, count));
    return 0;
  }
  // The menu's own loop reads the key, as if the user pressed Escape.
  PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  DWORD start = GetTickCount();
  while (OpenMenuWindow() != nullptr) {
    if (GetTickCount() - start >= kCloseWaitMs) return Fail("the menu stayed open");
    Sleep(kPollMs);
  }
  PrintFlag("closed", true);
  return 0;
}

}  // namespace zdriver
