// kit_state_test: the filter kit's state changes when parts of them fail, and its locking
// rule, on the tiny filters of kit_test_filters.h. Every scenario builds its own pair of
// filters, so one that went wrong leaves nothing behind for the next.
// Usage: kit_state_test
#include <objbase.h>
#include <windows.h>

#include <cstdio>

#include "checks.h"
#include "kit_test_filters.h"

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
  report.Check(hr == kActiveFailure, "a Pause that fails on its third pin answers that pin's failure", Hr(hr));
  report.Check(StateOf(source) == State_Stopped, "the filter is still stopped after it");
  report.Check(!source.First().IsActive(), "the pin activated before the failing one is inactive again");
  report.Check(!Committed(source.Out()), "the output pin activated before it has its allocator decommitted again");
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
  report.Check(hr == S_OK && source.First().IsActive() && source.Second().IsActive() && Committed(source.Out()),
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
  report.Check(pair.sink->In().Received() >= 3 && source.Delivered() >= 3, "the running source delivers to the sink",
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

}  // namespace

int main() {
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
    rc = report.Finish();
  }
  CoUninitialize();
  return rc;
}
