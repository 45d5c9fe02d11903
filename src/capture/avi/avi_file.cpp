#include "capture/avi/avi_file.h"

#include <cstring>
#include <string>

namespace zelvio::avi {
namespace {

bool Inside(uint64_t offset, size_t size, uint64_t fileSize) {
  return offset <= fileSize && size <= fileSize - offset;
}

}  // namespace

void MemoryFile::ReadAt(uint64_t offset, void* data, size_t size) {
  if (!Inside(offset, size, bytes_.size())) throw FileIoError("read past the end of the file");
  if (size) std::memcpy(data, bytes_.data() + offset, size);
}

void MemoryFile::WriteAt(uint64_t offset, const void* data, size_t size) {
  if (!Inside(offset, size, bytes_.size())) throw FileIoError("write past the end of the file");
  if (size) std::memcpy(bytes_.data() + offset, data, size);
}

void MemoryFile::Resize(uint64_t size) { bytes_.resize(size, 0); }

DiskFile::DiskFile(std::filesystem::path path) : path_(std::move(path)) { Open(); }

void DiskFile::Open() {
  std::error_code missing;
  if (!std::filesystem::exists(path_, missing) && !missing) throw FileMissingError("the file is missing");
  stream_.open(path_, std::ios::in | std::ios::out | std::ios::binary);
  if (!stream_) throw FileIoError("cannot open " + PathText(path_));
  std::error_code error;
  size_ = std::filesystem::file_size(path_, error);
  if (error) throw FileIoError("cannot read the size of " + PathText(path_) + ": " + error.message());
}

uint64_t DiskFile::Size() { return size_; }

void DiskFile::CheckRange(uint64_t offset, size_t size) {
  if (!Inside(offset, size, Size())) throw FileIoError("access past the end of " + PathText(path_));
}

void DiskFile::ReadAt(uint64_t offset, void* data, size_t size) {
  CheckRange(offset, size);
  stream_.seekg(std::streamoff(offset));
  stream_.read(static_cast<char*>(data), std::streamsize(size));
  if (!stream_) throw FileIoError("cannot read " + PathText(path_));
}

void DiskFile::WriteAt(uint64_t offset, const void* data, size_t size) {
  CheckRange(offset, size);
  stream_.seekp(std::streamoff(offset));
  stream_.write(static_cast<const char*>(data), std::streamsize(size));
  if (!stream_) throw FileIoError("cannot write " + PathText(path_));
}

void DiskFile::Resize(uint64_t size) {
  // The stream is closed around the resize: Windows will not change the length of a file
  // that another handle with pending writes holds.
  stream_.flush();
  stream_.close();
  std::error_code error;
  std::filesystem::resize_file(path_, size, error);
  Open();
  if (error) throw FileIoError("cannot resize " + PathText(path_) + ": " + error.message());
}

void DiskFile::Flush() {
  stream_.flush();
  if (!stream_) throw FileIoError("cannot write " + PathText(path_));
}

}  // namespace zelvio::avi
