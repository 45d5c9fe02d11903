// A stand-in overlay window (class "TFormMainCapturer", caption "FormMainCapturer@<fps>",
// hidden, framing the region by 8 pixels) and a visible window covering the region that
// shows a counter as a row of black and white blocks. The counter advances every tick,
// faster than the frame rate, so each captured frame tells when it was grabbed.
#pragma once
#include <windows.h>

namespace graphtest {

struct BarcodeLayout {
  int left = 200;  // region on the screen
  int top = 150;
  int width = 640;
  int height = 360;
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

// Runs the windows on a thread of their own until Stop.
class BarcodeWindows {
 public:
  explicit BarcodeWindows(const BarcodeLayout& layout);
  ~BarcodeWindows();
  bool Start();
  void Stop();

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Run();

  BarcodeLayout layout_;
  HANDLE thread_ = nullptr;
  HANDLE ready_ = nullptr;
  DWORD threadId_ = 0;
  bool ok_ = false;
};

}  // namespace graphtest
