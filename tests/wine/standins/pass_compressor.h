// Test "compressors": they pass uncompressed RGB24/RGB32 frames through unchanged, so the AVI
// holds raw video that ffprobe decodes. One answers IAMVfwCompressDialogs, one does not.
#pragma once
#include "kit/base_filter.h"
#include "kit/input_pin.h"
#include "kit/output_pin.h"

namespace standins {

class PassCompressor;

class CodecInputPin : public zelvio::kit::InputPin {
 public:
  explicit CodecInputPin(PassCompressor& codec);

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT OnReceive(IMediaSample* sample) override;
  HRESULT OnEndOfStream() override;

 private:
  PassCompressor& codec_;
};

class CodecOutputPin : public zelvio::kit::OutputPin {
 public:
  explicit CodecOutputPin(PassCompressor& codec);
  HRESULT Forward(IMediaSample* sample);

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  std::vector<zelvio::kit::MediaType> OfferedTypes() override;
  void ChooseBuffers(ALLOCATOR_PROPERTIES& props) override;
  zelvio::kit::ComPtr<IMemAllocator> AllocatorToShare() override;

 private:
  PassCompressor& codec_;
};

class PassCompressor : public zelvio::kit::BaseFilter, public IAMVfwCompressDialogs {
 public:
  PassCompressor(const CLSID& clsid, bool withDialogs);
  static HRESULT CreateWithDialog(REFIID iid, void** out);
  static HRESULT CreatePlain(REFIID iid, void** out);

  KIT_FORWARD_UNKNOWN(zelvio::kit::BaseFilter)

  STDMETHODIMP ShowDialog(int dialog, HWND parent) override;
  STDMETHODIMP GetState(LPVOID state, int* size) override;
  STDMETHODIMP SetState(LPVOID state, int size) override;
  STDMETHODIMP SendDriverMessage(int message, LONG param1, LONG param2) override;

  int PinCount() override { return 2; }
  zelvio::kit::BasePin* PinAt(int index) override;

  CodecInputPin& Input() { return input_; }
  CodecOutputPin& Output() { return output_; }

 protected:
  void* FindInterface(REFIID iid) override;

 private:
  bool withDialogs_;
  CodecInputPin input_;
  CodecOutputPin output_;
};

}  // namespace standins
