#include "screen_codec_filter.h"

#include <amvideo.h>
#include <uuids.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "codec_settings_dialog_win32.h"
#include "kit/sample_copy.h"
#include "codec_settings_file_win32.h"
#include "screen_codec_ids.h"
#include "screencodec/core/zmbv_deflate.h"
#include "win32_task_runner.h"

namespace zelvio::screencodec {

namespace {

const BITMAPINFOHEADER* VideoHeader(const AM_MEDIA_TYPE& mt) {
  if (mt.formattype == FORMAT_VideoInfo && mt.cbFormat >= sizeof(VIDEOINFOHEADER) && mt.pbFormat)
    return &reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat)->bmiHeader;
  return nullptr;
}

bool SubtypeMatches(const GUID& subtype, int bitCount) {
  switch (bitCount) {
    case 32:
      return subtype == MEDIASUBTYPE_RGB32;
    case 24:
      return subtype == MEDIASUBTYPE_RGB24;
    case 16:
      return subtype == MEDIASUBTYPE_RGB555;
    default:
      return false;
  }
}

std::optional<InputLayout> LayoutOf(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype != MEDIATYPE_Video) return std::nullopt;
  const BITMAPINFOHEADER* header = VideoHeader(mt);
  if (!header || !SubtypeMatches(mt.subtype, header->biBitCount)) return std::nullopt;
  return DescribeInput(header->biCompression, header->biBitCount, header->biWidth, header->biHeight);
}

// Frames wait for the encoder in a queue of this many, so a grab is not held while the
// previous frame is encoded. Three absorb a full-HD key frame (two or three frame slots at
// the slower effort) without giving up a slot, and drain within the moment the program
// gives the graph to hand over its last frames when it stops; a deeper queue would only
// hold more memory and let a too-slow encoder fall further behind before slots are given up.
constexpr int kQueueFrames = 3;
// And never more than this much memory (a frame larger than a third of it waits alone).
constexpr size_t kQueueBytes = size_t(96) << 20;

// Threads deflating a large packet: one per processor; the encoder cuts a packet into at
// most ZmbvDeflater::kMaxSlices slices, so more would idle.
int DeflateThreads() { return std::min(Win32TaskRunner::Processors(), ZmbvDeflater::kMaxSlices); }

int64_t FrameTimeOf(const AM_MEDIA_TYPE& mt) {
  if (mt.formattype == FORMAT_VideoInfo && mt.cbFormat >= sizeof(VIDEOINFOHEADER) && mt.pbFormat)
    return reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat)->AvgTimePerFrame;
  return 0;
}

}  // namespace

ScreenCodecFilter::ScreenCodecFilter()
    : TransformFilter(CLSID_ZelvioScreenCodec, kQueueFrames, kQueueBytes), settings_(LoadCodecSettings()) {}

HRESULT ScreenCodecFilter::Create(REFIID iid, void** out) {
  return kit::CreateAndQuery<ScreenCodecFilter>(iid, out);
}

void* ScreenCodecFilter::FindInterface(REFIID iid) {
  if (iid == IID_IAMVfwCompressDialogs) return static_cast<IAMVfwCompressDialogs*>(this);
  return nullptr;
}

std::optional<InputLayout> ScreenCodecFilter::ConnectedInput() {
  if (!Input().IsConnected()) return std::nullopt;
  return LayoutOf(Input().ConnectedType().Get());
}

int64_t ScreenCodecFilter::ConnectedFrameTime() { return FrameTimeOf(Input().ConnectedType().Get()); }

// A picture the encoder cannot take is refused here, at the connection, rather than at the
// first Pause with a misleading out-of-memory. Once the output is connected its type says
// the picture's size, so a new input (a reconnection, or a new type offered while streaming)
// must keep that size: packets of another would be written under a type that does not
// describe them.
HRESULT ScreenCodecFilter::CheckInputType(const AM_MEDIA_TYPE& mt) {
  std::optional<InputLayout> layout = LayoutOf(mt);
  if (!layout || !ZmbvEncoder::CanEncode(layout->width, layout->height)) return S_FALSE;
  if (!Output().IsConnected()) return S_OK;
  const auto* connected = Output().ConnectedType().Format<VIDEOINFOHEADER>();
  if (!connected) return S_FALSE;
  return connected->bmiHeader.biWidth == layout->width && connected->bmiHeader.biHeight == layout->height
             ? S_OK
             : S_FALSE;
}

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
  CodecSettings settings = CurrentSettings();
  EncoderSettings encoding;
  encoding.width = in->width;
  encoding.height = in->height;
  encoding.keyFrameInterval = KeyFrameIntervalFrames(settings, ConnectedFrameTime());
  encoding.effort = settings.effort;
  try {
    runner_ = std::make_unique<Win32TaskRunner>(DeflateThreads());
    encoding.runner = runner_.get();
    // A new stream is a new file (or a new start of one): it opens with a key frame.
    encoder_ = std::make_unique<ZmbvEncoder>(encoding);
  } catch (const std::bad_alloc&) {
    OnStreamEnd();
    return E_OUTOFMEMORY;
  } catch (const std::exception&) {
    OnStreamEnd();
    return E_FAIL;
  }
  layout_ = *in;
  return S_OK;
}

