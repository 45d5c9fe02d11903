// The ANSI code page of the test machine: Latin-1, the first 256 characters, one byte each.
#pragma once

#include <cstddef>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace zelvio {

class FakeCodePage : public PlatformText {
 public:
  std::string TextFromAnsi(const std::string& ansi) override {
    std::string text;
    for (unsigned char c : ansi) {
      if (c < 0x80) {
        text += static_cast<char>(c);
      } else {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    return text;
  }

  bool TextToAnsi(const std::string& text, std::string& ansi) override {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
      auto c = static_cast<unsigned char>(text[i]);
      if (c < 0x80) {
        out += static_cast<char>(c);
        continue;
      }
      // Only the two-byte forms of U+0080..U+00FF have a Latin-1 spelling.
      if ((c & 0xFE) != 0xC2 || i + 1 >= text.size()) return false;
      auto next = static_cast<unsigned char>(text[++i]);
      if ((next & 0xC0) != 0x80) return false;
      out += static_cast<char>(((c & 0x1F) << 6) | (next & 0x3F));
    }
    ansi = std::move(out);
    return true;
  }
};

}  // namespace zelvio
