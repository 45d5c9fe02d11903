#include "kit/thread_priority.h"

#include <atomic>
#include <string>

namespace zelvio::kit {

namespace {

using SetCharacteristics = HANDLE(WINAPI*)(LPCWSTR task, LPDWORD taskIndex);
using RevertCharacteristics = BOOL(WINAPI*)(HANDLE task);

struct Scheduler {
  SetCharacteristics set = nullptr;
  RevertCharacteristics revert = nullptr;
};

std::atomic<int> g_lastGranted{static_cast<int>(CapturePriority::None)};

// From the system folder only: a library of that name beside the host must not be loaded in
// its place. Kept loaded for the life of the process, as the scheduler's handles need it.
Scheduler LoadScheduler() {
  Scheduler scheduler;
  wchar_t folder[MAX_PATH] = {};
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return scheduler;
  std::wstring path = std::wstring(folder, length) + L"\\avrt.dll";
  HMODULE module = LoadLibraryW(path.c_str());
  if (!module) return scheduler;
  scheduler.set =
      reinterpret_cast<SetCharacteristics>(reinterpret_cast<void*>(GetProcAddress(module, "AvSetMmThreadCharacteristicsW")));
  scheduler.revert = reinterpret_cast<RevertCharacteristics>(
      reinterpret_cast<void*>(GetProcAddress(module, "AvRevertMmThreadCharacteristics")));
  if (!scheduler.set || !scheduler.revert) scheduler = {};
  return scheduler;
}

const Scheduler& TheScheduler() {
  static const Scheduler scheduler = LoadScheduler();
  return scheduler;
}

}  // namespace

CaptureThreadPriority::CaptureThreadPriority() {
  const Scheduler& scheduler = TheScheduler();
  DWORD taskIndex = 0;
  if (scheduler.set) task_ = scheduler.set(L"Capture", &taskIndex);
  if (task_) {
    granted_ = CapturePriority::Scheduler;
  } else if (SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL)) {
    granted_ = CapturePriority::AboveNormal;
  }
  g_lastGranted = static_cast<int>(granted_);
}

CaptureThreadPriority::~CaptureThreadPriority() {
  if (task_) {
    TheScheduler().revert(task_);
  } else if (granted_ == CapturePriority::AboveNormal) {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  }
}

CapturePriority LastCapturePriority() { return static_cast<CapturePriority>(g_lastGranted.load()); }

}  // namespace zelvio::kit
