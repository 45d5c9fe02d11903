// The streaming thread of a live source and its view of stream time. The filter drives it
// from its state changes; the body produces one step (a frame, a chunk of sound) at a time
// while the graph runs and is parked while paused.
//
// A state change never waits for the thread. The thread may be held downstream for a whole
// pause (a paused renderer keeps the sample it got in Receive until Run), and a source that
// waited for it would go on capturing while the graph believes it paused; every source
// paused after it would cut its stream later than this one. Instead Pause records the cut,
// the stream time at the call, and returns: whenever the thread next runs it delivers only
// what lies before the cut and drops the rest.
#pragma once
#include <strmif.h>

#include <atomic>
#include <cstdint>

#include "kit/com_ptr.h"
#include "kit/core/pause_cut.h"
#include "kit/lock.h"
#include "kit/stream_thread.h"
#include "common/win32/handles.h"

namespace zelvio::kit {

class LiveLoop {
 public:
  class Body {
   public:
    // Once, on the streaming thread, as soon as the filter pauses from stopped: a live
    // source delivers its first sample here so that renderers can finish pausing (the
    // graph waits for them before it runs anything).
    virtual void CueStep(LiveLoop& loop) = 0;
    // Repeatedly while running. Before delivering, the body claims what it delivers
    // (Claim) and drops it when the claim is refused.
    virtual void StreamStep(LiveLoop& loop) = 0;
    // Once, on the streaming thread, for every pause, before anything else of the stream
    // goes out: a capture device hands over what it recorded before `cut` and drops the
    // rest of its buffer.
    virtual void PauseStep(LiveLoop& loop, REFERENCE_TIME cut) {
      (void)loop;
      (void)cut;
    }

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
  // Running -> paused: records the cut and returns at once, wherever the thread is.
  void Pause();
  // Ends the thread and waits for it. Whatever the body blocks on must be released first:
  // the caller decommits its allocator (a thread waiting for a buffer wakes), and the graph
  // stops the downstream filters before the source (a renderer releases a held Receive).
  void Stop();

  // For the body, on the streaming thread.
  REFERENCE_TIME StreamTime();
  // Waits until stream time reaches t; false when the state changed first.
  bool WaitForStreamTime(REFERENCE_TIME t);
  // True when a sample whose latest instant is stream time `last` may go out: the loop
  // runs and no pause has cut before it. A pause that comes after a granted claim cuts
  // after `last`, so a sample on its way is never on the wrong side of the cut.
  bool Claim(REFERENCE_TIME last);
  bool Running() const { return mode_ == Mode::Running; }

 private:
  enum class Mode { Paused, Running, Exit };
  static void ThreadEntry(void* self);
  void Loop();
  bool WaitForWake(DWORD ms);  // true when woken, false on time-out
  bool Interrupted();          // the state changed or a pause is still to be handled
  REFERENCE_TIME CounterTime() const;
  REFERENCE_TIME StreamTimeLocked();

  Body& body_;
  CritSec timeLock_;  // guards everything below but the mode and the handles
  ComPtr<IReferenceClock> clock_;
  REFERENCE_TIME start_ = 0;
  REFERENCE_TIME counterBase_ = 0;  // counter time at Run when there is no clock
  REFERENCE_TIME pausedAt_ = 0;     // stream time when the clock-less run paused
  PauseCut cut_;
  LARGE_INTEGER frequency_ = {};
  std::atomic<Mode> mode_{Mode::Paused};
  zelvio::UniqueHandle wake_;  // auto reset: a state change for the thread to see
  StreamThread thread_;
};

}  // namespace zelvio::kit
