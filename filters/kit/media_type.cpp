#include "kit/media_type.h"

#include <cstring>
#include <utility>

namespace zelvio::kit {

HRESULT CopyMediaType(AM_MEDIA_TYPE& dst, const AM_MEDIA_TYPE& src) {
  dst = src;
  dst.pbFormat = nullptr;
  dst.cbFormat = 0;
  if (src.cbFormat && src.pbFormat) {
    dst.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(src.cbFormat));
    if (!dst.pbFormat) {
      dst.pUnk = nullptr;
      return E_OUTOFMEMORY;
    }
    std::memcpy(dst.pbFormat, src.pbFormat, src.cbFormat);
    dst.cbFormat = src.cbFormat;
  }
  if (dst.pUnk) dst.pUnk->AddRef();
  return S_OK;
}

void FreeMediaTypeContents(AM_MEDIA_TYPE& mt) {
  if (mt.pbFormat) CoTaskMemFree(mt.pbFormat);
  if (mt.pUnk) mt.pUnk->Release();
  std::memset(&mt, 0, sizeof(mt));
}

AM_MEDIA_TYPE* CreateMediaTypeCopy(const AM_MEDIA_TYPE& src) {
  auto* mt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
  if (!mt) return nullptr;
  if (FAILED(CopyMediaType(*mt, src))) {
    CoTaskMemFree(mt);
    return nullptr;
  }
  return mt;
}

void DeleteMediaType(AM_MEDIA_TYPE* mt) {
  if (!mt) return;
  FreeMediaTypeContents(*mt);
  CoTaskMemFree(mt);
}

bool SameMediaType(const AM_MEDIA_TYPE& a, const AM_MEDIA_TYPE& b) {
  if (a.majortype != b.majortype || a.subtype != b.subtype) return false;
  if (a.formattype != b.formattype || a.cbFormat != b.cbFormat) return false;
  if (a.cbFormat == 0) return true;
  if (!a.pbFormat || !b.pbFormat) return a.pbFormat == b.pbFormat;
  return std::memcmp(a.pbFormat, b.pbFormat, a.cbFormat) == 0;
}

bool MatchesPartial(const AM_MEDIA_TYPE& candidate, const AM_MEDIA_TYPE* partial) {
  if (!partial) return true;
  if (partial->majortype != GUID_NULL && partial->majortype != candidate.majortype) return false;
  if (partial->subtype != GUID_NULL && partial->subtype != candidate.subtype) return false;
  if (partial->formattype != GUID_NULL && partial->formattype != candidate.formattype) return false;
  return true;
}

bool IsFullySpecified(const AM_MEDIA_TYPE& mt) {
  return mt.majortype != GUID_NULL && mt.subtype != GUID_NULL && mt.formattype != GUID_NULL;
}

MediaType::MediaType() { std::memset(&mt_, 0, sizeof(mt_)); }

MediaType::MediaType(const AM_MEDIA_TYPE& src) : MediaType() { CopyMediaType(mt_, src); }

MediaType::MediaType(const MediaType& other) : MediaType(other.mt_) {}

MediaType::MediaType(MediaType&& other) noexcept : mt_(other.mt_) {
  std::memset(&other.mt_, 0, sizeof(other.mt_));
}

MediaType& MediaType::operator=(const MediaType& other) {
  if (this == &other) return *this;
  Clear();
  CopyMediaType(mt_, other.mt_);
  return *this;
}

MediaType& MediaType::operator=(MediaType&& other) noexcept {
  if (this == &other) return *this;
  Clear();
  mt_ = other.mt_;
  std::memset(&other.mt_, 0, sizeof(other.mt_));
  return *this;
}

MediaType::~MediaType() { Clear(); }

bool MediaType::Empty() const { return mt_.majortype == GUID_NULL; }

void MediaType::Clear() { FreeMediaTypeContents(mt_); }

BYTE* MediaType::AllocFormat(ULONG size) {
  if (mt_.pbFormat) CoTaskMemFree(mt_.pbFormat);
  mt_.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(size));
  mt_.cbFormat = mt_.pbFormat ? size : 0;
  if (mt_.pbFormat) std::memset(mt_.pbFormat, 0, size);
  return mt_.pbFormat;
}

}  // namespace zelvio::kit
