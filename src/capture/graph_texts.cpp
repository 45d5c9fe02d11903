#include "capture/graph_texts.h"

#include <cstdio>

namespace zelvio {

namespace {
constexpr size_t kMaxPlatformText = 255;

bool IsTrailingBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

std::string GraphErrorText(const std::string& platformText, int32_t result) {
  std::string text = platformText.substr(0, kMaxPlatformText);
  while (!text.empty() && IsTrailingBlank(text.back())) text.pop_back();
  char code[24];
  std::snprintf(code, sizeof code, " ($%X).", static_cast<unsigned>(static_cast<uint32_t>(result)));
  return text + code;
}

std::string RunningObjectName(uintptr_t graphAddress, uint32_t processId, size_t pointerBytes) {
  char text[64];
  std::snprintf(text, sizeof text, "FilterGraph %0*llX pid %x", static_cast<int>(pointerBytes * 2),
                static_cast<unsigned long long>(graphAddress), static_cast<unsigned>(processId));
  return text;
}

}  // namespace zelvio
