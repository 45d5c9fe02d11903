// A block of memory inside another process. Common controls do not carry their structures
// across processes, so a request such as TCM_GETITEMA needs its structure and text buffer to
// live in the target process; this holder allocates them there and frees them on scope exit.
#pragma once

#include <windows.h>

#include <cstddef>

#include "common/win32/handles.h"

namespace zdriver {

class RemoteBuffer {
 public:
  RemoteBuffer(DWORD processId, size_t size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool Valid() const { return address_ != nullptr; }
  // Address inside the target process, valid only as a message parameter.
  char* Address() const { return static_cast<char*>(address_); }
  bool Write(size_t offset, const void* data, size_t size);
  bool Read(size_t offset, void* data, size_t size) const;

 private:
  zelvio::UniqueHandle process_;
  void* address_ = nullptr;
  size_t size_ = 0;
};

}  // namespace zdriver
