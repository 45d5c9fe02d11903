// A media type as two connected pins agreed it, without <windows.h>.
#pragma once

#include <cstdint>
#include <vector>

#include "capture/media/guid.h"

namespace zelvio {

// The media type connected to one input of the AVI Mux: what a repair needs to write the
// stream headers that the mux writes only when it finishes.
struct ConnectedMediaType {
  Guid majorType;
  Guid subType;
  Guid formatType;
  bool fixedSizeSamples = false;
  bool temporalCompression = false;
  uint32_t sampleSize = 0;
  std::vector<uint8_t> format;  // the format block as the pins agreed it
};

}  // namespace zelvio
