#include "capture/catalog/sys_dev_enum_win32.h"

#include "capture/media/guid_win32.h"
#include "platform/wide_text_win32.h"

namespace zelvio {
namespace {

constexpr size_t kMaxFriendlyName = 255;

// S_FALSE (an empty category) and failures alike give no enumerator.
ComPtr<IEnumMoniker> EnumerateCategory(const GUID& category) {
  ComPtr<ICreateDevEnum> devices;
  if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                              IID_ICreateDevEnum, devices.PutVoid()))) {
    return {};
  }
  ComPtr<IEnumMoniker> monikers;
  if (devices->CreateClassEnumerator(category, monikers.Put(), 0) != S_OK) return {};
  return monikers;
}

bool ReadText(IPropertyBag* bag, const wchar_t* name, std::wstring& text) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  bool ok = SUCCEEDED(bag->Read(name, &value, nullptr)) && value.vt == VT_BSTR && value.bstrVal;
  if (ok) text.assign(value.bstrVal, SysStringLen(value.bstrVal));
  VariantClear(&value);
  return ok;
}

DeviceEntry ReadEntry(IMoniker* moniker) {
  DeviceEntry entry;
  ComPtr<IPropertyBag> bag;
  if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid()))) return entry;
  std::wstring text;
  if (ReadText(bag.Get(), L"FriendlyName", text))
    entry.friendlyName = NarrowBounded(text.c_str(), kMaxFriendlyName);
  Guid clsid;
  if (ReadText(bag.Get(), L"CLSID", text) && ParseGuid(NarrowBounded(text.c_str(), 64), clsid)) {
    entry.clsid = ToWindowsGuid(clsid);
  }
  return entry;
}

}  // namespace

TSysDevEnum::TSysDevEnum(const GUID& category) : category_(category) {
  ComPtr<IEnumMoniker> monikers = EnumerateCategory(category_);
  if (!monikers) return;
  ComPtr<IMoniker> moniker;
  while (monikers->Next(1, moniker.Put(), nullptr) == S_OK) entries_.push_back(ReadEntry(moniker.Get()));
}

std::string TSysDevEnum::FriendlyName(int index) const {
  if (index < 0 || index >= Count()) return {};
  return entries_[static_cast<size_t>(index)].friendlyName;
}

ComPtr<IMoniker> TSysDevEnum::Moniker(int index) const {
  if (index < 0 || index >= Count()) return {};
  ComPtr<IEnumMoniker> monikers = EnumerateCategory(category_);
  if (!monikers) return {};
  // Stepping over the first entries with Next rather than Skip: Wine's device enumerator
  // answers Skip with S_OK without moving, which would make every index the first device.
  ComPtr<IMoniker> moniker;
  for (int i = 0; i <= index; ++i) {
    if (monikers->Next(1, moniker.Put(), nullptr) != S_OK) return {};
  }
  monikers->Reset();
  return moniker;
}

ComPtr<IBaseFilter> TSysDevEnum::Filter(int index) const {
  ComPtr<IMoniker> moniker = Moniker(index);
  if (!moniker) return {};
  ComPtr<IBaseFilter> filter;
  if (FAILED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.PutVoid()))) return {};
  return filter;
}

}  // namespace zelvio
