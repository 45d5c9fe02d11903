#include "capture/media/media_type_win32.h"

#include "common/win32/com_ptr.h"
#include "capture/media/guid_win32.h"

namespace zelvio {

TMediaType::~TMediaType() {
  if (!type_) return;
  if (type_->pbFormat) CoTaskMemFree(type_->pbFormat);
  if (type_->pUnk) type_->pUnk->Release();
  CoTaskMemFree(type_);
}

MediaTypeView TMediaType::View() const {
  MediaTypeView view;
  view.majorType = ToGuid(type_->majortype);
  view.subType = ToGuid(type_->subtype);
  view.formatType = ToGuid(type_->formattype);
  view.format = ByteSpan{type_->pbFormat, type_->cbFormat};
  return view;
}

void TEnumMediaType::SetFromPin(IPin* pin) {
  Clear();
  ComPtr<IEnumMediaTypes> enumerator;
  if (!pin || FAILED(pin->EnumMediaTypes(enumerator.Put())) || !enumerator) return;
  AM_MEDIA_TYPE* type = nullptr;
  while (enumerator->Next(1, &type, nullptr) == S_OK && type) {
    types_.push_back(std::make_unique<TMediaType>(type));
    type = nullptr;
  }
}

AM_MEDIA_TYPE* TEnumMediaType::At(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return types_[static_cast<size_t>(index)]->Get();
}

std::string TEnumMediaType::Description(int index) const {
  if (index < 0 || index >= Count()) return {};
  return DescribeMediaType(types_[static_cast<size_t>(index)]->View());
}

}  // namespace zelvio
