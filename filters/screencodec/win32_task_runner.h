// The encoder's deflate threads on Windows: made when a stream starts and ended with it, so
// a recording keeps its threads rather than making one per packet.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "kit/lock.h"
#include "kit/stream_thread.h"
#include "screencodec/core/task_runner.h"

namespace zelvio::screencodec {

class Win32TaskRunner : public TaskRunner {
 public:
  // `threads` counts the caller: threads - 1 are made. Fewer when the system refuses some.
  explicit Win32TaskRunner(int threads);
  ~Win32TaskRunner() override;
  Win32TaskRunner(const Win32TaskRunner&) = delete;
  Win32TaskRunner& operator=(const Win32TaskRunner&) = delete;

  int Threads() const override { return 1 + static_cast<int>(workers_.size()); }
  void RunAll(int count, const std::function<void(int)>& task) override;

  // The processors this process may run on, at least 1.
  static int Processors();

 private:
  static void WorkerEntry(void* self);
  void Work();
  // Takes the next task under the lock and runs it without; false when none is left.
  bool RunOne(const std::function<void(int)>& task);

  kit::CritSec lock_;
  CONDITION_VARIABLE wake_;
  CONDITION_VARIABLE done_;
  const std::function<void(int)>* task_ = nullptr;
  int next_ = 0, count_ = 0, running_ = 0;
  bool exit_ = false;
  std::vector<std::unique_ptr<kit::StreamThread>> workers_;
};

}  // namespace zelvio::screencodec
