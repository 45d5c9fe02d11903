#include "screen_codec_filter.h"

#include <amvideo.h>
#include <uuids.h>

#include <cstring>

#include "codec_settings_dialog_win32.h"
#include "kit/sample_copy.h"
#include "codec_settings_file_win32.h"
#include "screen_codec_ids.h"

namespace zelvio::screencodec {

namespace {

const BITMAPINFOHEADER* VideoHeader(const AM_MEDIA_TYPE& mt) {
  if (mt.formattype == FORMAT_VideoInfo && mt.cbFormat >= sizeof(VIDEOINFOHEADER) && mt.pbFormat)
    return &reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat)->bmiHeader;
  return nullptr;
}

bool SubtypeMatches(const GUID& subtype, int bitCount) {
  switch (bitCount) {
    case 32: return subtype == MEDIASUBTYPE_RGB32;
    case 24: return subtype == MEDIASUBTYPE_RGB24;
    case 16: return subtype == MEDIASUBTYPE_RGB555;
    default: return false;
  }
}

std::optional<InputLayout> LayoutOf(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype != MEDIATYPE_Video) return std::nullopt;
  const BITMAPINFOHEADER* header = VideoHeader(mt);
  if (!header || !SubtypeMatches(mt.subtype, header->biBitCount)) return std::nullopt;
  return DescribeInput(header->biCompression, header->biBitCount, header->biWidth, header->biHeight);
}

int64_t FrameTimeOf(const AM_MEDIA_TYPE& mt) {
  if (mt.formattype == FORMAT_VideoInfo && mt.cbFormat >= sizeof(VIDEOINFOHEADER) && mt.pbFormat)
    return reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat)->AvgTimePerFrame;
  return 0;
}

}  // namespace

ScreenCodecFilter::ScreenCodecFilter() : TransformFilter(CLSID_ZelvioScreenCodec), settings_(LoadCodecSettings()) {}

HRESULT ScreenCodecFilter::Create(REFIID iid, void** out) { return kit::CreateAndQuery<ScreenCodecFilter>(iid, out); }

void* ScreenCodecFilter::FindInterface(REFIID iid) {
  if (iid == IID_IAMVfwCompressDialogs) return static_cast<IAMVfwCompressDialogs*>(this);
  return nullptr;
}

std::optional<InputLayout> ScreenCodecFilter::ConnectedInput() {
  if (!Input().IsConnected()) return std::nullopt;
  return LayoutOf(Input().ConnectedType().Get());
}

int64_t ScreenCodecFilter::ConnectedFrameTime() { return FrameTimeOf(Input().ConnectedType().Get()); }

HRESULT ScreenCodecFilter::CheckInputType(const AM_MEDIA_TYPE& mt) { return LayoutOf(mt) ? S_OK : S_FALSE; }

std::vector<kit::MediaType> ScreenCodecFilter::OutputTypes() {
  std::optional<InputLayout> in = ConnectedInput();
  if (!in) return {};
  kit::MediaType type;
  AM_MEDIA_TYPE& mt = type.Get();
  mt.majortype = MEDIATYPE_Video;
  mt.subtype = MEDIASUBTYPE_ZMBV;
  mt.formattype = FORMAT_VideoInfo;
  // Each frame after a key frame only says what changed: a player must start at a key frame.
  mt.bTemporalCompression = TRUE;
  mt.bFixedSizeSamples = FALSE;
  mt.lSampleSize = 0;
  auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormat(sizeof(VIDEOINFOHEADER)));
  vih->AvgTimePerFrame = ConnectedFrameTime();
  BITMAPINFOHEADER& bih = vih->bmiHeader;
  bih.biSize = sizeof(BITMAPINFOHEADER);
  bih.biWidth = in->width;
  // Rows are stored top-down in the bitstream whatever this says; a compressed bitmap's
  // height is positive.
  bih.biHeight = in->height;
  bih.biPlanes = 1;
  bih.biBitCount = 32;
  bih.biCompression = kZmbvFourCC;
  bih.biSizeImage = static_cast<DWORD>(ZmbvEncoder::MaxPacketSize(in->width, in->height));
  return {type};
}

long ScreenCodecFilter::OutputBufferSize() {
  std::optional<InputLayout> in = ConnectedInput();
  if (!in) return 0;
  return static_cast<long>(ZmbvEncoder::MaxPacketSize(in->width, in->height));
}

