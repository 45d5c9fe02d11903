// The streaming thread of a live source and its view of stream time. The filter drives it
// from its state changes; the body produces one step (a frame, a chunk of sound) at a time
// while the graph runs and is parked while paused.
#pragma once
#include <strmif.h>

#include <atomic>

#include "kit/com_ptr.h"
#include "kit/lock.h"
#include "kit/stream_thread.h"
#include "platform/handles_win32.h"

namespace kit {

class LiveLoop {
 public:
  class Body {
   public:
    // Once, on the streaming thread, as soon as the filter pauses from stopped: a live
    // source delivers its first sample here so that renderers can finish pausing (the
    // graph waits for them before it runs anything).
    virtual void CueStep(LiveLoop& loop) = 0;
    // Repeatedly while running.
    virtual void StreamStep(LiveLoop& loop) = 0;
    // Once, on the streaming thread, each time running turns into paused, before the
    // thread parks: a capture device hands over what it recorded up to PausedAt().
    virtual void PauseStep(LiveLoop& loop) { (void)loop; }

   protected:
    ~Body() = default;
  };

  explicit LiveLoop(Body& body);
  ~LiveLoop();
  LiveLoop(const LiveLoop&) = delete;
  LiveLoop& operator=(const LiveLoop&) = delete;

  // Stopped -> paused: the thread starts parked.
  HRESULT Start();
  // Stream time is clock time minus start; without a clock it runs on the performance
  // counter from where the previous run left off.
  void Run(IReferenceClock* clock, REFERENCE_TIME start);
  // Running -> paused. Waits briefly for a frame in flight to be delivered, so the graph
  // does not go on to stop the downstream filters (a mux writing its index) while our
  // thread is still inside their Receive. The wait is bounded because a paused renderer
  // may hold that Receive until the next Run.
  void Pause();
  // Ends the thread and waits for it. Whatever the body blocks on must be released by the
  // caller first (decommit the allocator).
  void Stop();

  // For the body, on the streaming thread.
  REFERENCE_TIME StreamTime();
  // Waits until stream time reaches t; false when the state changed first.
  bool WaitForStreamTime(REFERENCE_TIME t);
  bool Running() const { return mode_ == Mode::Running; }
  // Stream time at the latest switch from running to paused.
  REFERENCE_TIME PausedAt();

 private:
  enum class Mode { Paused, Running, Exit };
  static void ThreadEntry(void* self);
  void Loop();
  bool WaitForWake(DWORD ms);  // true when woken, false on time-out
  REFERENCE_TIME CounterTime() const;

  Body& body_;
  CritSec timeLock_;
  ComPtr<IReferenceClock> clock_;
  REFERENCE_TIME start_ = 0;
  REFERENCE_TIME counterBase_ = 0;  // counter time at Run when there is no clock
  REFERENCE_TIME pausedAt_ = 0;     // stream time when the clock-less run paused
  LARGE_INTEGER frequency_ = {};
  std::atomic<Mode> mode_{Mode::Paused};
  zelvio::UniqueHandle wake_;    // auto reset: a state change for the thread to see
  zelvio::UniqueHandle parked_;  // manual reset: set while the thread waits in the paused state
  StreamThread thread_;
};

}  // namespace kit
