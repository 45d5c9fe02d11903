// Between our plain video format description and DirectShow's VIDEOINFOHEADER media type.
#pragma once
#include <windows.h>
#include <strmif.h>

#include "pushsource/core/pushsource_format.h"
#include "kit/media_type.h"

namespace zelvio::pushsource {

kit::MediaType BuildVideoMediaType(const VideoFormat& format);

// Reads one of the types we offer back; false for anything we do not produce.
bool ReadVideoMediaType(const AM_MEDIA_TYPE& mt, VideoFormat* out);

}  // namespace zelvio::pushsource
