// The program's own failures: one family under ZelvioError, the DirectShow one and the
// recording file's ones (AVI layout, file I/O, repair refusals) alike. A failure that ends
// a handler reaches the user in the error box. Plain C++, so the recorder, the filters and
// the companion programs can all throw and catch the same kinds.
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
