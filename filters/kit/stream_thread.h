// A joinable Win32 thread (CreateThread: the toolchain's C++ threads are not available).
#pragma once
#include <windows.h>

#include "common/win32/handles.h"

namespace zelvio::kit {

class StreamThread {
 public:
  using Entry = void (*)(void* context);

  StreamThread() = default;
  ~StreamThread() { Join(); }
  StreamThread(const StreamThread&) = delete;
  StreamThread& operator=(const StreamThread&) = delete;

  bool Start(Entry entry, void* context);
  void Join();
  bool Started() const { return handle_ != nullptr; }

 private:
  static DWORD WINAPI Trampoline(void* self);
  Entry entry_ = nullptr;
  void* context_ = nullptr;
  zelvio::UniqueHandle handle_;
};

}  // namespace zelvio::kit
