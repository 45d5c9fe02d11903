#include "pushsource/core/pushsource_target.h"

#include "common/decimal_text.h"

namespace zelvio::pushsource {

int RateFromCaption(std::string_view caption) {
  const std::string_view name = kOverlayCaption;
  if (caption.substr(0, name.size()) != name) return kDefaultFps;
  caption.remove_prefix(name.size());
  if (caption.empty() || caption.front() != kOverlayRateMark) return kDefaultFps;
  std::optional<int> rate = ParseDecimal(caption.substr(1));
  if (!rate || *rate <= 0 || *rate > kMaxFps) return kDefaultFps;
  return *rate;
}

Rect RegionFromOverlay(const Rect& windowRect) {
  Rect region{windowRect.left + kOverlayBorder, windowRect.top + kOverlayBorder,
              windowRect.right - kOverlayBorder, windowRect.bottom - kOverlayBorder};
  if (region.Empty()) return Rect{};
  return region;
}

CaptureTarget ChooseTarget(const std::optional<OverlayWindow>& overlay, const Rect& screen) {
  if (!overlay) return {screen, kDefaultFps};
  Rect region = RegionFromOverlay(overlay->windowRect);
  if (region.Empty()) return {screen, kDefaultFps};
  return {region, RateFromCaption(overlay->caption)};
}

}  // namespace zelvio::pushsource
