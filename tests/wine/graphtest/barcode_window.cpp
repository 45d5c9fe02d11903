#include "barcode_window.h"

#include <cstdio>
#include <string>

#include "barcode.h"
#include "graph_parts.h"

namespace graphtest {

namespace {

const char kRegionClass[] = "ZelvioGraphTestRegion";
const UINT_PTR kTimerId = 1;
const UINT kUseCursorMessage = WM_APP + 1;
constexpr unsigned kGrey = 0x808080;

struct PaintState {
  BarcodeLayout layout;
  LARGE_INTEGER frequency;
  LARGE_INTEGER origin;
  long shown = -1;
  HCURSOR cursor = nullptr;  // instead of the class's arrow, once set
};

PaintState g_paint;

long CurrentCounter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  double ms = static_cast<double>(now.QuadPart - g_paint.origin.QuadPart) * 1000.0 /
              static_cast<double>(g_paint.frequency.QuadPart);
  return static_cast<long>(ms / g_paint.layout.tickMs);
}

// The window's client area starts one pixel left of and above the region.
void DrawBarcode(HWND hwnd, long counter) {
  const BarcodeLayout& l = g_paint.layout;
  ztest::DrawBarcode(hwnd, l.barX + 1, l.barY + 1, {l.bits, l.blockWidth, l.blockHeight},
                     static_cast<unsigned>(counter));
}

void FillColour(HDC dc, int left, int top, int right, int bottom, unsigned rgb) {
  HBRUSH brush = CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
  RECT r = {left, top, right, bottom};
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// Ring first, then the region's edges over its inner side: columns, then rows on top.
void PaintEdges(HDC dc) {
  const BarcodeLayout& l = g_paint.layout;
  const int w = l.width + 2;
  const int h = l.height + 2;
  FillColour(dc, 0, 0, w, h, kEdgeColours.ring);
  FillColour(dc, 1, 1, w - 1, h - 1, kGrey);
  FillColour(dc, 1, 1, 2, h - 1, kEdgeColours.left);
  FillColour(dc, w - 2, 1, w - 1, h - 1, kEdgeColours.right);
  FillColour(dc, 1, 1, w - 1, 2, kEdgeColours.top);
  FillColour(dc, 1, h - 2, w - 1, h - 1, kEdgeColours.bottom);
}

LRESULT CALLBACK RegionProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER: {
      long counter = CurrentCounter();
      if (counter != g_paint.shown) {
        g_paint.shown = counter;
        DrawBarcode(hwnd, counter);
      }
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintEdges(dc);
      EndPaint(hwnd, &ps);
      DrawBarcode(hwnd, g_paint.shown < 0 ? 0 : g_paint.shown);
      return 0;
    }
    case kUseCursorMessage:
      g_paint.cursor = reinterpret_cast<HCURSOR>(lp);
      SetCursor(g_paint.cursor);
      return 1;
    case WM_SETCURSOR:
      if (!g_paint.cursor) break;
      SetCursor(g_paint.cursor);
      return TRUE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

bool RegisterRegionClass(HINSTANCE instance) {
  WNDCLASSA region = {};
  region.lpfnWndProc = RegionProc;
  region.hInstance = instance;
  region.lpszClassName = kRegionClass;
  region.hCursor = LoadCursor(nullptr, IDC_ARROW);
  return RegisterClassA(&region) != 0;
}

}  // namespace

CursorImage DrawCursorOnGrey(HCURSOR cursor) {
  CursorImage image;
  ICONINFO info = {};
  if (!cursor || !GetIconInfo(cursor, &info)) return image;
  BITMAP mask = {};
  GetObject(info.hbmMask, sizeof(mask), &mask);
  image.hotX = static_cast<int>(info.xHotspot);
  image.hotY = static_cast<int>(info.yHotspot);
  image.width = mask.bmWidth;
  // A monochrome cursor's mask holds the AND and the XOR halves one above the other.
  image.height = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = image.width;
  bi.bmiHeader.biHeight = -image.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dc && bitmap && bits) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    FillColour(dc, 0, 0, image.width, image.height, kGrey);
    DrawIconEx(dc, 0, 0, cursor, 0, 0, 0, nullptr, DI_NORMAL);
    GdiFlush();
    const unsigned* pixels = static_cast<const unsigned*>(bits);
    for (int i = 0; i < image.width * image.height; ++i) image.pixels.push_back(pixels[i] & 0xFFFFFF);
    SelectObject(dc, old);
  }
  if (bitmap) DeleteObject(bitmap);
  if (dc) DeleteDC(dc);
  return image;
}

BarcodeWindows::BarcodeWindows(const BarcodeLayout& layout) : layout_(layout) {}

bool BarcodeWindows::UseCursor(HCURSOR cursor) {
  DWORD_PTR done = 0;
  return region_ && SendMessageTimeoutA(region_, kUseCursorMessage, 0, reinterpret_cast<LPARAM>(cursor),
                                        SMTO_NORMAL, 5000, &done) && done == 1;
}

BarcodeWindows::~BarcodeWindows() { Stop(); }

bool BarcodeWindows::Start() {
  ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, &BarcodeWindows::ThreadMain, this, 0, &threadId_);
  if (!thread_) return false;
  WaitForSingleObject(ready_, 60000);
  return ok_;
}

void BarcodeWindows::Stop() {
  if (!thread_) return;
  PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
  WaitForSingleObject(thread_, 10000);
  CloseHandle(thread_);
  CloseHandle(ready_);
  thread_ = nullptr;
}

DWORD WINAPI BarcodeWindows::ThreadMain(void* self) {
  static_cast<BarcodeWindows*>(self)->Run();
  return 0;
}

void BarcodeWindows::Run() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  g_paint.layout = layout_;
  QueryPerformanceFrequency(&g_paint.frequency);
  QueryPerformanceCounter(&g_paint.origin);
  if (!RegisterRegionClass(instance)) {
    std::printf("windows: RegisterClass failed, error %lu\n", GetLastError());
    SetEvent(ready_);
    return;
  }
  const BarcodeLayout& l = layout_;
  HWND overlay = ztest::CreateOverlayStandIn(l.left, l.top, l.width, l.height, l.fps);
  HWND region = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kRegionClass, "GraphTestRegion",
                                WS_POPUP | WS_VISIBLE, l.left - 1, l.top - 1, l.width + 2, l.height + 2,
                                nullptr, nullptr, instance, nullptr);
  region_ = region;
  UINT_PTR timer = region ? SetTimer(region, kTimerId, 2, nullptr) : 0;
  ok_ = overlay && region && timer;
  if (!ok_)
    std::printf("windows: overlay %p region %p timer %u error %lu\n", static_cast<void*>(overlay),
                static_cast<void*>(region), static_cast<unsigned>(timer), GetLastError());
  SetEvent(ready_);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (region) DestroyWindow(region);
  if (overlay) DestroyWindow(overlay);
}

}  // namespace graphtest
