// kit_state_test: the filter kit's state changes when parts of them fail, and its locking
// rule, on the tiny filters of kit_test_filters.h. Every scenario builds its own pair of
// filters, so one that went wrong leaves nothing behind for the next.
// Usage: kit_state_test
#include <objbase.h>
#include <windows.h>
#include <strmif.h>
#include <amvideo.h>
#include <uuids.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <initializer_list>
#include <vector>

#include "checks.h"
#include "kit_test_filters.h"
#include "screencodec/screen_codec_ids.h"

namespace {

using kittest::TestSink;
using kittest::TestSource;

// Failures nothing else produces, so an answer can only have come from the pin or step
// that was told to fail.
const HRESULT kActiveFailure = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x2A1);
const HRESULT kPauseFailure = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x2A2);
const HRESULT kInactiveFailure = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x2A3);
const HRESULT kLaterInactiveFailure = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x2A4);

std::string Hr(HRESULT hr) { return ztest::Format("hr=0x%08lX", static_cast<unsigned long>(hr)); }

FILTER_STATE StateOf(IBaseFilter& filter) {
  FILTER_STATE state = State_Running;
  filter.GetState(0, &state);
  return state;
}

// True when the pin's allocator hands out buffers, that is, it is committed. Nothing holds
// a buffer when this is asked, so a committed allocator answers at once.
bool Committed(kittest::SourcePin& out) {
  zelvio::kit::ComPtr<IMediaSample> sample;
  return SUCCEEDED(out.GetDeliveryBuffer(sample.Put()));
}

// A source whose output is connected to a sink, as a graph would leave them.
struct Pair {
  Pair() : source(new TestSource), sink(new TestSink) {
    source->AddRef();
    sink->AddRef();
    connected = source->Out().Connect(&sink->In(), nullptr);
  }
  ~Pair() {
    sink->Stop();
    source->Stop();
    source->Out().Disconnect();
    sink->In().Disconnect();
    source->Release();
    sink->Release();
  }
  Pair(const Pair&) = delete;
  Pair& operator=(const Pair&) = delete;

  TestSource* source;
  TestSink* sink;
  HRESULT connected;
};

// A Pause that fails, on a pin or in the filter's own step, leaves the filter as it found
// it: stopped, every pin inactive, the allocator decommitted; and the filter pauses and
// stops normally afterwards.
void CheckFailedPause(ztest::Report& report) {
  Pair pair;
  report.Ok(pair.connected, "failed pause: the source connects to the sink");
  TestSource& source = *pair.source;

  source.Second().activeResult = kActiveFailure;
  HRESULT hr = source.Pause();
  report.Check(hr == kActiveFailure, "a Pause that fails on its third pin answers that pin's failure",
               Hr(hr));
  report.Check(StateOf(source) == State_Stopped, "the filter is still stopped after it");
  report.Check(!source.First().IsActive(), "the pin activated before the failing one is inactive again");
  report.Check(!Committed(source.Out()),
               "the output pin activated before it has its allocator decommitted again");
  hr = source.Stop();
  report.Check(hr == S_OK && !source.First().IsActive() && !Committed(source.Out()),
               "after that Pause, Stop leaves every pin inactive", Hr(hr));

  source.Second().Reset();
  source.pauseResult = kPauseFailure;
  hr = source.Pause();
  report.Check(hr == kPauseFailure && StateOf(source) == State_Stopped && !source.First().IsActive() &&
                   !source.Second().IsActive() && !Committed(source.Out()),
               "a Pause whose filter step fails leaves the filter stopped with every pin inactive", Hr(hr));
  hr = source.Run(0);
  report.Check(hr == kPauseFailure && StateOf(source) == State_Stopped && !source.First().IsActive() &&
                   !Committed(source.Out()),
               "so does a Run from stopped whose pause fails", Hr(hr));

  source.pauseResult = S_OK;
  hr = source.Pause();
  report.Check(
      hr == S_OK && source.First().IsActive() && source.Second().IsActive() && Committed(source.Out()),
      "once nothing fails, Pause activates every pin and commits the allocator", Hr(hr));
  hr = source.Stop();
  report.Check(hr == S_OK && !source.First().IsActive() && !source.Second().IsActive() &&
                   !Committed(source.Out()) && StateOf(source) == State_Stopped,
               "and Stop takes all of it back", Hr(hr));
}

