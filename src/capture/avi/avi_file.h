// Random access to the file being repaired, behind a small interface: a real file on disk
// (64-bit offsets through std::fstream, also with mingw and MSVC) or memory for tests and
// the fuzzer. Neither lets a write reach past the end: growth is always an explicit Resize,
// so the repair cannot grow a file by accident.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include "common/errors.h"
#include <string>
#include <vector>

#include "capture/avi/avi_layout.h"

namespace zelvio::avi {

// A path as the program's texts hold it, UTF-8: path::string() would go through the ANSI
// code page on Windows and throw on a name that code page cannot spell.
inline std::string PathText(const std::filesystem::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

struct FileIoError : ZelvioError {
  using ZelvioError::ZelvioError;
};
// The file to open is not there.
struct FileMissingError : FileIoError {
  using FileIoError::FileIoError;
};
// Another handle holds the file (a recording still writing it): it cannot be had alone.
struct FileInUseError : FileIoError {
  using FileIoError::FileIoError;
};

struct AviFile {
  virtual ~AviFile() = default;
  virtual uint64_t Size() = 0;
  // Throws FileIoError when the range is not inside the file.
  virtual void ReadAt(uint64_t offset, void* data, size_t size) = 0;
  virtual void WriteAt(uint64_t offset, const void* data, size_t size) = 0;
  virtual void Resize(uint64_t size) = 0;
  virtual void Flush() = 0;
};

class MemoryFile : public AviFile {
 public:
  MemoryFile() = default;
  explicit MemoryFile(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  uint64_t Size() override { return bytes_.size(); }
  void ReadAt(uint64_t offset, void* data, size_t size) override;
  void WriteAt(uint64_t offset, const void* data, size_t size) override;
  void Resize(uint64_t size) override;
  void Flush() override { ++flushes_; }

  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  int Flushes() const { return flushes_; }

 private:
  std::vector<uint8_t> bytes_;
  int flushes_ = 0;
};

class DiskFile : public AviFile {
 public:
  // Opens an existing file for reading and writing; throws FileMissingError when there is none
  // and FileIoError when it cannot.
  explicit DiskFile(std::filesystem::path path);

  uint64_t Size() override;
  void ReadAt(uint64_t offset, void* data, size_t size) override;
  void WriteAt(uint64_t offset, const void* data, size_t size) override;
  void Resize(uint64_t size) override;
  void Flush() override;

 private:
  void Open();
  void CheckRange(uint64_t offset, size_t size);

  std::filesystem::path path_;
  std::fstream stream_;
  uint64_t size_ = 0;  // writes never pass the end, so only Resize changes it
};

}  // namespace zelvio::avi
