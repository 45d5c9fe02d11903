#include "kit_test_filters.h"

namespace kittest {

namespace {

// A type of our own: nothing outside this program may take part in the connection.
constexpr GUID kMajor = {0x7a3c2e10, 0x4b1d, 0x4f7e, {0x9a, 0x21, 0x5c, 0x0e, 0x6b, 0x33, 0x11, 0x01}};
constexpr GUID kSub = {0x7a3c2e10, 0x4b1d, 0x4f7e, {0x9a, 0x21, 0x5c, 0x0e, 0x6b, 0x33, 0x11, 0x02}};
constexpr GUID kFormat = {0x7a3c2e10, 0x4b1d, 0x4f7e, {0x9a, 0x21, 0x5c, 0x0e, 0x6b, 0x33, 0x11, 0x03}};
constexpr CLSID kSourceClsid = {0x7a3c2e10, 0x4b1d, 0x4f7e, {0x9a, 0x21, 0x5c, 0x0e, 0x6b, 0x33, 0x11, 0x04}};
constexpr CLSID kSinkClsid = {0x7a3c2e10, 0x4b1d, 0x4f7e, {0x9a, 0x21, 0x5c, 0x0e, 0x6b, 0x33, 0x11, 0x05}};
constexpr long kSampleBytes = 4096;

bool IsOurType(const AM_MEDIA_TYPE& mt) { return mt.majortype == kMajor && mt.subtype == kSub; }

}  // namespace

SwitchPin::SwitchPin(zelvio::kit::BaseFilter& filter, const wchar_t* name)
    : BasePin(filter, name, PINDIR_INPUT) {}

HRESULT SwitchPin::Active() {
  if (FAILED(activeResult)) return activeResult;
  active_ = true;
  return S_OK;
}

HRESULT SwitchPin::Inactive() {
  ++inactivations_;
  active_ = false;
  return inactiveResult;
}

void SwitchPin::Reset() {
  activeResult = S_OK;
  inactiveResult = S_OK;
  inactivations_ = 0;
}

HRESULT SourcePin::CheckMediaType(const AM_MEDIA_TYPE& mt) { return IsOurType(mt) ? S_OK : S_FALSE; }

std::vector<zelvio::kit::MediaType> SourcePin::OfferedTypes() {
  AM_MEDIA_TYPE mt = {};
  mt.majortype = kMajor;
  mt.subtype = kSub;
  mt.formattype = kFormat;
  mt.bFixedSizeSamples = TRUE;
  mt.lSampleSize = kSampleBytes;
  return {zelvio::kit::MediaType(mt)};
}

void SourcePin::ChooseBuffers(ALLOCATOR_PROPERTIES& props) {
  props.cbBuffer = kSampleBytes;
  if (props.cBuffers < 2) props.cBuffers = 2;
}

HRESULT SinkPin::CheckMediaType(const AM_MEDIA_TYPE& mt) { return IsOurType(mt) ? S_OK : S_FALSE; }

HRESULT SinkPin::OnReceive(IMediaSample*) {
  InterlockedIncrement(&received_);
  return S_OK;
}

TestSink::TestSink() : BaseFilter(kSinkClsid), in_(*this) {}

void TestSink::EndStreaming() {
  if (probe_) probeResult_ = in_.Receive(probe_);
  probe_ = nullptr;
}

TestSource::TestSource()
    : BaseFilter(kSourceClsid),
      first_(*this, L"First"),
      out_(*this),
      second_(*this, L"Second"),
      loop_(*this),
      parked_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      stopBegan_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

TestSource::~TestSource() { loop_.Stop(); }

zelvio::kit::BasePin* TestSource::PinAt(int index) {
  switch (index) {
    case 0:
      return &first_;
    case 1:
      return &out_;
    case 2:
      return &second_;
    default:
      return nullptr;
  }
}

HRESULT TestSource::OnPause(FILTER_STATE from) {
  if (from != State_Stopped) {
    loop_.Pause();
    return S_OK;
  }
  if (FAILED(pauseResult)) return pauseResult;
  ResetEvent(stopBegan_.get());
  return out_.IsConnected() ? loop_.Start() : S_OK;
}

HRESULT TestSource::OnRun(REFERENCE_TIME start) {
  loop_.Run(nullptr, start);
  return S_OK;
}

// Under the filter lock: a parked step now goes for the lock while Stop is under way.
void TestSource::OnStop() { SetEvent(stopBegan_.get()); }

void TestSource::EndStreaming() { loop_.Stop(); }

void TestSource::StreamStep(zelvio::kit::LiveLoop& loop) {
  if (InterlockedExchange(&park_, 0)) {
    SetEvent(parked_.get());
    if (WaitForSingleObject(stopBegan_.get(), 10000) != WAIT_OBJECT_0) return;
    zelvio::kit::AutoLock lock(StateLock());
    if (State() != State_Stopped) InterlockedIncrement(&lockedWhileStopping_);
    return;
  }
  zelvio::kit::ComPtr<IMediaSample> sample;
  if (SUCCEEDED(out_.GetDeliveryBuffer(sample.Put()))) {
    sample->SetActualDataLength(0);
    if (out_.Deliver(sample.Get()) == S_OK) InterlockedIncrement(&delivered_);
  }
  loop.WaitForStreamTime(loop.StreamTime() + 50000);  // 5 ms between samples
}

}  // namespace kittest
