#include "win32_task_runner.h"

namespace zelvio::screencodec {

Win32TaskRunner::Win32TaskRunner(int threads) {
  InitializeConditionVariable(&wake_);
  InitializeConditionVariable(&done_);
  for (int i = 1; i < threads; ++i) {
    auto worker = std::make_unique<kit::StreamThread>();
    if (!worker->Start(&Win32TaskRunner::WorkerEntry, this)) break;
    workers_.push_back(std::move(worker));
  }
}

Win32TaskRunner::~Win32TaskRunner() {
  {
    kit::AutoLock lock(lock_);
    exit_ = true;
    WakeAllConditionVariable(&wake_);
  }
  workers_.clear();  // joins each
}

int Win32TaskRunner::Processors() {
  DWORD_PTR process = 0, system = 0;
  if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) && process) {
    int n = 0;
    for (; process; process &= process - 1) ++n;
    return n;
  }
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

bool Win32TaskRunner::RunOne(const std::function<void(int)>& task) {
  int i = 0;
  {
    kit::AutoLock lock(lock_);
    if (task_ != &task || next_ >= count_) return false;
    i = next_++;
    ++running_;
  }
  task(i);
  kit::AutoLock lock(lock_);
  if (--running_ == 0 && next_ >= count_) WakeAllConditionVariable(&done_);
  return true;
}

void Win32TaskRunner::RunAll(int count, const std::function<void(int)>& task) {
  {
    kit::AutoLock lock(lock_);
    task_ = &task;
    next_ = 0;
    count_ = count;
    running_ = 0;
    WakeAllConditionVariable(&wake_);
  }
  while (RunOne(task)) {
  }
  kit::AutoLock lock(lock_);
  while (running_ > 0 || next_ < count_) SleepConditionVariableCS(&done_, lock_.Native(), INFINITE);
  task_ = nullptr;
}

void Win32TaskRunner::WorkerEntry(void* self) { static_cast<Win32TaskRunner*>(self)->Work(); }

void Win32TaskRunner::Work() {
  for (;;) {
    const std::function<void(int)>* task = nullptr;
    {
      kit::AutoLock lock(lock_);
      while (!exit_ && !(task_ && next_ < count_)) SleepConditionVariableCS(&wake_, lock_.Native(), INFINITE);
      if (exit_) return;
      task = task_;
    }
    RunOne(*task);
  }
}

}  // namespace zelvio::screencodec
