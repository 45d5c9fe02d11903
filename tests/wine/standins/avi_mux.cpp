#include "avi_mux.h"

#include <amvideo.h>
#include <evcode.h>
#include <mmreg.h>
#include <uuids.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "standin_ids.h"

namespace standins {

namespace {

bool IsVideoType(const AM_MEDIA_TYPE& mt) {
  return mt.majortype == MEDIATYPE_Video && mt.formattype == FORMAT_VideoInfo && mt.pbFormat &&
         mt.cbFormat >= sizeof(VIDEOINFOHEADER);
}

bool IsPcmType(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype != MEDIATYPE_Audio || mt.formattype != FORMAT_WaveFormatEx || !mt.pbFormat) return false;
  if (mt.cbFormat < sizeof(PCMWAVEFORMAT)) return false;
  const auto* wfx = reinterpret_cast<const WAVEFORMATEX*>(mt.pbFormat);
  return wfx->wFormatTag == WAVE_FORMAT_PCM && wfx->nBlockAlign > 0 && wfx->nAvgBytesPerSec > 0;
}

AviTrackFormat DescribeTrack(const AM_MEDIA_TYPE& mt) {
  AviTrackFormat track;
  if (IsVideoType(mt)) {
    const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
    track.video = true;
    track.frameTime = vih->AvgTimePerFrame > 0 ? vih->AvgTimePerFrame : 400000;
    const BYTE* header = reinterpret_cast<const BYTE*>(&vih->bmiHeader);
    size_t size = mt.cbFormat - offsetof(VIDEOINFOHEADER, bmiHeader);
    track.format.assign(header, header + size);
    return track;
  }
  WAVEFORMATEX wfx = {};
  std::memcpy(&wfx, mt.pbFormat, std::min<size_t>(mt.cbFormat, sizeof(wfx)));
  wfx.cbSize = 0;  // PCM carries no extra bytes
  const BYTE* bytes = reinterpret_cast<const BYTE*>(&wfx);
  track.format.assign(bytes, bytes + sizeof(wfx));
  return track;
}

}  // namespace

MuxInputPin::MuxInputPin(AviMux& mux, const wchar_t* name) : InputPin(mux, name), mux_(mux) {}

HRESULT MuxInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return IsVideoType(mt) || IsPcmType(mt) ? S_OK : S_FALSE;
}

HRESULT MuxInputPin::CompleteConnect(IPin*) {
  mux_.EnsureFreeInput();
  return S_OK;
}

HRESULT MuxInputPin::OnReceive(IMediaSample* sample) { return mux_.Receive(*this, sample); }

HRESULT MuxInputPin::OnEndOfStream() {
  mux_.EndOfStream(*this);
  return S_OK;
}

MuxOutputPin::MuxOutputPin(AviMux& mux) : OutputPin(mux, L"AVI Out") {}

HRESULT MuxOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return mt.majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
}

std::vector<zelvio::kit::MediaType> MuxOutputPin::OfferedTypes() {
  zelvio::kit::MediaType type;
  AM_MEDIA_TYPE& mt = type.Get();
  mt.majortype = MEDIATYPE_Stream;
  mt.subtype = MEDIASUBTYPE_Avi;
  mt.formattype = GUID_NULL;
  mt.bFixedSizeSamples = FALSE;
  mt.lSampleSize = 1;
  return {type};
}

// Everything goes through the writer's byte stream; a sink without one cannot take a file.
HRESULT MuxOutputPin::CompleteConnect(IPin* peer) {
  HRESULT hr = peer->QueryInterface(IID_IStream, stream_.PutVoid());
  return FAILED(hr) ? VFW_E_NO_TRANSPORT : S_OK;
}

void MuxOutputPin::BreakConnect() {
  stream_.Reset();
  OutputPin::BreakConnect();
}

void MuxOutputPin::ChooseBuffers(ALLOCATOR_PROPERTIES& props) {
  props.cbBuffer = std::max(props.cbBuffer, 4096L);
  props.cBuffers = std::max(props.cBuffers, 1L);
}

AviMux::AviMux() : BaseFilter(CLSID_AviDest), output_(*this) { EnsureFreeInput(); }

AviMux::~AviMux() = default;

