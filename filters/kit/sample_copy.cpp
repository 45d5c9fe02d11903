#include "kit/sample_copy.h"

#include <vfwmsgs.h>

#include <cstring>

namespace zelvio::kit {

HRESULT CopySample(IMediaSample* from, IMediaSample* to) {
  BYTE* src = nullptr;
  BYTE* dst = nullptr;
  if (FAILED(from->GetPointer(&src)) || FAILED(to->GetPointer(&dst))) return E_POINTER;
  long length = from->GetActualDataLength();
  if (length > to->GetSize()) return VFW_E_BUFFER_OVERFLOW;
  std::memcpy(dst, src, static_cast<size_t>(length));
  to->SetActualDataLength(length);
  CopySampleProperties(from, to);
  return S_OK;
}

void CopySampleProperties(IMediaSample* from, IMediaSample* to) {
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
  HRESULT hr = from->GetTime(&start, &stop);
  if (hr == S_OK) {
    to->SetTime(&start, &stop);
  } else if (hr == VFW_S_NO_STOP_TIME) {
    to->SetTime(&start, nullptr);
  }
  LONGLONG mediaStart = 0;
  LONGLONG mediaStop = 0;
  if (from->GetMediaTime(&mediaStart, &mediaStop) == S_OK) to->SetMediaTime(&mediaStart, &mediaStop);
  to->SetSyncPoint(from->IsSyncPoint() == S_OK);
  to->SetDiscontinuity(from->IsDiscontinuity() == S_OK);
  to->SetPreroll(from->IsPreroll() == S_OK);
}

}  // namespace zelvio::kit
