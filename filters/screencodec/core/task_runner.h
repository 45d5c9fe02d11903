// Work spread over the machine's cores, seen by the encoder without any operating system:
// the product hands it Win32 worker threads, the native tests and benchmarks standard ones.
#pragma once

#include <functional>

namespace zelvio::screencodec {

class TaskRunner {
 public:
  virtual ~TaskRunner() = default;
  // How many tasks can run at once, the calling thread included (>= 1).
  virtual int Threads() const = 0;
  // Runs task(0) .. task(count - 1), the calling thread taking one, and returns when every
  // one has returned. Tasks must not throw: each reports its failure in what it writes.
  virtual void RunAll(int count, const std::function<void(int)>& task) = 0;
};

// Runs every task on the calling thread, one after another.
class SerialRunner : public TaskRunner {
 public:
  int Threads() const override { return 1; }
  void RunAll(int count, const std::function<void(int)>& task) override {
    for (int i = 0; i < count; ++i) task(i);
  }
};

}  // namespace zelvio::screencodec