HRESULT AviMux::Create(REFIID iid, void** out) { return zelvio::kit::CreateAndQuery<AviMux>(iid, out); }

void* AviMux::FindInterface(REFIID iid) {
  if (iid == IID_IConfigInterleaving) return static_cast<IConfigInterleaving*>(this);
  if (iid == IID_IConfigAviMux) return static_cast<IConfigAviMux*>(this);
  if (iid == IID_IMediaSeeking) return static_cast<IMediaSeeking*>(this);
  return nullptr;
}

// The output comes first, then the inputs in the order they were made; the free input is
// always the last one.
int AviMux::PinCount() { return 1 + static_cast<int>(inputs_.size()); }

zelvio::kit::BasePin* AviMux::PinAt(int index) {
  if (index == 0) return &output_;
  if (index < 1 || index > static_cast<int>(inputs_.size())) return nullptr;
  return inputs_[static_cast<size_t>(index - 1)].get();
}

void AviMux::EnsureFreeInput() {
  for (auto& in : inputs_) {
    if (!in->IsConnected()) return;
  }
  wchar_t name[16];
  swprintf(name, 16, L"Input %02d", nextInputNumber_++);
  inputs_.push_back(std::make_unique<MuxInputPin>(*this, name));
}

STDMETHODIMP AviMux::put_Mode(InterleavingMode mode) {
  if (mode < INTERLEAVE_NONE || mode > INTERLEAVE_NONE_BUFFERED) return E_INVALIDARG;
  zelvio::kit::AutoLock lock(StateLock());
  if (State() != State_Stopped) return VFW_E_NOT_STOPPED;
  mode_ = mode;
  return S_OK;
}

STDMETHODIMP AviMux::get_Mode(InterleavingMode* mode) {
  if (!mode) return E_POINTER;
  *mode = mode_;
  return S_OK;
}

STDMETHODIMP AviMux::put_Interleaving(const REFERENCE_TIME* interleave, const REFERENCE_TIME* preroll) {
  zelvio::kit::AutoLock lock(StateLock());
  if (State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (interleave) {
    if (*interleave <= 0) return E_INVALIDARG;
    interleave_ = *interleave;
  }
  if (preroll) {
    if (*preroll < 0) return E_INVALIDARG;
    preroll_ = *preroll;
  }
  return S_OK;
}

STDMETHODIMP AviMux::get_Interleaving(REFERENCE_TIME* interleave, REFERENCE_TIME* preroll) {
  if (!interleave || !preroll) return E_POINTER;
  *interleave = interleave_;
  *preroll = preroll_;
  return S_OK;
}

STDMETHODIMP AviMux::SetMasterStream(LONG stream) {
  if (stream < -1) return E_INVALIDARG;
  masterStream_ = stream;
  return S_OK;
}

STDMETHODIMP AviMux::GetMasterStream(LONG* stream) {
  if (!stream) return E_POINTER;
  *stream = masterStream_;
  return S_OK;
}

STDMETHODIMP AviMux::SetOutputCompatibilityIndex(BOOL oldIndex) {
  oldIndex_ = oldIndex;
  return S_OK;
}

STDMETHODIMP AviMux::GetOutputCompatibilityIndex(BOOL* oldIndex) {
  if (!oldIndex) return E_POINTER;
  *oldIndex = oldIndex_;
  return S_OK;
}

STDMETHODIMP AviMux::GetCapabilities(DWORD* caps) {
  if (!caps) return E_POINTER;
  *caps = AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetDuration;
  return S_OK;
}

STDMETHODIMP AviMux::CheckCapabilities(DWORD* caps) {
  if (!caps) return E_POINTER;
  DWORD ours = AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetDuration;
  DWORD asked = *caps;
  *caps &= ours;
  if (*caps == asked) return S_OK;
  return *caps ? S_FALSE : E_FAIL;
}

STDMETHODIMP AviMux::IsFormatSupported(const GUID* format) {
  if (!format) return E_POINTER;
  return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
}

STDMETHODIMP AviMux::QueryPreferredFormat(GUID* format) {
  if (!format) return E_POINTER;
  *format = TIME_FORMAT_MEDIA_TIME;
  return S_OK;
}

STDMETHODIMP AviMux::GetTimeFormat(GUID* format) { return QueryPreferredFormat(format); }

STDMETHODIMP AviMux::IsUsingTimeFormat(const GUID* format) { return IsFormatSupported(format); }

STDMETHODIMP AviMux::SetTimeFormat(const GUID* format) {
  if (!format) return E_POINTER;
  return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : E_INVALIDARG;
}

STDMETHODIMP AviMux::GetDuration(LONGLONG* duration) { return GetCurrentPosition(duration); }

STDMETHODIMP AviMux::GetStopPosition(LONGLONG* stop) { return GetCurrentPosition(stop); }

STDMETHODIMP AviMux::GetCurrentPosition(LONGLONG* current) {
  if (!current) return E_POINTER;
  zelvio::kit::AutoLock lock(dataLock_);
  REFERENCE_TIME latest = 0;
  for (const Track& t : tracks_) latest = std::max(latest, t.written);
  *current = latest;
  return S_OK;
}

STDMETHODIMP AviMux::ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                       const GUID* sourceFormat) {
  if (!target) return E_POINTER;
  bool targetOk = !targetFormat || *targetFormat == TIME_FORMAT_MEDIA_TIME;
  bool sourceOk = !sourceFormat || *sourceFormat == TIME_FORMAT_MEDIA_TIME;
  if (!targetOk || !sourceOk) return E_INVALIDARG;
  *target = source;
  return S_OK;
}

