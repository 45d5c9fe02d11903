#include "remote_buffer.h"

namespace zdriver {

RemoteBuffer::RemoteBuffer(DWORD processId, size_t size) : size_(size) {
  DWORD access = PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE;
  process_.reset(OpenProcess(access, FALSE, processId));
  if (!process_) return;
  address_ = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
  if (address_ != nullptr) VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
}

bool RemoteBuffer::Write(size_t offset, const void* data, size_t size) {
  if (address_ == nullptr || offset + size > size_) return false;
  SIZE_T written = 0;
  return WriteProcessMemory(process_.get(), Address() + offset, data, size, &written) && written == size;
}

bool RemoteBuffer::Read(size_t offset, void* data, size_t size) const {
  if (address_ == nullptr || offset + size > size_) return false;
  SIZE_T read = 0;
  return ReadProcessMemory(process_.get(), Address() + offset, data, size, &read) && read == size;
}

}  // namespace zdriver
