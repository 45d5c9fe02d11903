// The file of a recording as the repair opens it on Windows: by its exact UTF-16 name (the
// one the file writer got), for reading and writing, and shared with no one, so a file
// that a recording still holds is never written over and the repair is alone with it.
#pragma once

#include <windows.h>

#include <string>

#include "capture/avi/avi_file.h"
#include "common/win32/handles.h"

namespace zelvio::avi {

class Win32File : public AviFile {
 public:
  // Throws FileMissingError, FileInUseError (another handle has it open) or FileIoError.
  explicit Win32File(const std::wstring& path);

  uint64_t Size() override { return size_; }
  void ReadAt(uint64_t offset, void* data, size_t size) override;
  void WriteAt(uint64_t offset, const void* data, size_t size) override;
  void Resize(uint64_t size) override;
  // Down to the disk (FlushFileBuffers), not only out of a buffer.
  void Flush() override;

 private:
  void Seek(uint64_t offset);

  UniqueHandle file_;
  uint64_t size_ = 0;
};

}  // namespace zelvio::avi
