// Copies a screen rectangle into a DIB section and from there into a sample buffer. All GDI
// objects are made once in Open (per pin connection) and kept until Close; nothing is
// created per frame.
#pragma once
#include <windows.h>

#include <cstddef>
#include <optional>

#include "common/win32/handles.h"

namespace zelvio::pushsource {

class ScreenGrabber {
 public:
  ScreenGrabber() = default;
  ~ScreenGrabber() { Close(); }
  ScreenGrabber(const ScreenGrabber&) = delete;
  ScreenGrabber& operator=(const ScreenGrabber&) = delete;

  // A bottom-up DIB of the given size and depth (32, 24 or 16 = RGB555).
  bool Open(int width, int height, int bitCount);
  void Close();
  bool IsOpen() const { return bits_ != nullptr; }

  // Grabs the rectangle whose top-left is (left, top) and copies the image to dst.
  bool Grab(int left, int top, bool withCursor, BYTE* dst, size_t dstSize);
  // Only the BitBlt, for measuring the bare cost.
  bool BlitOnly(int left, int top);
  size_t ImageSize() const { return imageSize_; }

 private:
  void DrawCursor(int left, int top);
  POINT HotSpotOf(HCURSOR cursor);

  // Made in this order in Open and let go of in the reverse order in Close.
  std::optional<zelvio::WindowDc> screen_;
  zelvio::UniqueMemoryDc memory_;
  zelvio::UniqueBitmap bitmap_;
  std::optional<zelvio::SelectedObject> selected_;
  void* bits_ = nullptr;
  size_t imageSize_ = 0;
  int width_ = 0;
  int height_ = 0;
  HCURSOR lastCursor_ = nullptr;
  POINT lastHotSpot_ = {0, 0};
};

// True while the cursor-hook program asks for the cursor in the frames.
bool CursorHookRunning();

}  // namespace zelvio::pushsource
