// Tiny filters built from the kit, each part there to be made to fail or to be watched: a
// source with two pins whose Active and Inactive can be told to fail around a real output
// pin (its allocator is the sink's, so commit and decommit are the real ones), and a live
// streaming thread that can be parked where it next takes the filter lock; and a sink with
// one input pin.
#pragma once
#include <windows.h>
#include <strmif.h>

#include "common/win32/handles.h"
#include "kit/base_filter.h"
#include "kit/base_pin.h"
#include "kit/input_pin.h"
#include "kit/live_loop.h"
#include "kit/output_pin.h"
#include "kit/transform_filter.h"

#include <vector>

namespace kittest {

// Counts its activations and fails them when told.
class SwitchPin : public zelvio::kit::BasePin {
 public:
  SwitchPin(zelvio::kit::BaseFilter& filter, const wchar_t* name);

  HRESULT Active() override;
  HRESULT Inactive() override;

  bool IsActive() const { return active_; }
  int Inactivations() const { return inactivations_; }
  void Reset();

  HRESULT activeResult = S_OK;
  HRESULT inactiveResult = S_OK;

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE&) override { return S_FALSE; }

 private:
  bool active_ = false;
  int inactivations_ = 0;
};

class SourcePin : public zelvio::kit::OutputPin {
 public:
  explicit SourcePin(zelvio::kit::BaseFilter& filter) : OutputPin(filter, L"Out") {}
  // What the pin offers and takes instead of the kit test's own type (a video format, say).
  void Offer(const AM_MEDIA_TYPE& mt) { offer_ = zelvio::kit::MediaType(mt); }

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  std::vector<zelvio::kit::MediaType> OfferedTypes() override;
  void ChooseBuffers(ALLOCATOR_PROPERTIES& props) override;

 private:
  zelvio::kit::MediaType offer_;
};

// Counts what it receives; can be told to hold Receive (until released, flushed or made
// inactive) and to fail it, and keeps the start time of each sample and of the end of
// stream, in the order they came.
class SinkPin : public zelvio::kit::InputPin {
 public:
  explicit SinkPin(zelvio::kit::BaseFilter& filter);
  LONG Received() const { return received_; }

  void Hold() { ResetEvent(release_.get()); }
  void LetGo() { SetEvent(release_.get()); }
  // Receive calls that came in, held or not.
  LONG Arrived() const { return arrived_; }
  // Waits until `count` Receive calls came in; false after `ms`.
  bool WaitForArrivals(LONG count, DWORD ms);
  HRESULT failWith = S_OK;
  // Takes any type (an encoder's output), not only the kit test's own.
  bool acceptAny = false;
  // Start times of the samples received, -1 for the end of the stream.
  std::vector<REFERENCE_TIME> Log();
  // Waits until `count` entries are in the log; false after `ms`.
  bool WaitForLog(size_t count, DWORD ms);

  HRESULT Inactive() override;

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT OnReceive(IMediaSample* sample) override;
  HRESULT OnEndOfStream() override;
  HRESULT OnBeginFlush() override;

 private:
  volatile LONG received_ = 0;
  volatile LONG arrived_ = 0;
  zelvio::UniqueHandle release_;
  zelvio::kit::CritSec logLock_;
  std::vector<REFERENCE_TIME> log_;
};

class TestSink : public zelvio::kit::BaseFilter {
 public:
  TestSink();
  int PinCount() override { return 1; }
  zelvio::kit::BasePin* PinAt(int index) override { return index == 0 ? &in_ : nullptr; }
  SinkPin& In() { return in_; }

  // When set, Stop offers this sample to the input pin once the pins went inactive, where
  // the state still reads paused or running; ProbeResult() is what Receive answered.
  void ProbeStopWith(IMediaSample* sample) { probe_ = sample; }
  HRESULT ProbeResult() const { return probeResult_; }

 protected:
  void EndStreaming() override;

 private:
  SinkPin in_;
  IMediaSample* probe_ = nullptr;
  HRESULT probeResult_ = E_PENDING;
};

// Pins in this order: First, Out, Second; a Pause that fails on Second has activated the
// two before it.
class TestSource : public zelvio::kit::BaseFilter, private zelvio::kit::LiveLoop::Body {
 public:
  TestSource();
  ~TestSource() override;

  int PinCount() override { return 3; }
  zelvio::kit::BasePin* PinAt(int index) override;

  SwitchPin& First() { return first_; }
  SwitchPin& Second() { return second_; }
  SourcePin& Out() { return out_; }
  LONG Delivered() const { return delivered_; }

  // What OnPause from stopped answers.
  HRESULT pauseResult = S_OK;

  // The next streaming step parks (Parked() is signalled) until Stop begins, then takes the
  // filter lock and counts whether Stop was still under way.
  void ParkNextStep() { InterlockedExchange(&park_, 1); }
  HANDLE Parked() const { return parked_.get(); }
  LONG LockedWhileStopping() const { return lockedWhileStopping_; }

 protected:
  HRESULT OnPause(FILTER_STATE from) override;
  HRESULT OnRun(REFERENCE_TIME start) override;
  void OnStop() override;
  void EndStreaming() override;

 private:
  void CueStep(zelvio::kit::LiveLoop&) override {}
  void StreamStep(zelvio::kit::LiveLoop& loop) override;

  SwitchPin first_;
  SourcePin out_;
  SwitchPin second_;
  zelvio::kit::LiveLoop loop_;
  zelvio::UniqueHandle parked_;
  zelvio::UniqueHandle stopBegan_;
  volatile LONG park_ = 0;
  volatile LONG delivered_ = 0;
  volatile LONG lockedWhileStopping_ = 0;
};

// A copying transform on the kit's queue: two samples wait at most, on its own thread.
class QueuedCopy : public zelvio::kit::TransformFilter {
 public:
  static constexpr int kDepth = 2;
  QueuedCopy();
  LONG Transforms() const { return transforms_; }

 protected:
  HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) override;
  std::vector<zelvio::kit::MediaType> OutputTypes() override;
  long OutputBufferSize() override;
  HRESULT Transform(IMediaSample* in, IMediaSample* out) override;

 private:
  volatile LONG transforms_ = 0;
};

}  // namespace kittest
