// The queue and thread of a transform filter that works beside its upstream filter: Receive
// keeps a copy of the sample and returns, and the worker thread transforms and delivers the
// copies in the order they came, with their times unchanged.
//
// The queue is bounded in samples and in bytes (one sample always fits, whatever its size).
// A Receive that finds it full waits for room: the upstream filter is held as long as it
// would be if the transform ran on its thread, so a live source gives up its late slots and
// counts them as it always has, and no sample is ever dropped or reordered here.
//
// Locks (kit/lock.h): the queue lock is a streaming lock. Push waits on it for room, holding
// no other lock; the worker holds it only to take a sample and to say it is done, never
// while it transforms (under the filter's stream lock) or delivers (under no lock). Stop
// ends the thread from EndStreaming, after the pins went inactive and without the filter
// lock: the decommitted output allocator releases a worker waiting for a buffer, and the
// graph stops the downstream filters first, which releases one in Deliver.
#pragma once
#include <windows.h>
#include <strmif.h>

#include <deque>
#include <memory>
#include <vector>

#include "kit/held_sample.h"
#include "kit/lock.h"
#include "kit/stream_thread.h"

namespace zelvio::kit {

class TransformWorker {
 public:
  class Host {
   public:
    // On the worker: transforms the sample and delivers the result. A failure is handed to
    // the upstream filter as the answer of its next Receive.
    virtual HRESULT Process(IMediaSample* sample) = 0;
    virtual HRESULT DeliverEndOfStream() = 0;

   protected:
    ~Host() = default;
  };

  TransformWorker(Host& host, int depth, size_t bytes);
  ~TransformWorker();
  TransformWorker(const TransformWorker&) = delete;
  TransformWorker& operator=(const TransformWorker&) = delete;

  // Stopped -> paused: an empty queue, no failure remembered, the thread running.
  HRESULT Start();
  // Ends the thread (after whatever it is doing returns) and empties the queue; a Push
  // waiting for room answers VFW_E_WRONG_STATE. Nothing is delivered once this returns.
  void Stop();

  // On the upstream thread (Receive): a copy of `sample` joins the queue.
  HRESULT Push(IMediaSample* sample);
  // The end of the stream goes downstream after every sample queued before it.
  HRESULT PushEndOfStream();
  // Drops what waits and releases a Push waiting for room; what the worker is transforming
  // still goes out (into the flushing downstream filter, which discards it).
  void BeginFlush();
  // Waits until the worker is done with the sample it held at BeginFlush.
  void EndFlush();

 private:
  struct Entry {
    std::unique_ptr<HeldSample> sample;  // none: the end of the stream
  };

  static void ThreadEntry(void* self);
  void Loop();
  bool Full(size_t incoming) const;
  void Recycle(std::unique_ptr<HeldSample> sample);

  Host& host_;
  const int depth_;
  const size_t bytes_;
  CritSec lock_;                // guards everything below but the thread
  CONDITION_VARIABLE changed_;  // any change of the fields below
  std::deque<Entry> queue_;
  std::vector<std::unique_ptr<HeldSample>> spare_;  // kept buffers, reused frame after frame
  size_t queuedBytes_ = 0;
  bool busy_ = false;  // the worker holds a sample outside the queue
  bool flushing_ = false;
  bool exit_ = true;
  HRESULT failure_ = S_OK;  // the worker's last failure, not yet told upstream
  StreamThread thread_;
};

}  // namespace zelvio::kit
