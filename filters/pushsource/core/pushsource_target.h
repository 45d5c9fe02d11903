// What the screen source captures: the overlay window frames the region (its outer
// rectangle is the region grown by 8 on each side) and names the frame rate in its caption
// "FormMainCapturer@N". Without an overlay the whole primary screen is captured.
#pragma once
#include <optional>
#include <string_view>

#include "common/capture_rate.h"
#include "common/overlay_command.h"

namespace zelvio::pushsource {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return Width() <= 0 || Height() <= 0; }
};

struct OverlayWindow {
  Rect windowRect;
  std::string_view caption;
};

struct CaptureTarget {
  Rect area;
  int fps = kDefaultFps;
};

// "FormMainCapturer@25" -> 25; anything else (other prefix, no digits, trailing text,
// 0, absurdly high) -> the default.
int RateFromCaption(std::string_view caption);

// The overlay's window rectangle shrunk by the border; empty when nothing is left.
Rect RegionFromOverlay(const Rect& windowRect);

// The overlay's region and rate, or the screen at the default rate when there is no overlay
// or its region is empty.
CaptureTarget ChooseTarget(const std::optional<OverlayWindow>& overlay, const Rect& screen);

}  // namespace zelvio::pushsource
