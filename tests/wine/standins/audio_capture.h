// Audio capture device stand-in: one output pin with several PCM formats (IAMStreamConfig)
// delivering a steady 440 Hz tone in real time, with a short loud click where the machine
// clock (the performance counter, which the tests' clock picture draws too) passes a whole
// second, and input lines as input pins, with or without IAMAudioInputMixer.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "kit/base_filter.h"
#include "kit/input_pin.h"
#include "kit/live_loop.h"
#include "kit/output_pin.h"

namespace standins {

// No known mapping from stream time to the machine clock: sound without clicks.
constexpr int64_t kNoMapping = INT64_MIN;

struct PcmFormat {
  int rate;
  int channels;
  int bits;
};

class AudioOutputPin : public zelvio::kit::OutputPin, public IAMStreamConfig {
 public:
  explicit AudioOutputPin(zelvio::kit::BaseFilter& filter);

  KIT_FORWARD_UNKNOWN(zelvio::kit::OutputPin)

  STDMETHODIMP SetFormat(AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP GetFormat(AM_MEDIA_TYPE** mt) override;
  STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
  STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** mt, BYTE* caps) override;

  // The format of the connection.
  PcmFormat Format() const { return current_; }
  // Delivers the sound of sample frames [first, last), stamped by their position. A
  // preroll chunk stands for the paused state only and gets no clicks. wallMinusStream
  // maps stream time to the machine clock (100 ns units), to place the clicks; with
  // kNoMapping there are none.
  HRESULT DeliverTone(int64_t first, int64_t last, bool preroll, int64_t wallMinusStream);
  // The next chunk starts a new run: its first sample only sets the clock second.
  void RestartClicks() { lastSecond_ = -1; }

 protected:
  void* FindInterface(REFIID iid) override;
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  std::vector<zelvio::kit::MediaType> OfferedTypes() override;
  HRESULT CompleteConnect(IPin* peer) override;
  void ChooseBuffers(ALLOCATOR_PROPERTIES& props) override;

 private:
  int chosen_ = -1;  // index set by SetFormat, -1 for none
  PcmFormat current_;
  int64_t lastSecond_ = -1;  // clock second of the previous sample, -1 at a run's start
  int clickLeft_ = 0;        // samples of the current click still to come
};

class LinePin : public zelvio::kit::InputPin, public IAMAudioInputMixer {
 public:
  LinePin(zelvio::kit::BaseFilter& filter, const wchar_t* name, bool withMixer, bool enabled);

  KIT_FORWARD_UNKNOWN(zelvio::kit::InputPin)

  STDMETHODIMP put_Enable(BOOL enable) override;
  STDMETHODIMP get_Enable(BOOL* enable) override;
  STDMETHODIMP put_Mono(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_Mono(BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP put_MixLevel(double) override { return E_NOTIMPL; }
  STDMETHODIMP get_MixLevel(double*) override { return E_NOTIMPL; }
  STDMETHODIMP put_Pan(double) override { return E_NOTIMPL; }
  STDMETHODIMP get_Pan(double*) override { return E_NOTIMPL; }
  STDMETHODIMP put_Loudness(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_Loudness(BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP put_Treble(double) override { return E_NOTIMPL; }
  STDMETHODIMP get_Treble(double*) override { return E_NOTIMPL; }
  STDMETHODIMP get_TrebleRange(double*) override { return E_NOTIMPL; }
  STDMETHODIMP put_Bass(double) override { return E_NOTIMPL; }
  STDMETHODIMP get_Bass(double*) override { return E_NOTIMPL; }
  STDMETHODIMP get_BassRange(double*) override { return E_NOTIMPL; }

 protected:
  void* FindInterface(REFIID iid) override;
  // Lines stand for sound inputs of the device; nothing connects to them.
  HRESULT CheckMediaType(const AM_MEDIA_TYPE&) override { return S_FALSE; }
  HRESULT OnReceive(IMediaSample*) override { return E_UNEXPECTED; }

 private:
  bool withMixer_;
  bool enabled_;
};

class AudioCapture : public zelvio::kit::BaseFilter,
                     public IAMFilterMiscFlags,
                     private zelvio::kit::LiveLoop::Body {
 public:
  AudioCapture(const CLSID& clsid, bool withMixer);
  ~AudioCapture() override;
  static HRESULT CreateWithMixer(REFIID iid, void** out);
  static HRESULT CreateWithoutMixer(REFIID iid, void** out);

  KIT_FORWARD_UNKNOWN(zelvio::kit::BaseFilter)
  STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_SOURCE; }

  int PinCount() override;
  zelvio::kit::BasePin* PinAt(int index) override;

 protected:
  void* FindInterface(REFIID iid) override;
  HRESULT OnPause(FILTER_STATE from) override;
  HRESULT OnRun(REFERENCE_TIME start) override;
  void EndStreaming() override;
  bool IsLiveSource() const override { return true; }

 private:
  void CueStep(zelvio::kit::LiveLoop& loop) override;
  void StreamStep(zelvio::kit::LiveLoop& loop) override;
  void PauseStep(zelvio::kit::LiveLoop& loop, REFERENCE_TIME cut) override;

  AudioOutputPin output_;
  std::vector<std::unique_ptr<LinePin>> lines_;
  zelvio::kit::LiveLoop loop_;
  int64_t nextFrame_ = 0;                 // first sample frame not yet delivered
  int64_t wallMinusStream_ = kNoMapping;  // machine clock minus stream time in this run
};

}  // namespace standins
