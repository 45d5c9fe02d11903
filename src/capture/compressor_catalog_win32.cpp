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
    spares_.push_back(std::move(filter));
  }
}

ComPtr<IBaseFilter> VideoCompressorCatalog::FilterAt(int position) {
  int32_t index = table_.CategoryIndexAt(position);
  if (index < 0) return {};
  // The first look-up takes the instance the listing made instead of loading the codec a
  // second time (some take a tenth of a second); the others are let go then.
  ComPtr<IBaseFilter> spare;
  if (static_cast<size_t>(position) < spares_.size())
    spare = std::move(spares_[static_cast<size_t>(position)]);
  spares_.clear();
  if (spare) return spare;
  return devices_.Filter(index);
}

}  // namespace zelvio
