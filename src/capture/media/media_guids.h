// The DirectShow media type, subtype and format identifiers the portable capture code reads
// and writes, by their names in the platform's uuids.h.
#pragma once

#include "capture/media/guid.h"

namespace zelvio {

constexpr Guid kMediaTypeVideo = GuidLiteral("{73646976-0000-0010-8000-00AA00389B71}");
constexpr Guid kMediaTypeAudio = GuidLiteral("{73647561-0000-0010-8000-00AA00389B71}");
constexpr Guid kSubtypeRgb24 = GuidLiteral("{E436EB7D-524F-11CE-9F53-0020AF0BA770}");
constexpr Guid kSubtypeRgb32 = GuidLiteral("{E436EB7E-524F-11CE-9F53-0020AF0BA770}");
constexpr Guid kSubtypePcm = GuidLiteral("{00000001-0000-0010-8000-00AA00389B71}");
constexpr Guid kFormatVideoInfo = GuidLiteral("{05589F80-C356-11CE-BF01-00AA0055595A}");
constexpr Guid kFormatVideoInfo2 = GuidLiteral("{F72A76A0-EB0A-11D0-ACE4-0000C0CC16BA}");
constexpr Guid kFormatWaveFormatEx = GuidLiteral("{05589F81-C356-11CE-BF01-00AA0055595A}");
constexpr Guid kFormatDvInfo = GuidLiteral("{05589F84-C356-11CE-BF01-00AA0055595A}");

}  // namespace zelvio
