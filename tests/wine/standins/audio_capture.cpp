#include "audio_capture.h"

#include <mmreg.h>
#include <uuids.h>

#include <algorithm>
#include <cmath>

#include "standin_ids.h"

namespace standins {

namespace {

const PcmFormat kFormats[] = {
    {44100, 2, 16}, {22050, 1, 16}, {48000, 2, 16}, {44100, 1, 16}, {11025, 1, 16},
};
constexpr int kFormatCount = static_cast<int>(sizeof(kFormats) / sizeof(kFormats[0]));
constexpr int kChunksPerSecond = 20;
constexpr double kToneHz = 440.0;
constexpr int kClickMs = 4;
constexpr short kClickLevel = 30000;  // far above the tone, so a click's first sample stands out

int BlockAlign(const PcmFormat& f) { return f.channels * f.bits / 8; }

zelvio::kit::MediaType BuildPcmType(const PcmFormat& f) {
  zelvio::kit::MediaType result;
  AM_MEDIA_TYPE& mt = result.Get();
  mt.majortype = MEDIATYPE_Audio;
  mt.subtype = MEDIASUBTYPE_PCM;
  mt.formattype = FORMAT_WaveFormatEx;
  mt.bFixedSizeSamples = TRUE;
  mt.lSampleSize = static_cast<ULONG>(BlockAlign(f));
  auto* wfx = reinterpret_cast<WAVEFORMATEX*>(result.AllocFormat(sizeof(WAVEFORMATEX)));
  if (!wfx) return zelvio::kit::MediaType();
  wfx->wFormatTag = WAVE_FORMAT_PCM;
  wfx->nChannels = static_cast<WORD>(f.channels);
  wfx->nSamplesPerSec = static_cast<DWORD>(f.rate);
  wfx->wBitsPerSample = static_cast<WORD>(f.bits);
  wfx->nBlockAlign = static_cast<WORD>(BlockAlign(f));
  wfx->nAvgBytesPerSec = static_cast<DWORD>(f.rate * BlockAlign(f));
  return result;
}

int FindFormat(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype != MEDIATYPE_Audio || mt.formattype != FORMAT_WaveFormatEx) return -1;
  if (mt.cbFormat < sizeof(WAVEFORMATEX) - sizeof(WORD) || !mt.pbFormat) return -1;
  const auto* wfx = reinterpret_cast<const WAVEFORMATEX*>(mt.pbFormat);
  if (wfx->wFormatTag != WAVE_FORMAT_PCM) return -1;
  for (int i = 0; i < kFormatCount; ++i) {
    const PcmFormat& f = kFormats[i];
    if (static_cast<int>(wfx->nSamplesPerSec) == f.rate && wfx->nChannels == f.channels &&
        wfx->wBitsPerSample == f.bits) {
      return i;
    }
  }
  return -1;
}

int64_t ChunkFrames(int rate) { return rate / kChunksPerSecond; }

REFERENCE_TIME TimeOfFrame(int64_t frame, int rate) { return frame * 10000000 / rate; }

// The sample frame being recorded at stream time t.
int64_t FrameAt(REFERENCE_TIME t, int rate) { return t <= 0 ? 0 : t * rate / 10000000; }

// The machine clock in 100 ns units: the performance counter, shared by every process.
int64_t MachineClock() {
  LARGE_INTEGER now;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  int64_t whole = now.QuadPart / frequency.QuadPart;
  int64_t part = now.QuadPart % frequency.QuadPart;
  return whole * 10000000 + part * 10000000 / frequency.QuadPart;
}

}  // namespace

AudioOutputPin::AudioOutputPin(zelvio::kit::BaseFilter& filter)
    : OutputPin(filter, L"Capture"), current_(kFormats[0]) {}

void* AudioOutputPin::FindInterface(REFIID iid) {
  if (iid == IID_IAMStreamConfig) return static_cast<IAMStreamConfig*>(this);
  return nullptr;
}

std::vector<zelvio::kit::MediaType> AudioOutputPin::OfferedTypes() {
  std::vector<zelvio::kit::MediaType> types;
  if (chosen_ >= 0) {
    types.push_back(BuildPcmType(kFormats[chosen_]));
    return types;
  }
  for (const PcmFormat& f : kFormats) types.push_back(BuildPcmType(f));
  return types;
}

HRESULT AudioOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  int index = FindFormat(mt);
  if (index < 0) return S_FALSE;
  if (chosen_ >= 0 && index != chosen_) return S_FALSE;
  return S_OK;
}

HRESULT AudioOutputPin::CompleteConnect(IPin*) {
  int index = FindFormat(ConnectedType().Get());
  if (index < 0) return VFW_E_TYPE_NOT_ACCEPTED;
  current_ = kFormats[index];
  return S_OK;
}

// Runs while the connection is being agreed, before CompleteConnect: size from the type.
void AudioOutputPin::ChooseBuffers(ALLOCATOR_PROPERTIES& props) {
  int index = FindFormat(ConnectedType().Get());
  const PcmFormat& f = kFormats[index < 0 ? 0 : index];
  props.cbBuffer = static_cast<long>((f.rate / kChunksPerSecond + 1) * BlockAlign(f));
  props.cBuffers = std::max(props.cBuffers, 8L);
}

