#include "capture/catalog/compressor_catalog_win32.h"

#include "capture/catalog/module_filter_win32.h"
#include "common/errors.h"
#include "screencodec/screen_codec_ids.h"

namespace zelvio {

namespace {

constexpr const char* kScreenCodecModule = "Filters/ScreenCodec.ax";

// Loaded like the screen source: from its file, nothing registered. A folder without it
// simply lists no codec of ours.
ComPtr<IBaseFilter> CreateOwnCodec() {
  try {
    return CreateFilterFromModule(kScreenCodecModule, CLSID_ZelvioScreenCodec);
  } catch (const ZelvioError&) {
    return {};
  }
}

}  // namespace

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
  if (ComPtr<IBaseFilter> own = CreateOwnCodec()) {
    ownCodecPosition_ = static_cast<int>(names_.size());
    names_.push_back(ZELVIO_SCREEN_CODEC_NAME);
    spares_.push_back(std::move(own));
  }
}

ComPtr<IBaseFilter> VideoCompressorCatalog::FilterAt(int position) {
  const bool own = position >= 0 && position == ownCodecPosition_;
  int32_t index = own ? -1 : table_.CategoryIndexAt(position);
  if (!own && index < 0) return {};
  // The first look-up takes the instance the listing made instead of loading the codec a
  // second time (some take a tenth of a second); the others are let go then.
  ComPtr<IBaseFilter> spare;
  if (static_cast<size_t>(position) < spares_.size())
    spare = std::move(spares_[static_cast<size_t>(position)]);
  spares_.clear();
  if (spare) return spare;
  return own ? CreateOwnCodec() : devices_.Filter(index);
}

}  // namespace zelvio
