// A moving test picture for the demonstration run: colour bars that slide, a ball that
// bounces and a running clock, so a recording visibly moves. Closes on WM_CLOSE.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr UINT_PTR kTick = 1;
int g_frame = 0;

void Paint(HWND window, HDC dc) {
  RECT client{};
  GetClientRect(window, &client);
  const int w = client.right;
  const int h = client.bottom;
  static const COLORREF bars[] = {RGB(255, 255, 255), RGB(255, 255, 0), RGB(0, 255, 255), RGB(0, 255, 0),
                                  RGB(255, 0, 255),   RGB(255, 0, 0),   RGB(0, 0, 255),   RGB(30, 30, 30)};
  const int barWidth = w / 8 + 1;
  const int shift = (g_frame * 6) % w;
  for (int i = 0; i < 16; ++i) {
    HBRUSH brush = CreateSolidBrush(bars[i % 8]);
    RECT bar{i * barWidth - shift, 0, (i + 1) * barWidth - shift, h};
    FillRect(dc, &bar, brush);
    DeleteObject(brush);
  }
  const double t = g_frame / 25.0;
  const int r = h / 8;
  const int x = static_cast<int>((w - 2 * r) * (0.5 + 0.5 * std::sin(t * 1.7))) + r;
  const int y = static_cast<int>((h - 2 * r) * (0.5 + 0.5 * std::cos(t * 2.3))) + r;
  HBRUSH ball = CreateSolidBrush(RGB(250, 120, 0));
  HGDIOBJ old = SelectObject(dc, ball);
  Ellipse(dc, x - r, y - r, x + r, y + r);
  SelectObject(dc, old);
  DeleteObject(ball);

  char text[64];
  std::snprintf(text, sizeof text, " Zelvio demo  frame %05d  %6.2f s ", g_frame, t);
  SetBkColor(dc, RGB(0, 0, 0));
  SetTextColor(dc, RGB(255, 255, 255));
  TextOutA(dc, 20, 20, text, static_cast<int>(std::strlen(text)));
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      ++g_frame;
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(window, dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

// Usage: moving_picture.exe [x y width height]
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  int x = 0, y = 0, w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  std::sscanf(commandLine, "%d %d %d %d", &x, &y, &w, &h);
  WNDCLASSA wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = "ZelvioMovingPicture";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, wc.lpszClassName, "Moving picture", WS_POPUP | WS_VISIBLE, x, y, w, h,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  SetTimer(window, kTick, 40, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