// Stop deactivates every pin although one fails, and answers the first failure.
void CheckFailedInactive(ztest::Report& report) {
  Pair pair;
  report.Ok(pair.connected, "failed inactive: the source connects to the sink");
  TestSource& source = *pair.source;
  report.Ok(source.Pause(), "the source pauses");

  source.First().inactiveResult = kInactiveFailure;
  source.Second().inactiveResult = kLaterInactiveFailure;
  HRESULT hr = source.Stop();
  report.Check(hr == kInactiveFailure, "Stop answers the first failure of its pins' Inactive", Hr(hr));
  report.Check(source.Second().Inactivations() == 1 && !Committed(source.Out()),
               "Stop deactivates the pins after the failing one, too");
  report.Check(StateOf(source) == State_Stopped, "the filter is stopped after it");

  source.First().Reset();
  source.Second().Reset();
  hr = source.Stop();
  report.Check(hr == S_OK && source.Second().Inactivations() == 0, "a second Stop finds nothing left to undo",
               Hr(hr));
}

struct StopCall {
  TestSource* source;
  HRESULT hr = E_PENDING;
};

DWORD WINAPI CallStop(void* context) {
  auto* call = static_cast<StopCall*>(context);
  call->hr = call->source->Stop();
  return 0;
}

// A streaming step may take the filter lock while Stop waits for the streaming thread to
// end: Stop must not wait holding it. The thread is parked where it next takes the lock, so
// the order is the same on every run. A Stop that deadlocks ends the program: its thread
// can never be joined.
void CheckStopWhileStreamingTakesLock(ztest::Report& report) {
  Pair pair;
  report.Ok(pair.connected, "locking: the source connects to the sink");
  TestSource& source = *pair.source;
  pair.sink->Pause();
  pair.sink->Run(0);
  source.Pause();
  source.Run(0);
  for (int i = 0; i < 500 && pair.sink->In().Received() < 3; ++i) Sleep(10);
  report.Check(pair.sink->In().Received() >= 3 && source.Delivered() >= 3,
               "the running source delivers to the sink",
               ztest::Format("%ld delivered", static_cast<long>(source.Delivered())));

  source.ParkNextStep();
  if (!report.Check(WaitForSingleObject(source.Parked(), 5000) == WAIT_OBJECT_0,
                    "the streaming thread parks before it takes the filter lock")) {
    return;
  }
  zelvio::kit::ComPtr<IMediaSample> late;
  source.Out().GetDeliveryBuffer(late.Put());
  pair.sink->ProbeStopWith(late.Get());
  HRESULT hr = pair.sink->Stop();  // a graph stops the filters downstream first
  report.Check(hr == S_OK && pair.sink->ProbeResult() == VFW_E_WRONG_STATE,
               "a sample reaching a stopping filter after its pins went inactive is refused",
               Hr(pair.sink->ProbeResult()));
  late.Reset();
  StopCall call{&source};
  zelvio::UniqueHandle thread(CreateThread(nullptr, 0, &CallStop, &call, 0, nullptr));
  if (WaitForSingleObject(thread.get(), 5000) != WAIT_OBJECT_0) {
    report.Check(false, "Stop returns while a streaming step takes the filter lock",
                 "still waiting after 5 s: the step waits for the lock Stop holds");
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(report.Finish()));
  }
  report.Check(call.hr == S_OK, "Stop returns while a streaming step takes the filter lock", Hr(call.hr));
  report.Equal("the streaming step took the filter lock while Stop was under way", 1,
               source.LockedWhileStopping());
  report.Check(StateOf(source) == State_Stopped && !Committed(source.Out()),
               "after it the source is stopped with its allocator decommitted");
}

// A source, a queued transform and a sink, connected; the source only lends its output pin
// (its allocator): the checks hand samples to the transform's input themselves.
struct QueuedChain {
  QueuedChain() : source(new TestSource), queued(new kittest::QueuedCopy), sink(new TestSink) {
    source->AddRef();
    queued->AddRef();
    sink->AddRef();
    connected = source->Out().Connect(&queued->Input(), nullptr);
    if (SUCCEEDED(connected)) connected = queued->Output().Connect(&sink->In(), nullptr);
    queued->Input().QueryInterface(IID_IMemInputPin, input.PutVoid());
  }
  ~QueuedChain() {
    sink->In().LetGo();
    Stop();
    source->Out().Disconnect();
    queued->Input().Disconnect();
    queued->Output().Disconnect();
    sink->In().Disconnect();
    input.Reset();
    source->Release();
    queued->Release();
    sink->Release();
  }
  QueuedChain(const QueuedChain&) = delete;
  QueuedChain& operator=(const QueuedChain&) = delete;

