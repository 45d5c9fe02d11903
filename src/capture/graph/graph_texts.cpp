#include "capture/graph/graph_texts.h"

#include <cstdio>

namespace zelvio {

namespace {
constexpr size_t kMaxPlatformText = 255;

bool IsTrailingBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

std::string Trimmed(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsTrailingBlank(text[begin])) ++begin;
  while (end > begin && (IsTrailingBlank(text[end - 1]) || text[end - 1] == '.')) --end;
  return text.substr(begin, end - begin);
}

// "0x" and hexadecimal digits, after an optional "Error:" and blanks.
bool OnlyTheCode(const std::string& graphText) {
  std::string text = Trimmed(graphText);
  if (text.empty()) return true;
  const std::string error = "Error:";
  if (text.compare(0, error.size(), error) == 0) text = Trimmed(text.substr(error.size()));
  if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return false;
  for (size_t k = 2; k < text.size(); ++k) {
    if (!IsHexDigit(text[k])) return false;
  }
  return true;
}

}  // namespace

std::string GraphErrorText(const std::string& platformText, int32_t result) {
  std::string text = platformText.substr(0, kMaxPlatformText);
  while (!text.empty() && IsTrailingBlank(text.back())) text.pop_back();
  char code[24];
  std::snprintf(code, sizeof code, " ($%X).", static_cast<unsigned>(static_cast<uint32_t>(result)));
  return text + code;
}

std::string GraphResultWords(const std::string& graphText, const std::string& systemText) {
  if (OnlyTheCode(graphText) && !OnlyTheCode(systemText)) return systemText;
  return graphText;
}

std::string RunningObjectName(uintptr_t graphAddress, uint32_t processId, size_t pointerBytes) {
  char text[64];
  std::snprintf(text, sizeof text, "FilterGraph %0*llX pid %x", static_cast<int>(pointerBytes * 2),
                static_cast<unsigned long long>(graphAddress), static_cast<unsigned>(processId));
  return text;
}

}  // namespace zelvio
