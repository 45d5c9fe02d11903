#include "step_runner.h"

namespace abouttest {

namespace {
// A thread timer's callback carries no context; only one runner runs at a time.
StepRunner* g_running = nullptr;
}  // namespace

StepRunner::~StepRunner() { Stop(); }

void StepRunner::Start(UINT intervalMs) {
  next_ = 0;
  g_running = this;
  timer_ = SetTimer(nullptr, 0, intervalMs, Tick);
}

void StepRunner::Stop() {
  if (timer_) KillTimer(nullptr, timer_);
  timer_ = 0;
  if (g_running == this) g_running = nullptr;
}

void CALLBACK StepRunner::Tick(HWND, UINT, UINT_PTR, DWORD) {
  StepRunner* runner = g_running;
  if (!runner) return;
  if (runner->Done()) {
    runner->Stop();
    return;
  }
  // Counted before it runs: a step may itself run a message loop that ticks again.
  size_t index = runner->next_++;
  runner->steps_[index]();
}

}  // namespace abouttest
