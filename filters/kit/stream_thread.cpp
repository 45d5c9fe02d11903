#include "kit/stream_thread.h"

namespace kit {

bool StreamThread::Start(Entry entry, void* context) {
  if (handle_.Valid()) return false;
  entry_ = entry;
  context_ = context;
  handle_.Reset(CreateThread(nullptr, 0, &StreamThread::Trampoline, this, 0, nullptr));
  return handle_.Valid();
}

void StreamThread::Join() {
  if (!handle_.Valid()) return;
  WaitForSingleObject(handle_.Get(), INFINITE);
  handle_.Reset();
}

DWORD WINAPI StreamThread::Trampoline(void* self) {
  auto* thread = static_cast<StreamThread*>(self);
  thread->entry_(thread->context_);
  return 0;
}

}  // namespace kit
