// Filters kept as the stored bytes of their device moniker, and binding them back.
#pragma once

#include <dshow.h>

#include <cstdint>
#include <vector>

#include "common/win32/com_ptr.h"
#include "capture/media/guid_win32.h"

namespace zelvio {

// The stored moniker of an entry of the DirectShow filters category.
std::vector<uint8_t> FixedFilterMoniker(const GUID& filterClass);

// OleSaveToStream of the moniker. A moniker that cannot save itself (Wine's device
// monikers cannot) is stored in the device-moniker form built from its display name.
std::vector<uint8_t> StoreMoniker(IMoniker* moniker);

// The moniker read back from stored bytes, or none. Loading it with OleLoadFromStream
// comes first; a device moniker that cannot load itself is parsed from its display name.
ComPtr<IMoniker> LoadStoredMoniker(const std::vector<uint8_t>& stored);

// A new filter bound from stored bytes, or none (empty bytes, no moniker, bind failure).
ComPtr<IBaseFilter> BindStoredFilter(const std::vector<uint8_t>& stored);

}  // namespace zelvio