HRESULT ScreenCodecFilter::OnStreamStart() {
  std::optional<InputLayout> in = ConnectedInput();
  if (!in) return VFW_E_NOT_CONNECTED;
  CodecSettings settings;
  {
    kit::AutoLock lock(settingsLock_);
    settings = settings_;
  }
  EncoderSettings encoding;
  encoding.width = in->width;
  encoding.height = in->height;
  encoding.keyFrameInterval = KeyFrameIntervalFrames(settings, ConnectedFrameTime());
  encoding.effort = settings.effort;
  try {
    // A new stream is a new file (or a new start of one): it opens with a key frame.
    encoder_ = std::make_unique<ZmbvEncoder>(encoding);
  } catch (const std::exception&) {
    encoder_.reset();
    return E_OUTOFMEMORY;
  }
  layout_ = *in;
  return S_OK;
}

HRESULT ScreenCodecFilter::Transform(IMediaSample* in, IMediaSample* out) {
  if (!encoder_) return VFW_E_WRONG_STATE;
  BYTE* source = nullptr;
  if (FAILED(in->GetPointer(&source)) || !source) return E_POINTER;
  // A short frame cannot be encoded; dropping it leaves a gap the mux keeps as a repeat.
  if (in->GetActualDataLength() < layout_.imageSize) return S_FALSE;

  // A preroll sample (the picture delivered while the graph pauses from stopped) is not
  // written by the mux, so the packets after it must not need it: it goes out as a key
  // frame of its own and the first real frame is a key frame again.
  const bool preroll = in->IsPreroll() == S_OK;
  bool key = false;
  try {
    TopDownRows rows = ToTopDownRgb32(layout_, source, scratch_);
    if (preroll) encoder_->RequestKeyFrame();
    key = encoder_->Encode(rows.top, rows.stride, packet_);
    if (preroll) encoder_->RequestKeyFrame();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }

  BYTE* target = nullptr;
  if (FAILED(out->GetPointer(&target)) || !target) return E_POINTER;
  if (packet_.size() > static_cast<size_t>(out->GetSize())) return E_UNEXPECTED;
  std::memcpy(target, packet_.data(), packet_.size());
  out->SetActualDataLength(static_cast<long>(packet_.size()));

  kit::CopySampleProperties(in, out);
  // Only the encoder knows which of its packets a decoder can start from.
  out->SetSyncPoint(key ? TRUE : FALSE);
  return S_OK;
}

// Every packet after a key frame builds on all before it: one that is lost makes the next
// ones undecodable until a key frame comes, so the next one is.
void ScreenCodecFilter::OnDeliveryFailed() {
  if (encoder_) encoder_->RequestKeyFrame();
}

STDMETHODIMP ScreenCodecFilter::ShowDialog(int dialog, HWND parent) {
  switch (dialog) {
    case VfwCompressDialog_QueryConfig:
      return S_OK;
    case VfwCompressDialog_QueryAbout:
      return S_FALSE;
    case VfwCompressDialog_Config: {
      CodecSettings settings;
      {
        kit::AutoLock lock(settingsLock_);
        settings = settings_;
      }
      if (ShowCodecSettingsDialog(parent, settings)) {
        kit::AutoLock lock(settingsLock_);
        settings_ = settings;
      }
      return S_OK;
    }
    case VfwCompressDialog_About:
      return E_NOTIMPL;
    default:
      return E_INVALIDARG;
  }
}

STDMETHODIMP ScreenCodecFilter::GetState(LPVOID state, int* size) {
  if (!size) return E_POINTER;
  std::string text;
  {
    kit::AutoLock lock(settingsLock_);
    text = FormatCodecSettings(settings_);
  }
  if (!state) {
    *size = static_cast<int>(text.size());
    return S_OK;
  }
  if (*size < static_cast<int>(text.size())) return E_OUTOFMEMORY;
  std::memcpy(state, text.data(), text.size());
  *size = static_cast<int>(text.size());
  return S_OK;
}

STDMETHODIMP ScreenCodecFilter::SetState(LPVOID state, int size) {
  if (!state || size < 0) return E_POINTER;
  CodecSettings settings = ParseCodecSettings(std::string(static_cast<const char*>(state), static_cast<size_t>(size)));
  kit::AutoLock lock(settingsLock_);
  settings_ = settings;
  return S_OK;
}

STDMETHODIMP ScreenCodecFilter::SendDriverMessage(int, LONG, LONG) { return E_NOTIMPL; }

}  // namespace zelvio::screencodec