STDMETHODIMP AudioOutputPin::SetFormat(AM_MEDIA_TYPE* mt) {
  zelvio::kit::AutoLock lock(filter_.StateLock());
  if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (!mt) {
    chosen_ = -1;
    return S_OK;
  }
  int index = FindFormat(*mt);
  if (index < 0) return VFW_E_INVALIDMEDIATYPE;
  if (IsConnected() && index != FindFormat(ConnectedType().Get())) return VFW_E_ALREADY_CONNECTED;
  chosen_ = index;
  current_ = kFormats[index];
  return S_OK;
}

STDMETHODIMP AudioOutputPin::GetFormat(AM_MEDIA_TYPE** mt) {
  if (!mt) return E_POINTER;
  zelvio::kit::AutoLock lock(filter_.StateLock());
  *mt = zelvio::kit::CreateMediaTypeCopy(BuildPcmType(current_).Get());
  return *mt ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP AudioOutputPin::GetNumberOfCapabilities(int* count, int* size) {
  if (!count || !size) return E_POINTER;
  *count = kFormatCount;
  *size = sizeof(AUDIO_STREAM_CONFIG_CAPS);
  return S_OK;
}

STDMETHODIMP AudioOutputPin::GetStreamCaps(int index, AM_MEDIA_TYPE** mt, BYTE* caps) {
  if (!mt || !caps) return E_POINTER;
  if (index < 0 || index >= kFormatCount) return S_FALSE;
  const PcmFormat& f = kFormats[index];
  *mt = zelvio::kit::CreateMediaTypeCopy(BuildPcmType(f).Get());
  if (!*mt) return E_OUTOFMEMORY;
  auto* c = reinterpret_cast<AUDIO_STREAM_CONFIG_CAPS*>(caps);
  *c = AUDIO_STREAM_CONFIG_CAPS{};
  c->guid = MEDIATYPE_Audio;
  c->MinimumChannels = c->MaximumChannels = static_cast<ULONG>(f.channels);
  c->ChannelsGranularity = 1;
  c->MinimumBitsPerSample = c->MaximumBitsPerSample = static_cast<ULONG>(f.bits);
  c->BitsPerSampleGranularity = 1;
  c->MinimumSampleFrequency = c->MaximumSampleFrequency = static_cast<ULONG>(f.rate);
  c->SampleFrequencyGranularity = 1;
  return S_OK;
}

HRESULT AudioOutputPin::DeliverTone(int64_t first, int64_t last, bool preroll, int64_t wallMinusStream) {
  zelvio::kit::ComPtr<IMediaSample> sample;
  HRESULT hr = GetDeliveryBuffer(sample.Put());
  if (FAILED(hr)) return hr;
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data))) return E_POINTER;
  int64_t frames = std::min<int64_t>(last - first, sample->GetSize() / BlockAlign(current_));
  auto* out = reinterpret_cast<short*>(data);
  const int clickFrames = current_.rate * kClickMs / 1000;
  for (int64_t i = 0; i < frames; ++i) {
    double t = static_cast<double>(first + i) / current_.rate;
    auto value = static_cast<short>(8000.0 * std::sin(2.0 * 3.14159265358979 * kToneHz * t));
    if (!preroll && wallMinusStream != kNoMapping) {
      int64_t second = (wallMinusStream + TimeOfFrame(first + i, current_.rate)) / 10000000;
      if (lastSecond_ >= 0 && second != lastSecond_) clickLeft_ = clickFrames;
      lastSecond_ = second;
    }
    if (clickLeft_ > 0) {
      value = (clickFrames - clickLeft_) % 2 == 0 ? kClickLevel : static_cast<short>(-kClickLevel);
      --clickLeft_;
    }
    for (int ch = 0; ch < current_.channels; ++ch) *out++ = value;
  }
  sample->SetActualDataLength(static_cast<long>(frames * BlockAlign(current_)));
  REFERENCE_TIME start = TimeOfFrame(first, current_.rate);
  REFERENCE_TIME stop = TimeOfFrame(first + frames, current_.rate);
  sample->SetTime(&start, &stop);
  sample->SetSyncPoint(TRUE);
  sample->SetPreroll(preroll ? TRUE : FALSE);
  return Deliver(sample.Get());
}

LinePin::LinePin(zelvio::kit::BaseFilter& filter, const wchar_t* name, bool withMixer, bool enabled)
    : InputPin(filter, name), withMixer_(withMixer), enabled_(enabled) {}

void* LinePin::FindInterface(REFIID iid) {
  if (withMixer_ && iid == IID_IAMAudioInputMixer) return static_cast<IAMAudioInputMixer*>(this);
  return InputPin::FindInterface(iid);
}

STDMETHODIMP LinePin::put_Enable(BOOL enable) {
  enabled_ = enable != FALSE;
  return S_OK;
}

