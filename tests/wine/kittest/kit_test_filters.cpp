#include "kit_test_filters.h"

#include "kit/sample_copy.h"

namespace kittest {

namespace {

// A type of our own: nothing outside this program may take part in the connection.
constexpr GUID kMajor = {0x7a3c2e10, 0x4b1d, 0x4f7e, {0x9a, 0x21, 0x5c, 0x0e, 0x6b, 0x33, 0x11, 0x01}};
constexpr GUID kSub = {0x7a3c2e10, 0x4b1d, 0x4f7e, {0x9a, 0x21, 0x5c, 0x0e, 0x6b, 0x33, 0x11, 0x02}};
constexpr GUID kFormat = {0x7a3c2e10, 0x4b1d, 0x4f7e, {0x9a, 0x21, 0x5c, 0x0e, 0x6b, 0x33, 0x11, 0x03}};
constexpr CLSID kSourceClsid = {0x7a3c2e10, 0x4b1d, 0x4f7e, {0x9a, 0x21, 0x5c, 0x0e, 0x6b, 0x33, 0x11, 0x04}};
constexpr CLSID kSinkClsid = {0x7a3c2e10, 0x4b1d, 0x4f7e, {0x9a, 0x21, 0x5c, 0x0e, 0x6b, 0x33, 0x11, 0x05}};
constexpr CLSID kQueuedClsid = {0x7a3c2e10, 0x4b1d, 0x4f7e, {0x9a, 0x21, 0x5c, 0x0e, 0x6b, 0x33, 0x11, 0x06}};
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

HRESULT SourcePin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  if (!offer_.Empty()) return zelvio::kit::SameMediaType(mt, offer_.Get()) ? S_OK : S_FALSE;
  return IsOurType(mt) ? S_OK : S_FALSE;
}

zelvio::kit::MediaType OurType() {
  AM_MEDIA_TYPE mt = {};
  mt.majortype = kMajor;
  mt.subtype = kSub;
  mt.formattype = kFormat;
  mt.bFixedSizeSamples = TRUE;
  mt.lSampleSize = kSampleBytes;
  return zelvio::kit::MediaType(mt);
}

std::vector<zelvio::kit::MediaType> SourcePin::OfferedTypes() {
  return {offer_.Empty() ? OurType() : offer_};
}

void SourcePin::ChooseBuffers(ALLOCATOR_PROPERTIES& props) {
  props.cbBuffer = offer_.Empty() ? kSampleBytes : static_cast<long>(offer_.Get().lSampleSize);
  if (props.cBuffers < 2) props.cBuffers = 2;
}

HRESULT SinkPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return acceptAny || IsOurType(mt) ? S_OK : S_FALSE;
}

SinkPin::SinkPin(zelvio::kit::BaseFilter& filter)
    : InputPin(filter, L"In"), release_(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

HRESULT SinkPin::OnReceive(IMediaSample* sample) {
  InterlockedIncrement(&arrived_);
  WaitForSingleObject(release_.get(), INFINITE);
  if (Flushing()) return S_FALSE;
  REFERENCE_TIME start = 0, stop = 0;
  sample->GetTime(&start, &stop);
  {
    zelvio::kit::AutoLock lock(logLock_);
    log_.push_back(start);
  }
  InterlockedIncrement(&received_);
  return failWith;
}

HRESULT SinkPin::OnEndOfStream() {
  zelvio::kit::AutoLock lock(logLock_);
  log_.push_back(-1);
  return S_OK;
}

HRESULT SinkPin::OnBeginFlush() {
  LetGo();
  return S_OK;
}

HRESULT SinkPin::Inactive() {
  LetGo();
  return InputPin::Inactive();
}

std::vector<REFERENCE_TIME> SinkPin::Log() {
  zelvio::kit::AutoLock lock(logLock_);
  return log_;
}

bool SinkPin::WaitForArrivals(LONG count, DWORD ms) {
  for (DWORD waited = 0; arrived_ < count; waited += 5) {
    if (waited >= ms) return false;
    Sleep(5);
  }
  return true;
}

bool SinkPin::WaitForLog(size_t count, DWORD ms) {
  for (DWORD waited = 0; Log().size() < count; waited += 5) {
    if (waited >= ms) return false;
    Sleep(5);
  }
  return true;
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

QueuedCopy::QueuedCopy() : TransformFilter(kQueuedClsid, kDepth, size_t(1) << 20) {}

HRESULT QueuedCopy::CheckInputType(const AM_MEDIA_TYPE& mt) { return IsOurType(mt) ? S_OK : S_FALSE; }

std::vector<zelvio::kit::MediaType> QueuedCopy::OutputTypes() { return {OurType()}; }

long QueuedCopy::OutputBufferSize() { return kSampleBytes; }

HRESULT QueuedCopy::Transform(IMediaSample* in, IMediaSample* out) {
  InterlockedIncrement(&transforms_);
  return zelvio::kit::CopySample(in, out);
}

}  // namespace kittest
