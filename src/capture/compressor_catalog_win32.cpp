#include "capture/compressor_catalog_win32.h"

namespace zelvio {

VideoCompressorCatalog::VideoCompressorCatalog() : devices_(CLSID_VideoCompressorCategory) {
  for (int index = 0; index < devices_.Count(); ++index) {
    ComPtr<IBaseFilter> filter = devices_.Filter(index);
    if (!filter) continue;
    ComPtr<IAMVfwCompressDialogs> dialogs;
    if (filter->QueryInterface(IID_IAMVfwCompressDialogs, dialogs.PutVoid()) != S_OK) continue;
    // With every slot taken, further compressors stay out of the list.
    if (!table_.Append(index)) break;
    names_.push_back(devices_.FriendlyName(index));
  }
}

ComPtr<IBaseFilter> VideoCompressorCatalog::FilterAt(int position) const {
  int32_t index = table_.CategoryIndexAt(position);
  if (index < 0) return {};
  return devices_.Filter(index);
}

}  // namespace zelvio
