#include "args.h"

#include <cerrno>
#include <cstdlib>

namespace zdriver {

std::string ArgOr(const Args& args, size_t index, const std::string& fallback) {
  if (index >= args.size() || args[index] == "-") return fallback;
  return args[index];
}

bool ParseInt(const std::string& text, long long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long long parsed = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || end == nullptr || *end != '\0') return false;
  *value = parsed;
  return true;
}

long long TimeoutArg(const Args& args, size_t index, long long fallback) {
  std::string text = ArgOr(args, index, "");
  if (text.empty()) return fallback;
  long long value = 0;
  if (!ParseInt(text, &value) || value < 0) return -1;
  return value;
}

}  // namespace zdriver
