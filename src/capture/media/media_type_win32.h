// TMediaType owns one AM_MEDIA_TYPE; TEnumMediaType is the ordered list of the media
// types a pin offers (the audio format catalog).
#pragma once

#include <dshow.h>

#include <memory>
#include <string>
#include <vector>

#include "capture/media/media_type_text.h"

namespace zelvio {

class TMediaType {
 public:
  // Takes over a media type allocated by a pin's enumerator (CoTaskMemAlloc).
  explicit TMediaType(AM_MEDIA_TYPE* enumerated) : type_(enumerated) {}
  ~TMediaType();
  TMediaType(const TMediaType&) = delete;
  TMediaType& operator=(const TMediaType&) = delete;

  AM_MEDIA_TYPE* Get() const { return type_; }
  MediaTypeView View() const;

 private:
  AM_MEDIA_TYPE* type_;
};

class TEnumMediaType {
 public:
  // Clears, then takes every media type the pin enumerates; stays empty when it cannot.
  void SetFromPin(IPin* pin);
  void Clear() { types_.clear(); }
  int Count() const { return static_cast<int>(types_.size()); }
  // Owned by the list; none outside 0..Count()-1.
  AM_MEDIA_TYPE* At(int index) const;
  // The media type's text; empty outside 0..Count()-1.
  std::string Description(int index) const;

 private:
  std::vector<std::unique_ptr<TMediaType>> types_;
};

}  // namespace zelvio