  void Pause() {
    sink->Pause();
    queued->Pause();
    source->Pause();
  }
  // As a graph does: downstream first.
  HRESULT Stop() {
    sink->Stop();
    HRESULT hr = queued->Stop();
    source->Stop();
    return hr;
  }
  // A sample stamped `start` through the transform's Receive.
  HRESULT Push(REFERENCE_TIME start) {
    zelvio::kit::ComPtr<IMediaSample> sample;
    HRESULT hr = source->Out().GetDeliveryBuffer(sample.Put());
    if (FAILED(hr)) return hr;
    REFERENCE_TIME stop = start + 1;
    sample->SetTime(&start, &stop);
    return input->Receive(sample.Get());
  }

  TestSource* source;
  kittest::QueuedCopy* queued;
  TestSink* sink;
  zelvio::kit::ComPtr<IMemInputPin> input;
  HRESULT connected;
};

struct PushCall {
  QueuedChain* chain;
  REFERENCE_TIME start;
  HRESULT hr = E_PENDING;
};

DWORD WINAPI CallPush(void* context) {
  auto* call = static_cast<PushCall*>(context);
  call->hr = call->chain->Push(call->start);
  return 0;
}

// A Push on a thread of its own: the caller sees whether it returns and what it answers.
struct PushThread {
  PushThread(QueuedChain& chain, REFERENCE_TIME start)
      : call{&chain, start}, thread(CreateThread(nullptr, 0, &CallPush, &call, 0, nullptr)) {}
  bool Returned(DWORD ms) { return WaitForSingleObject(thread.get(), ms) == WAIT_OBJECT_0; }
  PushCall call;
  zelvio::UniqueHandle thread;
};

bool Starts(const std::vector<REFERENCE_TIME>& log, std::initializer_list<REFERENCE_TIME> want) {
  return log == std::vector<REFERENCE_TIME>(want);
}

// A transform with a queue: Receive returns once the sample is copied, the filter's thread
// delivers in order with the times kept and the end of the stream after them; a full queue
// holds Receive until there is room; a flush drops what waits and frees a held Receive; a
// failure downstream is the answer of the next Receive; Stop frees a held Receive, and
// nothing is delivered once it has returned.
void CheckQueuedTransform(ztest::Report& report) {
  QueuedChain chain;
  report.Ok(chain.connected, "queue: source, queued transform and sink connect");
  kittest::SinkPin& sink = chain.sink->In();
  chain.Pause();
  bool pushed = true;
  for (REFERENCE_TIME t = 1; t <= 5; ++t) pushed = chain.Push(t) == S_OK && pushed;
  chain.queued->Input().EndOfStream();
  report.Check(pushed && sink.WaitForLog(6, 5000) && Starts(sink.Log(), {1, 2, 3, 4, 5, -1}),
               "queue: samples arrive in order with their times, the end of the stream after them");

  sink.Hold();
  bool queued = chain.Push(10) == S_OK && sink.WaitForArrivals(6, 5000);  // the worker waits in the sink
  for (REFERENCE_TIME t = 11; t <= 10 + kittest::QueuedCopy::kDepth; ++t)
    queued = chain.Push(t) == S_OK && queued;
  PushThread waiting(chain, 13);
  report.Check(queued && !waiting.Returned(300), "queue: a Receive that finds the queue full waits");
  sink.LetGo();
  report.Check(waiting.Returned(5000) && waiting.call.hr == S_OK && sink.WaitForLog(10, 5000) &&
                   Starts(sink.Log(), {1, 2, 3, 4, 5, -1, 10, 11, 12, 13}),
               "queue: it returns once there is room, and nothing is lost or reordered");

  sink.Hold();
  queued = chain.Push(20) == S_OK && sink.WaitForArrivals(10, 5000);
  queued = chain.Push(21) == S_OK && chain.Push(22) == S_OK && queued;
  PushThread flushed(chain, 23);
  chain.queued->Input().BeginFlush();
  report.Check(queued && flushed.Returned(5000) && flushed.call.hr == S_FALSE,
               "queue: a flush frees the waiting Receive", Hr(flushed.call.hr));
  chain.queued->Input().EndFlush();
  report.Ok(chain.Push(24), "queue: samples flow again after the flush");
  sink.WaitForLog(11, 5000);
  Sleep(100);
  report.Check(Starts(sink.Log(), {1, 2, 3, 4, 5, -1, 10, 11, 12, 13, 24}),
               "queue: what waited at the flush is dropped");

  sink.failWith = kActiveFailure;
  chain.Push(30);
  sink.WaitForLog(12, 5000);
  Sleep(50);
  HRESULT hr = chain.Push(31);
  report.Check(hr == kActiveFailure, "queue: a failure downstream is the answer of the next Receive", Hr(hr));
  sink.failWith = S_OK;

  LONG arrived = sink.Arrived();
  sink.Hold();
  queued = chain.Push(40) == S_OK && sink.WaitForArrivals(arrived + 1, 5000);
  queued = chain.Push(41) == S_OK && chain.Push(42) == S_OK && queued;
  PushThread stopped(chain, 43);
  Sleep(50);
  hr = chain.Stop();
  report.Check(queued && hr == S_OK && stopped.Returned(5000),
               "queue: Stop returns and frees a Receive waiting for room", Hr(hr));
  LONG atStop = chain.queued->Transforms();
  Sleep(200);
  report.Equal("queue: nothing is transformed or delivered after Stop returned", static_cast<long>(atStop),
               static_cast<long>(chain.queued->Transforms()));
}

