// Critical section and scoped lock, and the rule every filter on the kit keeps about its
// locks. A filter has three kinds, always taken in this order (never one higher up the list
// while holding one further down):
//
//   1. The state-change lock (BaseFilter's own). Stop, Pause and Run hold it for the whole
//      call, Stop's wait for the streaming thread included, so state changes never overlap.
//      Nothing else takes it; nothing on a streaming thread ever does.
//   2. The filter lock (BaseFilter::StateLock). Guards the state, the clock and the graph,
//      the pins' connections and allocators, and what the application sets (formats, file
//      names, modes). Held only for short work that waits for nobody.
//   3. Streaming locks (a derived filter's own: a muxer's queue, a live loop's clock, a
//      writer's file). Guard what the streaming thread works on.
//
// Which code may take which:
//   - Application-thread calls (IBaseFilter, IPin connections and queries, configuration
//     interfaces) take the filter lock. The hooks they call (OnPause, OnRun, OnStop,
//     OnJoinGraph, a pin's Active and Inactive, CompleteConnect, BreakConnect, ChooseBuffers,
//     OfferedTypes) already run under it; they may take streaming locks.
//   - Streaming-thread code (a live loop's steps, OnReceive, OnEndOfStream) runs under no
//     lock of the kit. It may take the filter lock for a moment, to read a setting, but not
//     while it holds a streaming lock (the order above), and never around a call that can
//     block downstream (GetDeliveryBuffer, Deliver: a paused renderer holds Receive until
//     the graph runs). It never calls the filter graph: the graph waits for streaming
//     threads while it holds its own lock.
//   - A filter's own worker thread (a transform filter with a queue, kit/transform_worker.h)
//     is a streaming thread like a source's. Its queue lock is a streaming lock: Receive
//     waits on it for room holding nothing else, and the worker holds it only to take a
//     sample or say it is done, never while it transforms (under the stream lock) or
//     delivers (under no lock). EndStreaming ends the worker, like any streaming thread.
//   - Flush hooks (OnBeginFlush, OnEndFlush) come on the application thread under no lock
//     of the kit: they may release a blocked Receive and then wait for it through a
//     streaming lock.
//   - Nobody waits for a streaming thread while holding the filter lock or a streaming lock
//     the thread may need: the thread would wait for the lock and the waiter for the
//     thread. So Stop deactivates the pins under the filter lock (a decommitted allocator
//     releases a thread waiting for a buffer), lets go of it, and only then has the filter
//     end its thread (BaseFilter::EndStreaming), holding the state-change lock alone.
//
// So Stop, Pause and Run are never called with the filter lock held: they would take the
// state-change lock after it, and Stop would still hold the (recursive) filter lock while
// it waits for the thread.
#pragma once
#include <windows.h>

namespace zelvio::kit {

class CritSec {
 public:
  CritSec() { InitializeCriticalSection(&cs_); }
  ~CritSec() { DeleteCriticalSection(&cs_); }
  CritSec(const CritSec&) = delete;
  CritSec& operator=(const CritSec&) = delete;

  void Enter() { EnterCriticalSection(&cs_); }
  void Leave() { LeaveCriticalSection(&cs_); }
  // For a condition variable's sleep, which leaves and enters it itself.
  CRITICAL_SECTION* Native() { return &cs_; }

 private:
  CRITICAL_SECTION cs_;
};

class AutoLock {
 public:
  explicit AutoLock(CritSec& cs) : cs_(cs) { cs_.Enter(); }
  ~AutoLock() { cs_.Leave(); }
  AutoLock(const AutoLock&) = delete;
  AutoLock& operator=(const AutoLock&) = delete;

 private:
  CritSec& cs_;
};

}  // namespace zelvio::kit
