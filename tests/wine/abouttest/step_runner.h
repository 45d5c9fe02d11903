// The about window's modal loop keeps the thread busy until the window closes, so whatever
// a test does meanwhile runs from a thread timer that loop dispatches: one step per tick.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace abouttest {

class StepRunner {
 public:
  StepRunner() = default;
  ~StepRunner();
  StepRunner(const StepRunner&) = delete;
  StepRunner& operator=(const StepRunner&) = delete;

  void Add(std::function<void()> step) { steps_.push_back(std::move(step)); }
  // Runs the steps one per tick, starting `intervalMs` from now. One runner at a time.
  void Start(UINT intervalMs);
  bool Done() const { return next_ >= steps_.size(); }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void Stop();

  std::vector<std::function<void()>> steps_;
  size_t next_ = 0;
  UINT_PTR timer_ = 0;
};

}  // namespace abouttest
