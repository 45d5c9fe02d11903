// TSysDevEnum: the devices of one category as the system device enumerator listed them
// when the object was made. Look-ups enumerate the category again and skip to the index,
// so a position means the same device only while the category keeps its order.
#pragma once

#include <dshow.h>

#include <string>
#include <vector>

#include "common/win32/com_ptr.h"

namespace zelvio {

struct DeviceEntry {
  std::string friendlyName;  // ANSI, at most 255 characters
  GUID clsid = GUID_NULL;    // GUID_NULL when the property is missing or malformed
};

class TSysDevEnum {
 public:
  explicit TSysDevEnum(const GUID& category);

  int Count() const { return static_cast<int>(entries_.size()); }
  const std::vector<DeviceEntry>& Entries() const { return entries_; }
  std::string FriendlyName(int index) const;
  // None outside 0..Count()-1.
  ComPtr<IMoniker> Moniker(int index) const;
  // A new instance bound from the moniker; none outside 0..Count()-1 or when binding fails.
  ComPtr<IBaseFilter> Filter(int index) const;

 private:
  GUID category_;
  std::vector<DeviceEntry> entries_;
};

}  // namespace zelvio