STDMETHODIMP AviMux::SetPositions(LONGLONG*, DWORD, LONGLONG*, DWORD) { return E_NOTIMPL; }

STDMETHODIMP AviMux::GetPositions(LONGLONG* current, LONGLONG* stop) {
  if (current) GetCurrentPosition(current);
  if (stop) GetCurrentPosition(stop);
  return S_OK;
}

STDMETHODIMP AviMux::GetAvailable(LONGLONG* earliest, LONGLONG* latest) {
  if (earliest) *earliest = 0;
  if (latest) GetCurrentPosition(latest);
  return S_OK;
}

STDMETHODIMP AviMux::SetRate(double rate) { return rate == 1.0 ? S_OK : E_NOTIMPL; }

STDMETHODIMP AviMux::GetRate(double* rate) {
  if (!rate) return E_POINTER;
  *rate = 1.0;
  return S_OK;
}

STDMETHODIMP AviMux::GetPreroll(LONGLONG* preroll) {
  if (!preroll) return E_POINTER;
  *preroll = 0;
  return S_OK;
}

// Stopped -> paused: the streams are fixed now, in input order, and the file begins. The
// writer downstream paused before us, so its file is open.
HRESULT AviMux::OnPause(FILTER_STATE from) {
  if (from != State_Stopped) return S_OK;
  zelvio::kit::AutoLock lock(dataLock_);
  tracks_.clear();
  file_.reset();
  failure_ = S_OK;
  active_ = false;
  std::vector<AviTrackFormat> formats;
  for (auto& in : inputs_) {
    if (!in->IsConnected()) continue;
    Track track;
    track.pin = in.get();
    track.format = DescribeTrack(in->ConnectedType().Get());
    formats.push_back(track.format);
    tracks_.push_back(std::move(track));
  }
  zelvio::kit::ComPtr<IStream> stream = output_.Stream();
  if (tracks_.empty() || !stream) return S_OK;
  file_ = std::make_unique<AviMuxFile>(stream.Get(), std::move(formats));
  active_ = true;
  HRESULT hr = file_->Begin();
  if (FAILED(hr)) Fail(hr);
  return S_OK;
}

// Whatever is still queued goes out, then the indexes and the header.
void AviMux::OnStop() {
  zelvio::kit::AutoLock lock(dataLock_);
  if (!active_) return;
  Drain(true);
  if (active_) {
    HRESULT hr = file_->Finish();
    if (FAILED(hr)) Fail(hr);
  }
  active_ = false;
  file_.reset();
}

AviMux::Track* AviMux::FindTrack(MuxInputPin& pin) {
  for (Track& t : tracks_) {
    if (t.pin == &pin) return &t;
  }
  return nullptr;
}

