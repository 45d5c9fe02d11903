// The screen codec: a DirectShow video compressor that turns the screen source's RGB frames
// into the Zip Motion Blocks Video bitstream (fourcc ZMBV, 32 bits, zlib), lossless and small
// for screens, and played by every player built on libavcodec. It answers the compressor
// dialog interface so the program lists it and "Configure" opens its settings.
#pragma once
#include <strmif.h>

#include <memory>
#include <vector>

#include "kit/transform_filter.h"
#include "screencodec/core/codec_settings.h"
#include "screencodec/core/input_picture.h"
#include "screencodec/core/zmbv_encoder.h"

namespace zelvio::screencodec {

class ScreenCodecFilter : public kit::TransformFilter, public IAMVfwCompressDialogs {
 public:
  ScreenCodecFilter();
  static HRESULT Create(REFIID iid, void** out);

  KIT_FORWARD_UNKNOWN(kit::TransformFilter)

  STDMETHODIMP ShowDialog(int dialog, HWND parent) override;
  // The settings as bytes, for hosts that keep a compressor's state themselves.
  STDMETHODIMP GetState(LPVOID state, int* size) override;
  STDMETHODIMP SetState(LPVOID state, int size) override;
  STDMETHODIMP SendDriverMessage(int message, LONG param1, LONG param2) override;

 protected:
  void* FindInterface(REFIID iid) override;

  HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) override;
  std::vector<kit::MediaType> OutputTypes() override;
  long OutputBufferSize() override;
  HRESULT Transform(IMediaSample* in, IMediaSample* out) override;
  HRESULT OnStreamStart() override;
  void OnStreamEnd() override;
  void OnDeliveryFailed() override;

 private:
  // The connected input's picture; none while the input is not connected.
  std::optional<InputLayout> ConnectedInput();
  int64_t ConnectedFrameTime();
  // The settings are read and written from several threads; always through these.
  CodecSettings CurrentSettings();
  void ReplaceSettings(const CodecSettings& settings);

  static constexpr int kMaxStateBytes = 64 * 1024;

  // Read when the filter is made and on each new stream; the dialog writes it.
  kit::CritSec settingsLock_;
  CodecSettings settings_;

  // Streaming state, under the kit's streaming lock; made when a stream starts, gone when
  // it ends. The runner's threads outlive the encoder that uses them.
  std::unique_ptr<TaskRunner> runner_;
  std::unique_ptr<ZmbvEncoder> encoder_;
  InputLayout layout_;
  std::vector<uint8_t> scratch_;
  std::vector<uint8_t> packet_;
};

}  // namespace zelvio::screencodec
