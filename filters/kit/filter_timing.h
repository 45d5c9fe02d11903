// Where the streaming time goes, for the recording benchmark only. Built with
// ZELVIO_FILTER_TIMING (the test stand-ins and testbin/PushSourceTimed.ax, never the shipped
// filter), every input pin adds up the time its samples spend in Receive, every output pin
// the time they spend in its peer's Receive, and a filter its own streaming step (a source's
// grab and delivery). When the filter stops it appends the sums, one line a pin, to the
// file the environment variable ZELVIO_FILTER_TIMES names. A filter's own cost is then what
// came in less what went on downstream. Without the flag a span is empty and costs nothing.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace zelvio::kit {

class BaseFilter;

struct WorkTiming {
  std::atomic<int64_t> calls{0};
  std::atomic<int64_t> ticks{0};  // performance-counter ticks
  void Reset() {
    calls = 0;
    ticks = 0;
  }
};

#ifdef ZELVIO_FILTER_TIMING
class TimedSpan {
 public:
  explicit TimedSpan(WorkTiming& timing) : timing_(timing) { QueryPerformanceCounter(&start_); }
  ~TimedSpan() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    timing_.ticks += now.QuadPart - start_.QuadPart;
    ++timing_.calls;
  }
  TimedSpan(const TimedSpan&) = delete;
  TimedSpan& operator=(const TimedSpan&) = delete;

 private:
  WorkTiming& timing_;
  LARGE_INTEGER start_;
};

// Appends the filter's sums to the file named by ZELVIO_FILTER_TIMES (nothing without it).
void WriteFilterTimings(BaseFilter& filter);
void ResetFilterTimings(BaseFilter& filter);

// A live source's steps one by one: the slot, where stream time stood when the step chose
// it, and when the step began and ended on the performance counter in milliseconds (the
// clock the test windows draw), so a repeated picture can be told from a late grab.
class StepLog {
 public:
  class Span {
   public:
    Span(StepLog& log, int64_t slot, int64_t streamTime);
    ~Span();
    Span(const Span&) = delete;
    Span& operator=(const Span&) = delete;

   private:
    StepLog& log_;
    int64_t slot_;
    int64_t streamTime_;
    LARGE_INTEGER start_;
  };
  void Clear();
  // Appends the steps to the file named by ZELVIO_FILTER_TIMES.
  void Write();

 private:
  std::string text_;
};
#else
class TimedSpan {
 public:
  explicit TimedSpan(WorkTiming&) {}
};

inline void WriteFilterTimings(BaseFilter&) {}
inline void ResetFilterTimings(BaseFilter&) {}

class StepLog {
 public:
  class Span {
   public:
    Span(StepLog&, int64_t, int64_t) {}
  };
  void Clear() {}
  void Write() {}
};
#endif

}  // namespace zelvio::kit
