// Everything the driver reports goes to stdout as "key: value" lines, one fact a line, so
// the shell tests can pick a fact with a plain pattern.
#pragma once

#include <string>

namespace zdriver {

// Line breaks and tabs would break the one-fact-a-line rule, so they are spelled out as
// \r, \n and \t; backslashes stay as they are so Windows paths read naturally.
std::string EscapeText(const std::string& text);

void PrintField(const char* key, const std::string& value);
void PrintField(const char* key, long long value);
void PrintFlag(const char* key, bool value);

// Prints "error: <message>" on stdout (the tests keep one output file) and returns 1.
int Fail(const std::string& message);

}  // namespace zdriver
