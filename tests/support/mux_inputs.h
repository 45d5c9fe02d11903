// A video input of the mux as the recovery notes keep it: 864 pixels wide, RGB32.
#pragma once

#include "capture/graph/capture_pipeline.h"
#include "capture/media/media_guids.h"

namespace zelvio {

inline ConnectedMediaType VideoInput() {
  ConnectedMediaType type;
  type.majorType = kMediaTypeVideo;
  type.subType = kSubtypeRgb32;
  type.formatType = kFormatVideoInfo;
  type.format.assign(88, 0);
  type.format[48] = 40;    // biSize
  type.format[52] = 0x60;  // biWidth 864
  type.format[53] = 0x03;
  return type;
}

}  // namespace zelvio
