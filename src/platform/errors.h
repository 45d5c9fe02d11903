// Failures that end a handler and reach the user in the error box.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace zelvio {

class ZelvioError : public std::runtime_error {
 public:
  explicit ZelvioError(const std::string& text) : std::runtime_error(text) {}
};

// A DirectShow call that returned a failure code; the text is the platform's error
// text followed by " ($CODE).".
class EDirectShowException : public ZelvioError {
 public:
  EDirectShowException(const std::string& text, int32_t hr) : ZelvioError(text), hr_(hr) {}
  int32_t Result() const { return hr_; }

 private:
  int32_t hr_;
};

// The error box shows the text with a "." appended when its last character sorts after ".".
std::string ErrorBoxText(const std::string& text);

}  // namespace zelvio
