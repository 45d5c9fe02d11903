// Test "compressors": they pass uncompressed RGB24/RGB32 frames through unchanged, so the AVI
// holds raw video that ffprobe decodes. One answers IAMVfwCompressDialogs, one does not.
#pragma once
#include "kit/transform_filter.h"

namespace standins {

class PassCompressor : public zelvio::kit::TransformFilter, public IAMVfwCompressDialogs {
 public:
  PassCompressor(const CLSID& clsid, bool withDialogs);
  static HRESULT CreateWithDialog(REFIID iid, void** out);
  static HRESULT CreatePlain(REFIID iid, void** out);

  KIT_FORWARD_UNKNOWN(zelvio::kit::TransformFilter)

  STDMETHODIMP ShowDialog(int dialog, HWND parent) override;
  STDMETHODIMP GetState(LPVOID state, int* size) override;
  STDMETHODIMP SetState(LPVOID state, int size) override;
  STDMETHODIMP SendDriverMessage(int message, LONG param1, LONG param2) override;

 protected:
  void* FindInterface(REFIID iid) override;

  HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) override;
  std::vector<zelvio::kit::MediaType> OutputTypes() override;
  long OutputBufferSize() override;
  HRESULT Transform(IMediaSample* in, IMediaSample* out) override;
  zelvio::kit::ComPtr<IMemAllocator> OutputAllocatorToShare() override;
  HRESULT PassThrough(IMediaSample* sample) override;

 private:
  bool withDialogs_;
};

}  // namespace standins