zelvio::kit::MediaType Rgb32(LONG width, LONG height) {
  zelvio::kit::MediaType type;
  AM_MEDIA_TYPE& mt = type.Get();
  mt.majortype = MEDIATYPE_Video;
  mt.subtype = MEDIASUBTYPE_RGB32;
  mt.formattype = FORMAT_VideoInfo;
  mt.bFixedSizeSamples = TRUE;
  auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormat(sizeof(VIDEOINFOHEADER)));
  vih->AvgTimePerFrame = 333333;
  vih->bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  LONGLONG bytes = LONGLONG(width) * height * 4;
  vih->bmiHeader.biSizeImage = static_cast<DWORD>(bytes);
  mt.lSampleSize = static_cast<ULONG>(bytes);
  return type;
}

// The screen codec at its COM boundary: a picture its encoder cannot take is refused at the
// connection (23170 x 23170 once connected and then failed at Pause, its sizes wrapped), and
// once its output is connected, an input of another size is refused too (the packets would
// no longer be what the output type says).
void CheckScreenCodecBoundary(ztest::Report& report, const wchar_t* codecPath) {
  HMODULE module = LoadLibraryW(codecPath);
  using GetClass = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto getClass =
      module
          ? reinterpret_cast<GetClass>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")))
          : nullptr;
  zelvio::kit::ComPtr<IClassFactory> factory;
  zelvio::kit::ComPtr<IBaseFilter> codec;
  if (!report.Check(getClass &&
                        SUCCEEDED(getClass(CLSID_ZelvioScreenCodec, IID_IClassFactory, factory.PutVoid())) &&
                        SUCCEEDED(factory->CreateInstance(nullptr, IID_IBaseFilter, codec.PutVoid())),
                    "codec: the screen codec is made from its module"))
    return;
  zelvio::kit::ComPtr<IPin> input, output;
  codec->FindPin(L"Input", input.Put());
  codec->FindPin(L"Output", output.Put());
  report.Check(input->QueryAccept(&Rgb32(23170, 23170).Get()) != S_OK &&
                   input->QueryAccept(&Rgb32(40000, 8).Get()) != S_OK,
               "codec: pictures the encoder cannot take are refused at the connection");

  Pair pair;
  pair.source->Out().Disconnect();
  pair.sink->In().Disconnect();
  pair.source->Out().Offer(Rgb32(320, 240).Get());
  pair.sink->In().acceptAny = true;
  HRESULT hr = pair.source->Out().Connect(input.Get(), nullptr);
  if (SUCCEEDED(hr)) hr = output->Connect(&pair.sink->In(), nullptr);
  report.Ok(hr, "codec: a 320x240 source and a sink connect through it");
  report.Check(input->QueryAccept(&Rgb32(320, 240).Get()) == S_OK &&
                   input->QueryAccept(&Rgb32(640, 480).Get()) != S_OK,
               "codec: with its output connected it takes the same picture again, not another size");
  pair.source->Out().Disconnect();
  input->Disconnect();
  pair.source->Out().Offer(Rgb32(640, 480).Get());
  report.Check(FAILED(pair.source->Out().Connect(input.Get(), nullptr)),
               "codec: its input cannot be reconnected with another size under the connected output");
  input->Disconnect();
  output->Disconnect();
  pair.sink->In().Disconnect();
}

}  // namespace

int main(int argc, char** argv) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {
    std::printf("FAIL: COM starts\n0 passed, 1 failed\n");
    return 1;
  }
  int rc = 0;
  {
    ztest::Report report;
    CheckFailedPause(report);
    CheckFailedInactive(report);
    CheckStopWhileStreamingTakesLock(report);
    CheckQueuedTransform(report);
    if (argc > 1) {
      std::wstring codec(argv[1], argv[1] + std::strlen(argv[1]));
      CheckScreenCodecBoundary(report, codec.c_str());
    }
    rc = report.Finish();
  }
  CoUninitialize();
  return rc;
}
