// A TaskRunner on standard threads, for the native tests and benchmarks (the Windows
// toolchain's C++ threads are not available; the filter has its own Win32 runner). The
// threads live as long as the runner.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "screencodec/core/task_runner.h"

namespace zelvio::screencodec {

class StdTaskRunner : public TaskRunner {
 public:
  explicit StdTaskRunner(int threads) : threads_(threads < 1 ? 1 : threads) {
    for (int i = 1; i < threads_; ++i) workers_.emplace_back([this] { Work(); });
  }
  ~StdTaskRunner() override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      exit_ = true;
    }
    wake_.notify_all();
    for (auto& t : workers_) t.join();
  }
  StdTaskRunner(const StdTaskRunner&) = delete;
  StdTaskRunner& operator=(const StdTaskRunner&) = delete;

  int Threads() const override { return threads_; }

  void RunAll(int count, const std::function<void(int)>& task) override {
    std::unique_lock<std::mutex> lock(mutex_);
    task_ = &task;
    next_ = 0;
    count_ = count;
    running_ = 0;
    wake_.notify_all();
    while (next_ < count_) {
      int i = next_++;
      ++running_;
      lock.unlock();
      task(i);
      lock.lock();
      --running_;
    }
    done_.wait(lock, [this] { return running_ == 0; });
    task_ = nullptr;
  }

 private:
  void Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return exit_ || (task_ && next_ < count_); });
      if (exit_) return;
      int i = next_++;
      ++running_;
      const std::function<void(int)>* task = task_;
      lock.unlock();
      (*task)(i);
      lock.lock();
      if (--running_ == 0 && next_ >= count_) done_.notify_all();
    }
  }

  int threads_;
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  const std::function<void(int)>* task_ = nullptr;
  int next_ = 0, count_ = 0, running_ = 0;
  bool exit_ = false;
};

}  // namespace zelvio::screencodec
