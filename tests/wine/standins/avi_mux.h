// AVI Mux stand-in: Wine's mux refuses PCM input and loses everything past 2 GB, so the
// tests register this one under the platform's class identifier. Like the platform's mux
// it grows a new input for each connected one (VIDEOINFOHEADER video, PCM audio), answers
// IConfigInterleaving, IConfigAviMux and IMediaSeeking, and writes through the IStream of
// the filter its output is connected to. Chunks go to the file as they arrive, ordered by
// time, so a process that dies while recording leaves its data on disk; the header and the
// indexes are written at Stop. A write that fails aborts the graph with EC_ERRORABORT.
#pragma once
#include <deque>
#include <memory>
#include <vector>

#include "avi_mux_file.h"
#include "kit/base_filter.h"
#include "kit/input_pin.h"
#include "kit/output_pin.h"

namespace standins {

class AviMux;

class MuxInputPin : public zelvio::kit::InputPin {
 public:
  MuxInputPin(AviMux& mux, const wchar_t* name);

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT CompleteConnect(IPin* peer) override;
  HRESULT OnReceive(IMediaSample* sample) override;
  HRESULT OnEndOfStream() override;

 private:
  AviMux& mux_;
};

class MuxOutputPin : public zelvio::kit::OutputPin {
 public:
  explicit MuxOutputPin(AviMux& mux);
  // The writer's byte stream; empty while not connected.
  zelvio::kit::ComPtr<IStream> Stream() const { return stream_; }

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  std::vector<zelvio::kit::MediaType> OfferedTypes() override;
  HRESULT CompleteConnect(IPin* peer) override;
  void BreakConnect() override;
  void ChooseBuffers(ALLOCATOR_PROPERTIES& props) override;

 private:
  zelvio::kit::ComPtr<IStream> stream_;
};

class AviMux : public zelvio::kit::BaseFilter,
               public IConfigInterleaving,
               public IConfigAviMux,
               public IMediaSeeking {
 public:
  AviMux();
  ~AviMux() override;
  static HRESULT Create(REFIID iid, void** out);

  KIT_FORWARD_UNKNOWN(zelvio::kit::BaseFilter)

  // IConfigInterleaving
  STDMETHODIMP put_Mode(InterleavingMode mode) override;
  STDMETHODIMP get_Mode(InterleavingMode* mode) override;
  STDMETHODIMP put_Interleaving(const REFERENCE_TIME* interleave, const REFERENCE_TIME* preroll) override;
  STDMETHODIMP get_Interleaving(REFERENCE_TIME* interleave, REFERENCE_TIME* preroll) override;

  // IConfigAviMux
  STDMETHODIMP SetMasterStream(LONG stream) override;
  STDMETHODIMP GetMasterStream(LONG* stream) override;
  STDMETHODIMP SetOutputCompatibilityIndex(BOOL oldIndex) override;
  STDMETHODIMP GetOutputCompatibilityIndex(BOOL* oldIndex) override;

  // IMediaSeeking: the position is how far the file has got.
  STDMETHODIMP GetCapabilities(DWORD* caps) override;
  STDMETHODIMP CheckCapabilities(DWORD* caps) override;
  STDMETHODIMP IsFormatSupported(const GUID* format) override;
  STDMETHODIMP QueryPreferredFormat(GUID* format) override;
  STDMETHODIMP GetTimeFormat(GUID* format) override;
  STDMETHODIMP IsUsingTimeFormat(const GUID* format) override;
  STDMETHODIMP SetTimeFormat(const GUID* format) override;
  STDMETHODIMP GetDuration(LONGLONG* duration) override;
  STDMETHODIMP GetStopPosition(LONGLONG* stop) override;
  STDMETHODIMP GetCurrentPosition(LONGLONG* current) override;
  STDMETHODIMP ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                 const GUID* sourceFormat) override;
  STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) override;
  STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override;
  STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
  STDMETHODIMP SetRate(double rate) override;
  STDMETHODIMP GetRate(double* rate) override;
  STDMETHODIMP GetPreroll(LONGLONG* preroll) override;

  int PinCount() override;
  zelvio::kit::BasePin* PinAt(int index) override;

  // For the pins.
  void EnsureFreeInput();
  HRESULT Receive(MuxInputPin& pin, IMediaSample* sample);
  void EndOfStream(MuxInputPin& pin);

 protected:
  void* FindInterface(REFIID iid) override;
  HRESULT OnPause(FILTER_STATE from) override;
  void OnStop() override;

 private:
  // A chunk on its way: while Receive runs it borrows the sample's buffer; one that has to
  // wait for the other streams keeps a copy, since the buffer goes back when Receive returns.
  struct Pending {
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    bool key = false;
    zelvio::kit::ComPtr<IMediaSample> borrowed;
    const BYTE* bytes = nullptr;
    size_t size = 0;
    std::vector<BYTE> kept;
    void Keep() {
      kept.assign(bytes, bytes + size);
      bytes = kept.data();
      borrowed.Reset();
    }
  };
  struct Track {
    MuxInputPin* pin = nullptr;
    AviTrackFormat format;
    std::deque<Pending> queue;
    int64_t nextFrame = 0;       // video: index the next chunk gets in the file
    REFERENCE_TIME written = 0;  // end time of what is in the file
    bool ended = false;
  };

  Track* FindTrack(MuxInputPin& pin);
  // Writes queued chunks in time order; with all set, everything left.
  void Drain(bool all);
  bool HeadIsDue(const Track& head) const;
  void WriteChunk(Track& track, const Pending& chunk);
  void Fail(HRESULT hr);

  MuxOutputPin output_;
  std::vector<std::unique_ptr<MuxInputPin>> inputs_;
  int nextInputNumber_ = 1;

  InterleavingMode mode_ = INTERLEAVE_CAPTURE;
  REFERENCE_TIME interleave_ = 10000000;
  REFERENCE_TIME preroll_ = 0;
  LONG masterStream_ = -1;
  BOOL oldIndex_ = FALSE;

  zelvio::kit::CritSec dataLock_;  // guards everything below; taken by the streaming threads
  std::vector<Track> tracks_;
  std::unique_ptr<AviMuxFile> file_;
  bool active_ = false;
  HRESULT failure_ = S_OK;
};

}  // namespace standins