void ScreenCodecFilter::OnStreamEnd() {
  encoder_.reset();
  runner_.reset();
  scratch_ = {};
}

HRESULT ScreenCodecFilter::Transform(IMediaSample* in, IMediaSample* out) {
  if (!encoder_) return VFW_E_WRONG_STATE;
  BYTE* source = nullptr;
  if (FAILED(in->GetPointer(&source)) || !source) return E_POINTER;
  // A sample may bring a new type with it; the encoder can only go on with the picture the
  // stream started with.
  AM_MEDIA_TYPE* changed = nullptr;
  if (in->GetMediaType(&changed) == S_OK && changed) {
    std::optional<InputLayout> now = LayoutOf(*changed);
    kit::DeleteMediaType(changed);
    if (!now || now->pixels != layout_.pixels || now->width != layout_.width ||
        now->height != layout_.height || now->bottomUp != layout_.bottomUp || now->stride != layout_.stride)
      return VFW_E_TYPE_NOT_ACCEPTED;
  }
  // A short frame cannot be encoded; dropping it leaves a gap the mux keeps as a repeat.
  if (in->GetActualDataLength() < layout_.imageSize) return S_FALSE;

  // A preroll sample (the picture delivered while the graph pauses from stopped) is not
  // written by the mux, so the packets after it must not need it: it goes out as a key
  // frame of its own and the first real frame is a key frame again.
  const bool preroll = in->IsPreroll() == S_OK;
  bool key = false;
  // No exception may leave a COM call; the encoder starts afresh after a failed packet.
  try {
    TopDownRows rows = ToTopDownRgb32(layout_, source, scratch_);
    if (preroll) encoder_->RequestKeyFrame();
    key = encoder_->Encode(rows.top, rows.stride, packet_);
    if (preroll) encoder_->RequestKeyFrame();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }

  BYTE* target = nullptr;
  if (FAILED(out->GetPointer(&target)) || !target) return E_POINTER;
  if (packet_.size() > static_cast<size_t>(out->GetSize())) {
    encoder_->RequestKeyFrame();
    return E_UNEXPECTED;
  }
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
    case VfwCompressDialog_Config:
      try {
        CodecSettings settings = CurrentSettings();
        if (ShowCodecSettingsDialog(parent, settings)) ReplaceSettings(settings);
        return S_OK;
      } catch (...) {
        return E_OUTOFMEMORY;
      }
    case VfwCompressDialog_About:
      return E_NOTIMPL;
    default:
      return E_INVALIDARG;
  }
}

STDMETHODIMP ScreenCodecFilter::GetState(LPVOID state, int* size) {
  if (!size) return E_POINTER;
  try {
    std::string text = FormatCodecSettings(CurrentSettings());
    if (!state) {
      *size = static_cast<int>(text.size());
      return S_OK;
    }
    if (*size < static_cast<int>(text.size())) return E_OUTOFMEMORY;
    std::memcpy(state, text.data(), text.size());
    *size = static_cast<int>(text.size());
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP ScreenCodecFilter::SetState(LPVOID state, int size) {
  if (!state || size < 0) return E_POINTER;
  // The text is a few short lines; a blob far beyond that is not our state.
  if (size > kMaxStateBytes) return E_INVALIDARG;
  try {
    ReplaceSettings(
        ParseCodecSettings(std::string(static_cast<const char*>(state), static_cast<size_t>(size))));
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

CodecSettings ScreenCodecFilter::CurrentSettings() {
  kit::AutoLock lock(settingsLock_);
  return settings_;
}

void ScreenCodecFilter::ReplaceSettings(const CodecSettings& settings) {
  kit::AutoLock lock(settingsLock_);
  settings_ = settings;
}

STDMETHODIMP ScreenCodecFilter::SendDriverMessage(int, LONG, LONG) { return E_NOTIMPL; }

}  // namespace zelvio::screencodec
