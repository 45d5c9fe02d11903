#include "push_source_pin.h"

#include <algorithm>

#include "capture_target_win32.h"
#include "video_media_type.h"

namespace zelvio::pushsource {

namespace {
// Enough for one frame in flight downstream, one being grabbed and one spare.
constexpr long kBufferCount = 3;
}  // namespace

PushSourcePin::PushSourcePin(kit::BaseFilter& filter) : OutputPin(filter, L"Capture") {}

std::vector<kit::MediaType> PushSourcePin::OfferedTypes() {
  CaptureTarget target = ReadCaptureTarget();
  std::vector<kit::MediaType> types;
  for (PixelFormat pixels : kOfferedFormats) {
    VideoFormat f = DescribeFormat(pixels, target.area.Width(), target.area.Height(), target.fps);
    types.push_back(BuildVideoMediaType(f));
  }
  return types;
}

HRESULT PushSourcePin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  VideoFormat f;
  if (!ReadVideoMediaType(mt, &f)) return S_FALSE;
  CaptureTarget target = ReadCaptureTarget();
  if (f.width != target.area.Width() || f.height != target.area.Height()) return S_FALSE;
  return S_OK;
}

HRESULT PushSourcePin::CompleteConnect(IPin*) {
  if (!ReadVideoMediaType(ConnectedType().Get(), &format_)) return VFW_E_TYPE_NOT_ACCEPTED;
  area_ = ReadCaptureTarget().area;
  if (!grabber_.Open(format_.width, format_.height, format_.bitCount)) return E_OUTOFMEMORY;
  return S_OK;
}

void PushSourcePin::BreakConnect() {
  OutputPin::BreakConnect();
  grabber_.Close();
}

// Runs while the connection is being agreed, before CompleteConnect: size from the type.
void PushSourcePin::ChooseBuffers(ALLOCATOR_PROPERTIES& props) {
  VideoFormat f;
  if (ReadVideoMediaType(ConnectedType().Get(), &f)) props.cbBuffer = static_cast<long>(f.imageSize);
  props.cBuffers = std::max(props.cBuffers, kBufferCount);
}

void PushSourcePin::RefreshOrigin() {
  Rect now = ReadCaptureTarget().area;
  if (now.Width() != format_.width || now.Height() != format_.height) return;
  area_ = now;
}

HRESULT PushSourcePin::DeliverFrame(int64_t slot, bool preroll) {
  kit::ComPtr<IMediaSample> sample;
  HRESULT hr = GetDeliveryBuffer(sample.Put());
  if (FAILED(hr)) return hr;
  BYTE* data = nullptr;
  hr = sample->GetPointer(&data);
  if (FAILED(hr)) return hr;
  size_t capacity = static_cast<size_t>(sample->GetSize());
  if (!grabber_.Grab(area_.left, area_.top, CursorHookRunning(), data, capacity)) return E_FAIL;

  sample->SetActualDataLength(static_cast<long>(grabber_.ImageSize()));
  REFERENCE_TIME start = SlotStart(slot, format_.avgTimePerFrame);
  REFERENCE_TIME stop = start + format_.avgTimePerFrame;
  sample->SetTime(&start, &stop);
  LONGLONG mediaStart = slot;
  LONGLONG mediaStop = slot + 1;
  sample->SetMediaTime(&mediaStart, &mediaStop);
  sample->SetSyncPoint(TRUE);
  sample->SetPreroll(preroll ? TRUE : FALSE);
  return Deliver(sample.Get());
}

}  // namespace zelvio::pushsource
