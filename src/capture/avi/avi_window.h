// The scan's reads. Finding the recording's chunks means looking at a few bytes in many
// places: every chunk header and, past damage, every even offset. A read of the file for each
// look costs a seek and a system call, which made a damaged gigabyte take minutes; here the
// looks are served from two windows of the file held in memory. The wide one is what a search
// streams through; the narrow one serves the looks elsewhere (the chunks after a candidate,
// the next header of a walk over large frames), so a look ahead does not throw away the
// stretch being searched, and a walk reads little more than the headers' neighbourhood.
#pragma once

#include <cstddef>
#include <cstdint>

#include "capture/avi/avi_file.h"
#include "capture/avi/avi_layout.h"

namespace zelvio::avi {

// Window sizes; each window starts at a multiple of its size.
constexpr uint64_t kScanWindow = uint64_t(1) << 20;
constexpr uint64_t kLookWindow = uint64_t(1) << 16;

class FileWindows {
 public:
  explicit FileWindows(AviFile& file) : file_(file), size_(file.Size()) {}

  uint64_t Size() const { return size_; }
  // The bytes from `offset` to the end of the wide window that holds it, which moves there
  // when it does not; `count` says how many (0 past the end of the file). Valid until the
  // next call.
  const uint8_t* Stream(uint64_t offset, size_t& count);
  // The same from whichever window holds `offset`, the narrow one moving there when neither
  // does.
  const uint8_t* Look(uint64_t offset, size_t& count);
  // Copies what lies inside the file of [offset, offset + n); returns how many bytes that is.
  size_t Copy(uint64_t offset, void* out, size_t n);
  // Little-endian; bytes past the end of the file read as zero.
  uint32_t U32(uint64_t offset);

 private:
  struct Window {
    uint64_t start = 0;
    Bytes bytes;
    bool Holds(uint64_t offset) const { return offset >= start && offset - start < bytes.size(); }
  };

  const uint8_t* From(Window& window, uint64_t windowSize, uint64_t offset, size_t& count);

  AviFile& file_;
  uint64_t size_;
  Window wide_, narrow_;
};

}  // namespace zelvio::avi
