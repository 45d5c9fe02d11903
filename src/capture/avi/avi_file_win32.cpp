#include "capture/avi/avi_file_win32.h"

#include <algorithm>

#include "platform/system_error_win32.h"

namespace zelvio::avi {
namespace {

[[noreturn]] void Fail(DWORD code) { throw FileIoError(SystemErrorText(code)); }

}  // namespace

Win32File::Win32File(const std::wstring& path) {
  file_ = FileHandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_) {
    DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
      throw FileMissingError("the file is missing");
    if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION)
      throw FileInUseError(SystemErrorText(code));
    Fail(code);
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file_.get(), &size)) Fail(GetLastError());
  size_ = uint64_t(size.QuadPart);
}

void Win32File::Seek(uint64_t offset) {
  LARGE_INTEGER at{};
  at.QuadPart = LONGLONG(offset);
  if (!SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN)) Fail(GetLastError());
}

void Win32File::ReadAt(uint64_t offset, void* data, size_t size) {
  if (offset > size_ || size > size_ - offset) throw FileIoError("read past the end of the file");
  Seek(offset);
  auto* out = static_cast<char*>(data);
  while (size > 0) {
    DWORD got = 0;
    DWORD chunk = DWORD(std::min<size_t>(size, 1u << 20));
    if (!::ReadFile(file_.get(), out, chunk, &got, nullptr)) Fail(GetLastError());
    if (got == 0) throw FileIoError("the file ended early");
    out += got;
    size -= got;
  }
}

void Win32File::WriteAt(uint64_t offset, const void* data, size_t size) {
  if (offset > size_ || size > size_ - offset) throw FileIoError("write past the end of the file");
  Seek(offset);
  auto* in = static_cast<const char*>(data);
  while (size > 0) {
    DWORD done = 0;
    DWORD chunk = DWORD(std::min<size_t>(size, 1u << 20));
    if (!::WriteFile(file_.get(), in, chunk, &done, nullptr)) Fail(GetLastError());
    if (done == 0) Fail(ERROR_HANDLE_DISK_FULL);
    in += done;
    size -= done;
  }
}

void Win32File::Resize(uint64_t size) {
  Seek(size);
  if (!SetEndOfFile(file_.get())) Fail(GetLastError());
  size_ = size;
}

void Win32File::Flush() {
  if (!FlushFileBuffers(file_.get())) Fail(GetLastError());
}

}  // namespace zelvio::avi
