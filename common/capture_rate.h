// The frame rate the screen source captures at. The overlay's caption names it
// ("FormMainCapturer@25"); a caption without a rate, or with one outside 1..kMaxFps, leaves
// the source at its default. The recorder notes the same default for a recording whose
// caption named no rate, so the two always agree.
#pragma once

namespace zelvio::pushsource {

inline constexpr int kDefaultFps = 25;
inline constexpr int kMaxFps = 1000;

}  // namespace zelvio::pushsource
