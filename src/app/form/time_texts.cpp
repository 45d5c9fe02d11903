#include "app/form/time_texts.h"

#include <cstdio>

namespace zelvio {

std::string DurationText(int64_t position) {
  constexpr int64_t kDay = 86'400'000;
  int64_t ms = (position / 10000) % kDay;
  // A negative position (before the graph's start) would otherwise print as garbage.
  if (ms < 0) ms += kDay;
  int hours = static_cast<int>(ms / 3'600'000);
  int minutes = static_cast<int>(ms / 60'000 % 60);
  int seconds = static_cast<int>(ms / 1000 % 60);
  int millis = static_cast<int>(ms % 1000);
  char text[32];
  std::snprintf(text, sizeof text, "%.2d:%.2d:%.2d.%.3d", hours, minutes, seconds, millis);
  return text;
}

std::string FileTimeText(const LocalTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d-%02d-%02d-%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

std::string DatedFilePath(const std::string& folder, const std::string& prefix, const LocalTime& time,
                          const std::string& extension) {
  return folder + "\\" + prefix + FileTimeText(time) + "." + extension;
}

std::string NumberedFilePath(const std::string& path, int number) {
  const size_t dot = path.find_last_of('.');
  const size_t separator = path.find_last_of('\\');
  const bool hasExtension = dot != std::string::npos && (separator == std::string::npos || dot > separator);
  const std::string stem = hasExtension ? path.substr(0, dot) : path;
  return stem + "_" + std::to_string(number) + (hasExtension ? path.substr(dot) : std::string());
}

}  // namespace zelvio
