// Owns a kernel handle: leaving the scope closes it.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace zdriver {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

}  // namespace zdriver
