// The one-line text under which a media type is shown to the user (the audio format list
// shows capture formats this way). Works on any media type: audio, video, stream, MPEG.
#pragma once

#include <cstdint>
#include <string>

#include "capture/media/guid.h"

namespace zelvio {

// The parts of an AM_MEDIA_TYPE that the text reads.
struct MediaTypeView {
  Guid majorType;
  Guid subType;
  Guid formatType;
  ByteSpan format;  // the format block; absent when its size is zero or its pointer unset
};

// "Major Type: <major> - Sub Type: <sub> Format: <format part>".
std::string DescribeMediaType(const MediaTypeView& mediaType);

// The text of a bitmap header's biCompression value.
std::string CompressionName(uint32_t compression);

// The pieces, exposed for the tests. Unknown identifiers give "UnKnown " (with its blank),
// an unknown wave tag "Unknown".
std::string MajorTypeName(const Guid& majorType);
std::string SubTypeName(const Guid& subType);
std::string WaveFormatTagName(uint16_t tag);

}  // namespace zelvio
