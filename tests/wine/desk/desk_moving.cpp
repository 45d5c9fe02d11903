// zdesk moving [LEFT TOP WIDTH HEIGHT]: a moving test picture for the demonstration run,
// colour bars that slide, a ball that bounces and a running clock, so a recording visibly
// moves. Covers the whole screen unless told otherwise; an ordinary window, so the recorder
// shows above it. Closes on WM_CLOSE.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "desk.h"
#include "common/win32/handles.h"

namespace zdesk {

namespace {

constexpr char kClassName[] = "ZelvioMovingPicture";
int g_frame = 0;

void FillBrush(HDC dc, const RECT& rect, COLORREF colour) {
  zelvio::UniqueBrush brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.get());
}

void Paint(HWND window, HDC dc) {
  RECT client{};
  GetClientRect(window, &client);
  const int w = client.right;
  const int h = client.bottom;
  static const COLORREF bars[] = {RGB(255, 255, 255), RGB(255, 255, 0), RGB(0, 255, 255), RGB(0, 255, 0),
                                  RGB(255, 0, 255),   RGB(255, 0, 0),   RGB(0, 0, 255),   RGB(30, 30, 30)};
  const int barWidth = w / 8 + 1;
  const int shift = (g_frame * 6) % w;
  for (int i = 0; i < 16; ++i)
    FillBrush(dc, RECT{i * barWidth - shift, 0, (i + 1) * barWidth - shift, h}, bars[i % 8]);
  const double t = g_frame / 25.0;
  const int r = h / 8;
  const int x = static_cast<int>((w - 2 * r) * (0.5 + 0.5 * std::sin(t * 1.7))) + r;
  const int y = static_cast<int>((h - 2 * r) * (0.5 + 0.5 * std::cos(t * 2.3))) + r;
  zelvio::UniqueBrush ball(CreateSolidBrush(RGB(250, 120, 0)));
  {
    zelvio::SelectedObject selected(dc, ball.get());
    Ellipse(dc, x - r, y - r, x + r, y + r);
  }
  char text[64];
  std::snprintf(text, sizeof text, " Zelvio demo  frame %05d  %6.2f s ", g_frame, t);
  SetBkColor(dc, RGB(0, 0, 0));
  SetTextColor(dc, RGB(255, 255, 255));
  TextOutA(dc, 20, 20, text, static_cast<int>(std::strlen(text)));
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kAnimationTick) {
    ++g_frame;
    InvalidateRect(window, nullptr, FALSE);
    return 0;
  }
  if (message != WM_PAINT) return DeskProcedure(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  Paint(window, dc);
  EndPaint(window, &paint);
  return 0;
}

}  // namespace

int RunMoving(const Args& args) {
  const ScreenRect rect =
      RectArgs(args, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  return RunAnimation(kClassName, Procedure, "Moving picture", rect, 40);
}

}  // namespace zdesk
