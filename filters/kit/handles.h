// RAII for kernel handles and events.
#pragma once
#include <windows.h>

namespace kit {

class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE h) : h_(h) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.h_) { other.h_ = nullptr; }
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      h_ = other.h_;
      other.h_ = nullptr;
    }
    return *this;
  }

  HANDLE Get() const { return h_; }
  bool Valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE h = nullptr) {
    if (Valid()) CloseHandle(h_);
    h_ = h;
  }

 private:
  HANDLE h_ = nullptr;
};

// Auto-reset event used to wake a streaming thread.
class Event {
 public:
  Event() : h_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
  void Set() { SetEvent(h_.Get()); }
  // Returns true when signalled, false on time-out.
  bool Wait(DWORD ms) { return WaitForSingleObject(h_.Get(), ms) == WAIT_OBJECT_0; }
  HANDLE Get() const { return h_.Get(); }

 private:
  UniqueHandle h_;
};

}  // namespace kit
