// Small helpers for the positional arguments of the driver's commands.
#pragma once

#include <string>
#include <vector>

namespace zdriver {

using Args = std::vector<std::string>;

// Argument at index, or fallback when it is missing; "-" also means "not given", so an
// optional title can be skipped while a later time-out is given.
std::string ArgOr(const Args& args, size_t index, const std::string& fallback);

// Whole-string decimal integer; false for anything else.
bool ParseInt(const std::string& text, long long* value);

// Argument at index as a number of milliseconds, or fallback when missing; -1 when invalid.
long long TimeoutArg(const Args& args, size_t index, long long fallback);

}  // namespace zdriver