HRESULT AviMux::Receive(MuxInputPin& pin, IMediaSample* sample) {
  // A sample delivered while the graph pauses from stopped stands for the paused picture,
  // not for the recording; the first real one comes when the graph runs.
  if (sample->IsPreroll() == S_OK) return S_OK;
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data))) return E_POINTER;
  long length = sample->GetActualDataLength();
  zelvio::kit::AutoLock lock(dataLock_);
  if (FAILED(failure_)) return failure_;
  if (!active_) return VFW_E_WRONG_STATE;
  Track* track = FindTrack(pin);
  if (!track) return VFW_E_NOT_CONNECTED;
  Pending chunk;
  if (FAILED(sample->GetTime(&chunk.start, &chunk.stop))) {
    chunk.start = track->queue.empty() ? track->written : track->queue.back().stop;
    chunk.stop = chunk.start;
  }
  chunk.key = sample->IsSyncPoint() == S_OK;
  chunk.borrowed = zelvio::kit::ComPtr<IMediaSample>::Share(sample);
  chunk.bytes = data;
  chunk.size = static_cast<size_t>(std::max(length, 0L));
  track->queue.push_back(std::move(chunk));
  Drain(false);
  // Still queued, so it was not written: the only chunk that can still borrow is this one.
  if (!track->queue.empty() && track->queue.back().borrowed) track->queue.back().Keep();
  return failure_;
}

void AviMux::EndOfStream(MuxInputPin& pin) {
  zelvio::kit::AutoLock lock(dataLock_);
  Track* track = FindTrack(pin);
  if (!track) return;
  track->ended = true;
  if (active_) Drain(false);
}

// A head may go out when no other stream can still bring something earlier: every stream
// that has not ended has something queued. A stream that falls silent for longer than the
// interleaving period no longer holds the others back.
bool AviMux::HeadIsDue(const Track& head) const {
  if (mode_ == INTERLEAVE_NONE) return true;
  REFERENCE_TIME newest = head.queue.back().stop;
  for (const Track& t : tracks_) {
    if (!t.queue.empty()) newest = std::max(newest, t.queue.back().stop);
  }
  if (newest - head.queue.front().start > interleave_) return true;
  for (const Track& t : tracks_) {
    if (t.queue.empty() && !t.ended) return false;
  }
  return true;
}

void AviMux::Drain(bool all) {
  while (active_) {
    Track* head = nullptr;
    for (Track& t : tracks_) {
      if (t.queue.empty()) continue;
      if (!head || t.queue.front().start < head->queue.front().start) head = &t;
    }
    if (!head) return;
    if (!all && !HeadIsDue(*head)) return;
    Pending chunk = std::move(head->queue.front());
    head->queue.pop_front();
    WriteChunk(*head, chunk);
  }
}

// Video chunks sit at the frame their time stamp names: a gap becomes empty frames, as the
// platform's mux writes them, so the frames after it keep their times.
void AviMux::WriteChunk(Track& track, const Pending& chunk) {
  size_t index = static_cast<size_t>(&track - tracks_.data());
  HRESULT hr = S_OK;
  if (track.format.video) {
    int64_t frame = (chunk.start + track.format.frameTime / 2) / track.format.frameTime;
    while (SUCCEEDED(hr) && track.nextFrame < frame) {
      hr = file_->WriteChunk(index, nullptr, 0, false);
      ++track.nextFrame;
    }
    if (SUCCEEDED(hr))
      hr = file_->WriteChunk(index, chunk.bytes, static_cast<uint32_t>(chunk.size), chunk.key);
    ++track.nextFrame;
    track.written = track.nextFrame * track.format.frameTime;
  } else {
    hr = file_->WriteChunk(index, chunk.bytes, static_cast<uint32_t>(chunk.size), true);
    track.written = std::max(track.written, chunk.stop);
  }
  if (FAILED(hr)) Fail(hr);
}

// The platform's mux stops writing and tells the graph, which aborts the recording; the
// application learns the code from the event.
void AviMux::Fail(HRESULT hr) {
  if (FAILED(failure_)) return;
  failure_ = hr;
  active_ = false;
  for (Track& t : tracks_) t.queue.clear();
  zelvio::kit::ComPtr<IMediaEventSink> sink;
  if (Graph() && SUCCEEDED(Graph()->QueryInterface(IID_IMediaEventSink, sink.PutVoid()))) {
    sink->Notify(EC_ERRORABORT, static_cast<LONG_PTR>(hr), 0);
  }
}

}  // namespace standins
