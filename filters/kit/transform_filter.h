// A filter with one input and one output whose output type follows from the input's: a
// compressor, a converter. The derived filter says which inputs it takes, which outputs it
// makes of them, how large an output sample can get, and turns each input sample into an
// output sample; the pins, the connection order and the allocator are handled here. A filter
// whose output is its input (a pass-through) may offer the input's allocator downstream; where
// the peer takes it, each input sample travels on itself instead of being copied.
//
// A filter whose Transform takes long (an encoder) can work beside its upstream filter
// instead of inside its Receive: given a queue depth, Receive keeps a copy of the sample and
// returns, and the filter's own thread transforms and delivers (kit/transform_worker.h).
#pragma once
#include <memory>
#include <vector>

#include "kit/base_filter.h"
#include "kit/input_pin.h"
#include "kit/output_pin.h"
#include "kit/transform_worker.h"

namespace zelvio::kit {

class TransformFilter;

class TransformInputPin : public InputPin {
 public:
  explicit TransformInputPin(TransformFilter& owner);

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT OnReceive(IMediaSample* sample) override;
  HRESULT OnEndOfStream() override;
  HRESULT OnBeginFlush() override;
  HRESULT OnEndFlush() override;

 private:
  TransformFilter& owner_;
};

class TransformOutputPin : public OutputPin {
 public:
  explicit TransformOutputPin(TransformFilter& owner);

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  std::vector<MediaType> OfferedTypes() override;
  void ChooseBuffers(ALLOCATOR_PROPERTIES& props) override;
  ComPtr<IMemAllocator> AllocatorToShare() override;

 private:
  TransformFilter& owner_;
};

class TransformFilter : public BaseFilter, private TransformWorker::Host {
 public:
  // Transform runs on the upstream filter's thread, in its Receive.
  explicit TransformFilter(const CLSID& clsid);
  // Transform runs on the filter's own thread, at most `queueDepth` samples (and
  // `queueBytes` bytes of them) waiting for it. The output never shares the input's
  // allocator then: the samples it transforms are the filter's copies.
  TransformFilter(const CLSID& clsid, int queueDepth, size_t queueBytes);
  ~TransformFilter() override;

  int PinCount() override { return 2; }
  BasePin* PinAt(int index) override;

  TransformInputPin& Input() { return input_; }
  TransformOutputPin& Output() { return output_; }

 protected:
  friend class TransformInputPin;
  friend class TransformOutputPin;

  // S_OK when the filter can take this input type.
  virtual HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) = 0;
  // What the filter makes of the connected input, best first; called only while the input
  // is connected.
  virtual std::vector<MediaType> OutputTypes() = 0;
  // S_OK when `mt` is an output the connected input can become. By default: one of
  // OutputTypes(), compared in full.
  virtual HRESULT CheckOutputType(const AM_MEDIA_TYPE& mt);
  // The largest output sample the connected types can produce, in bytes. The output
  // allocator is sized from it once, when the output connects.
  virtual long OutputBufferSize() = 0;
  // Fills `out` from `in`: data, length, times, sync point. S_FALSE drops the sample.
  // Runs on the streaming thread (the upstream filter's, or the filter's own with a
  // queue), under the streaming lock.
  virtual HRESULT Transform(IMediaSample* in, IMediaSample* out) = 0;
  // An allocator the output would rather share than own; none by default. Only a filter
  // whose output samples are its input samples unchanged in size offers one (its input's).
  virtual ComPtr<IMemAllocator> OutputAllocatorToShare() { return {}; }
  // Used instead of Transform while the peer uses the shared allocator: adjusts the input
  // sample in place (flags, times), which is then delivered itself. S_FALSE drops it. Same
  // thread and lock as Transform.
  virtual HRESULT PassThrough(IMediaSample*) { return E_UNEXPECTED; }
  // A new stream starts (stopped -> paused), under the streaming lock, so per-stream state
  // can be reset while no sample is in Transform.
  virtual HRESULT OnStreamStart() { return S_OK; }
  // The stream has ended (Stop), under the streaming lock, once no sample is in Transform
  // and none will come: per-stream state can go.
  virtual void OnStreamEnd() {}
  // The sample Transform filled did not reach the peer (refused, or the peer failed), under
  // the streaming lock: a filter whose samples build on each other starts afresh.
  virtual void OnDeliveryFailed() {}

  HRESULT OnPause(FILTER_STATE from) override;
  void EndStreaming() override;

 private:
  HRESULT Receive(IMediaSample* in);
  HRESULT EndOfStream();
  HRESULT BeginFlush();
  HRESULT EndFlush();
  // TransformWorker::Host: one sample through Transform and on downstream.
  HRESULT Process(IMediaSample* in) override;
  HRESULT DeliverEndOfStream() override;

  // Guards Transform and the per-stream state it uses. Taken on the streaming thread, and
  // by OnPause under the state lock; never the other way round (Transform never takes the
  // state lock), so the two cannot deadlock.
  CritSec streamLock_;
  std::unique_ptr<TransformWorker> worker_;  // none: no queue
  TransformInputPin input_;
  TransformOutputPin output_;
};

}  // namespace zelvio::kit
