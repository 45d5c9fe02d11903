// AM_MEDIA_TYPE ownership: the struct holds a CoTaskMem format block and maybe an IUnknown,
// so copies and frees must go through one place.
#pragma once
#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>

namespace zelvio::kit {

// Deep copy into dst (whose old contents are not freed).
HRESULT CopyMediaType(AM_MEDIA_TYPE& dst, const AM_MEDIA_TYPE& src);
// Frees the format block and pUnk and zeroes the struct.
void FreeMediaTypeContents(AM_MEDIA_TYPE& mt);
// CoTaskMem-allocated copy, as IEnumMediaTypes::Next and IAMStreamConfig hand out.
AM_MEDIA_TYPE* CreateMediaTypeCopy(const AM_MEDIA_TYPE& src);
void DeleteMediaType(AM_MEDIA_TYPE* mt);

// Major, sub and format type and the format block all equal.
bool SameMediaType(const AM_MEDIA_TYPE& a, const AM_MEDIA_TYPE& b);
// A partial type (GUID_NULL fields) matches anything in those fields.
bool MatchesPartial(const AM_MEDIA_TYPE& candidate, const AM_MEDIA_TYPE* partial);
bool IsFullySpecified(const AM_MEDIA_TYPE& mt);

// Value type owning one AM_MEDIA_TYPE.
class MediaType {
 public:
  MediaType();
  explicit MediaType(const AM_MEDIA_TYPE& src);
  MediaType(const MediaType& other);
  MediaType(MediaType&& other) noexcept;
  MediaType& operator=(const MediaType& other);
  MediaType& operator=(MediaType&& other) noexcept;
  ~MediaType();

  const AM_MEDIA_TYPE& Get() const { return mt_; }
  AM_MEDIA_TYPE& Get() { return mt_; }
  bool Empty() const;
  void Clear();

  // Replaces the format block with a zeroed one of the given size.
  BYTE* AllocFormat(ULONG size);
  template <class T>
  T* Format() const {
    return mt_.cbFormat >= sizeof(T) ? reinterpret_cast<T*>(mt_.pbFormat) : nullptr;
  }

 private:
  AM_MEDIA_TYPE mt_;
};

}  // namespace zelvio::kit
