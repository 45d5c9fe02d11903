#include "capture/avi/avi_window.h"

#include <algorithm>
#include <cstring>

namespace zelvio::avi {

const uint8_t* FileWindows::From(Window& window, uint64_t windowSize, uint64_t offset, size_t& count) {
  count = 0;
  if (offset >= size_) return nullptr;
  if (!window.Holds(offset)) {
    window.start = offset - offset % windowSize;
    window.bytes.resize(size_t(std::min(windowSize, size_ - window.start)));
    file_.ReadAt(window.start, window.bytes.data(), window.bytes.size());
  }
  count = size_t(window.start + window.bytes.size() - offset);
  return window.bytes.data() + (offset - window.start);
}

const uint8_t* FileWindows::Stream(uint64_t offset, size_t& count) {
  return From(wide_, kScanWindow, offset, count);
}

const uint8_t* FileWindows::Look(uint64_t offset, size_t& count) {
  if (wide_.Holds(offset)) return From(wide_, kScanWindow, offset, count);
  return From(narrow_, kLookWindow, offset, count);
}

size_t FileWindows::Copy(uint64_t offset, void* out, size_t n) {
  auto* to = static_cast<uint8_t*>(out);
  size_t copied = 0;
  while (copied < n) {
    size_t count = 0;
    const uint8_t* bytes = Look(offset + copied, count);
    if (count == 0) break;
    count = std::min(count, n - copied);
    std::memcpy(to + copied, bytes, count);
    copied += count;
  }
  return copied;
}

uint32_t FileWindows::U32(uint64_t offset) {
  if (wide_.Holds(offset) && wide_.Holds(offset + 3)) return GetU32(wide_.bytes.data() + (offset - wide_.start));
  uint8_t bytes[4] = {0, 0, 0, 0};
  Copy(offset, bytes, sizeof bytes);
  return GetU32(bytes);
}

}  // namespace zelvio::avi