STDMETHODIMP LinePin::get_Enable(BOOL* enable) {
  if (!enable) return E_POINTER;
  *enable = enabled_ ? TRUE : FALSE;
  return S_OK;
}

AudioCapture::AudioCapture(const CLSID& clsid, bool withMixer)
    : BaseFilter(clsid), output_(*this), loop_(*this) {
  lines_.push_back(std::make_unique<LinePin>(*this, L"Line In", withMixer, true));
  lines_.push_back(std::make_unique<LinePin>(*this, L"Microphone", withMixer, false));
}

AudioCapture::~AudioCapture() {
  output_.Inactive();
  loop_.Stop();
}

HRESULT AudioCapture::CreateWithMixer(REFIID iid, void** out) {
  return zelvio::kit::CreateAndQuery<AudioCapture>(iid, out, CLSID_TestAudio, true);
}

HRESULT AudioCapture::CreateWithoutMixer(REFIID iid, void** out) {
  return zelvio::kit::CreateAndQuery<AudioCapture>(iid, out, CLSID_TestAudioNoMixer, false);
}

void* AudioCapture::FindInterface(REFIID iid) {
  if (iid == IID_IAMFilterMiscFlags) return static_cast<IAMFilterMiscFlags*>(this);
  return nullptr;
}

int AudioCapture::PinCount() { return 1 + static_cast<int>(lines_.size()); }

zelvio::kit::BasePin* AudioCapture::PinAt(int index) {
  if (index == 0) return &output_;
  if (index < 1 || index > static_cast<int>(lines_.size())) return nullptr;
  return lines_[static_cast<size_t>(index - 1)].get();
}

HRESULT AudioCapture::OnPause(FILTER_STATE from) {
  if (from != State_Stopped) {
    loop_.Pause();
    return S_OK;
  }
  if (!output_.IsConnected()) return S_OK;
  nextFrame_ = 0;
  return loop_.Start();
}

HRESULT AudioCapture::OnRun(REFERENCE_TIME start) {
  if (output_.IsConnected()) loop_.Run(Clock().Get(), start);
  return S_OK;
}

// The kit has decommitted the output's allocator by now, so a thread waiting for a buffer
// is free to end.
void AudioCapture::EndStreaming() { loop_.Stop(); }

// A chunk goes out at once, so the renderers can finish pausing. It is marked preroll: it
// was not recorded while running, and the first recorded chunk takes its place at time 0.
void AudioCapture::CueStep(zelvio::kit::LiveLoop&) {
  const int rate = output_.Format().rate;
  output_.DeliverTone(0, ChunkFrames(rate), true, 0);
  output_.RestartClicks();
  wallMinusStream_ = kNoMapping;
}

namespace {

// The machine clock minus stream time, read between two stream-time reads that agree: a
// thread preempted between the two clocks (a busy machine) would otherwise place the
// clicks of a whole chunk late.
int64_t WallMinusStream(zelvio::kit::LiveLoop& loop) {
  int64_t best = kNoMapping;
  REFERENCE_TIME bestSpread = INT64_MAX;
  for (int i = 0; i < 8; ++i) {
    REFERENCE_TIME before = loop.StreamTime();
    int64_t wall = MachineClock();
    REFERENCE_TIME after = loop.StreamTime();
    if (after - before < bestSpread) {
      bestSpread = after - before;
      best = wall - (before + after) / 2;
    }
    if (bestSpread <= 10000) break;
  }
  return best;
}

}  // namespace

// A chunk of sound is there once its last sample has been "recorded": deliver at its end,
// unless a pause cut the run before it (the pause step then hands over the part before
// the cut).
void AudioCapture::StreamStep(zelvio::kit::LiveLoop& loop) {
  const int rate = output_.Format().rate;
  int64_t last = nextFrame_ + ChunkFrames(rate);
  if (!loop.WaitForStreamTime(TimeOfFrame(last, rate))) return;
  if (!loop.Claim(TimeOfFrame(last - 1, rate))) return;
  wallMinusStream_ = WallMinusStream(loop);
  output_.DeliverTone(nextFrame_, last, false, wallMinusStream_);
  nextFrame_ = last;
}

// Pausing hands over the part of a chunk recorded before the cut, as a capture device
// returns its partly filled buffer, so the sound ends where the pause began; what the
// buffer holds after the cut is dropped. Stream time no longer runs here, so the clicks
// are placed with the mapping of the run that ended.
//
// A thread that fell behind (a busy machine) may owe more than one chunk here: it goes out
// in chunks, since a buffer holds one.
void AudioCapture::PauseStep(zelvio::kit::LiveLoop&, REFERENCE_TIME cut) {
  const int rate = output_.Format().rate;
  const int64_t last = FrameAt(cut, rate);
  while (nextFrame_ < last) {
    int64_t end = std::min(last, nextFrame_ + ChunkFrames(rate));
    output_.DeliverTone(nextFrame_, end, false, wallMinusStream_);
    nextFrame_ = end;
  }
  output_.RestartClicks();
  wallMinusStream_ = kNoMapping;
}

}  // namespace standins
