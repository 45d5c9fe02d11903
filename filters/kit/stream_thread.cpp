#include "kit/stream_thread.h"

namespace zelvio::kit {

bool StreamThread::Start(Entry entry, void* context) {
  if (handle_) return false;
  entry_ = entry;
  context_ = context;
  handle_.reset(CreateThread(nullptr, 0, &StreamThread::Trampoline, this, 0, nullptr));
  return handle_ != nullptr;
}

void StreamThread::Join() {
  if (!handle_) return;
  WaitForSingleObject(handle_.get(), INFINITE);
  handle_.reset();
}

DWORD WINAPI StreamThread::Trampoline(void* self) {
  auto* thread = static_cast<StreamThread*>(self);
  thread->entry_(thread->context_);
  return 0;
}

}  // namespace zelvio::kit
