// Replacing a file in one step: the new bytes go to a temporary file first, flushed to
// disk, and only then move over the real name, so a failure never leaves a cut-off file
// under it and the previous one stays whole. Wide paths, so any folder name works.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>

#include "common/win32/handles.h"

namespace zelvio {

namespace file_replace_detail {

// ERROR_SUCCESS or the code of the failed write; a write that takes nothing is a full disk.
inline DWORD WriteAll(HANDLE file, const char* data, size_t size) {
  size_t written = 0;
  while (written < size) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - written, 1u << 20));
    DWORD done = 0;
    if (!WriteFile(file, data + written, chunk, &done, nullptr)) return GetLastError();
    if (done == 0) return ERROR_HANDLE_DISK_FULL;
    written += done;
  }
  return FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
}

}  // namespace file_replace_detail

// ERROR_SUCCESS, or the system error of the step that failed (ERROR_HANDLE_DISK_FULL when
// the disk took fewer bytes than given). The temporary file is gone on every failure.
inline DWORD WriteThenReplaceFile(const wchar_t* temporary, const wchar_t* path, const void* data, size_t size) {
  DWORD code = ERROR_SUCCESS;
  {
    UniqueHandle file =
        FileHandle(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    code = file ? file_replace_detail::WriteAll(file.get(), static_cast<const char*>(data), size) : GetLastError();
  }
  if (code == ERROR_SUCCESS && MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return ERROR_SUCCESS;
  }
  if (code == ERROR_SUCCESS) code = GetLastError();
  DeleteFileW(temporary);
  return code;
}

}  // namespace zelvio
