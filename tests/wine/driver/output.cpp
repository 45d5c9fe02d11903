#include "output.h"

#include <cstdio>

namespace zdriver {

std::string EscapeText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      out += c;
    }
  }
  return out;
}

void PrintField(const char* key, const std::string& value) {
  std::printf("%s: %s\n", key, EscapeText(value).c_str());
  std::fflush(stdout);
}

void PrintField(const char* key, long long value) {
  std::printf("%s: %lld\n", key, value);
  std::fflush(stdout);
}

void PrintFlag(const char* key, bool value) { PrintField(key, value ? 1LL : 0LL); }

int Fail(const std::string& message) {
  std::printf("error: %s\n", message.c_str());
  std::fflush(stdout);
  return 1;
}

}  // namespace zdriver
