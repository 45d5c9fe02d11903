// Texts made from times: the duration read-out and the date-time file names.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace zelvio {

// "hh:nn:ss.zzz" from a graph position in 100-nanosecond units; hours wrap at 24.
std::string DurationText(int64_t position);

// "yyyy-mm-dd-hh-nn-ss".
std::string FileTimeText(const LocalTime& time);

// "<folder>\<prefix><time>.<extension>", the folder used as it is.
std::string DatedFilePath(const std::string& folder, const std::string& prefix, const LocalTime& time,
                          const std::string& extension);

// The same path with "_<number>" before the extension: "...-ss_2.avi" for the second
// file of one second.
std::string NumberedFilePath(const std::string& path, int number);

}  // namespace zelvio
