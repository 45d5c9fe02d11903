#include "screen_grabber.h"

#include <cstring>

#include "pushsource/core/pushsource_format.h"

namespace zelvio::pushsource {

bool CursorHookRunning() { return FindWindowA("TFormHookCursor", "FormHookCursor") != nullptr; }

bool ScreenGrabber::Open(int width, int height, int bitCount) {
  Close();
  screen_.emplace(nullptr);
  if (!screen_->Get()) {
    Close();
    return false;
  }
  memory_.reset(CreateCompatibleDC(screen_->Get()));
  if (!memory_) {
    Close();
    return false;
  }
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, like the media type
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
  info.bmiHeader.biCompression = BI_RGB;
  bitmap_.reset(CreateDIBSection(memory_.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
  if (!bitmap_ || !bits_) {
    Close();
    return false;
  }
  selected_.emplace(memory_.get(), bitmap_.get());
  width_ = width;
  height_ = height;
  imageSize_ = static_cast<size_t>(StrideFor(width, bitCount)) * height;
  return true;
}

void ScreenGrabber::Close() {
  selected_.reset();
  bitmap_.reset();
  memory_.reset();
  screen_.reset();
  bits_ = nullptr;
  imageSize_ = 0;
  lastCursor_ = nullptr;
}

bool ScreenGrabber::BlitOnly(int left, int top) {
  if (!bits_) return false;
  return BitBlt(memory_.get(), 0, 0, width_, height_, screen_->Get(), left, top, SRCCOPY) != FALSE;
}

bool ScreenGrabber::Grab(int left, int top, bool withCursor, BYTE* dst, size_t dstSize) {
  if (!bits_ || dstSize < imageSize_) return false;
  if (!BlitOnly(left, top)) return false;
  if (withCursor) DrawCursor(left, top);
  GdiFlush();  // the bits must be final before we read them
  std::memcpy(dst, bits_, imageSize_);
  return true;
}

void ScreenGrabber::DrawCursor(int left, int top) {
  CURSORINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetCursorInfo(&info) || !(info.flags & CURSOR_SHOWING) || !info.hCursor) return;
  POINT hot = HotSpotOf(info.hCursor);
  DrawIconEx(memory_.get(), info.ptScreenPos.x - left - hot.x, info.ptScreenPos.y - top - hot.y, info.hCursor,
             0, 0, 0, nullptr, DI_NORMAL);
}

POINT ScreenGrabber::HotSpotOf(HCURSOR cursor) {
  // GetIconInfo makes two bitmaps each call; ask only when the cursor shape changes.
  if (cursor == lastCursor_) return lastHotSpot_;
  ICONINFO icon = {};
  lastHotSpot_ = POINT{0, 0};
  if (GetIconInfo(cursor, &icon)) {
    // The two bitmaps are ours to free.
    zelvio::UniqueBitmap mask(icon.hbmMask);
    zelvio::UniqueBitmap color(icon.hbmColor);
    lastHotSpot_ = POINT{static_cast<LONG>(icon.xHotspot), static_cast<LONG>(icon.yHotspot)};
  }
  lastCursor_ = cursor;
  return lastHotSpot_;
}

}  // namespace zelvio::pushsource
