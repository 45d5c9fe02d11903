// A stand-in overlay window (class "TFormMainCapturer", caption "FormMainCapturer@<fps>",
// hidden, framing the region by 8 pixels) and a visible window covering the region and a
// one-pixel ring around it that shows a counter as a row of black and white blocks. The
// region's first and last rows and columns and the ring each have a colour of their own
// (kEdgeColours), unlike their grey neighbours, so a copy shifted by one pixel is told. The counter advances
// every tick, faster than the frame rate, so each captured frame tells when it was grabbed.
#pragma once
#include <windows.h>

#include <vector>

namespace graphtest {

// The region sits at an odd place with an odd size, so a grab that is off by one in any
// direction or rounds a size to even shows at its edges.
struct BarcodeLayout {
  int left = 201;  // region on the screen
  int top = 151;
  int width = 639;
  int height = 361;
  int fps = 25;
  int barX = 16;  // first block, relative to the region
  int barY = 16;
  int blockWidth = 12;
  int blockHeight = 24;
  int bits = 16;  // value bits; as many complement bits follow for a torn-frame check
  int tickMs = 10;
  int cursorX = 320;  // where the cursor stands during the second run, relative to the region
  int cursorY = 200;
};

// 0x00RRGGBB of the region's top row, bottom row, left column and right column (rows take
// the corners), and of the ring just outside the region.
struct EdgeColours {
  unsigned top = 0xFF0000;
  unsigned bottom = 0x00FF00;
  unsigned left = 0x0000FF;
  unsigned right = 0xFFFF00;
  unsigned ring = 0xFF00FF;
};
constexpr EdgeColours kEdgeColours;

// A cursor as the screen source must draw it on the region's grey: 0x00RRGGBB pixels,
// top-down, with the image's top-left corner at (0, 0).
struct CursorImage {
  int hotX = 0;
  int hotY = 0;
  int width = 0;
  int height = 0;
  std::vector<unsigned> pixels;
};
CursorImage DrawCursorOnGrey(HCURSOR cursor);

// Runs the windows on a thread of their own until Stop.
class BarcodeWindows {
 public:
  explicit BarcodeWindows(const BarcodeLayout& layout);
  ~BarcodeWindows();
  bool Start();
  void Stop();
  // From now on the region shows that cursor instead of the arrow; true once it does.
  bool UseCursor(HCURSOR cursor);

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Run();

  BarcodeLayout layout_;
  HWND region_ = nullptr;
  HANDLE thread_ = nullptr;
  HANDLE ready_ = nullptr;
  DWORD threadId_ = 0;
  bool ok_ = false;
};

}  // namespace graphtest
