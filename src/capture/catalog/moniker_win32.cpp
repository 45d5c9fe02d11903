#include "capture/catalog/moniker_win32.h"

#include <string>

#include "capture/catalog/device_moniker.h"

namespace zelvio {
namespace {

ComPtr<IStream> StreamOver(const std::vector<uint8_t>& bytes) {
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()))) return {};
  ULONG written = 0;
  if (FAILED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written))) return {};
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return stream;
}

std::vector<uint8_t> StreamBytes(IStream* stream) {
  HGLOBAL memory = nullptr;
  if (FAILED(GetHGlobalFromStream(stream, &memory))) return {};
  LARGE_INTEGER zero = {};
  ULARGE_INTEGER end = {};
  if (FAILED(stream->Seek(zero, STREAM_SEEK_CUR, &end))) return {};
  const auto* data = static_cast<const uint8_t*>(GlobalLock(memory));
  if (!data) return {};
  std::vector<uint8_t> bytes(data, data + end.QuadPart);
  GlobalUnlock(memory);
  return bytes;
}

std::vector<uint8_t> SaveWithOle(IMoniker* moniker) {
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()))) return {};
  if (FAILED(OleSaveToStream(moniker, stream.Get()))) return {};
  return StreamBytes(stream.Get());
}

std::vector<uint8_t> StoreByDisplayName(IMoniker* moniker) {
  ComPtr<IBindCtx> context;
  if (FAILED(CreateBindCtx(0, context.Put()))) return {};
  LPOLESTR name = nullptr;
  if (FAILED(moniker->GetDisplayName(context.Get(), nullptr, &name)) || !name) return {};
  std::u16string displayName(reinterpret_cast<const char16_t*>(name));
  CoTaskMemFree(name);
  return StoredDeviceMoniker(displayName);
}

ComPtr<IMoniker> ParseDisplayName(const std::u16string& displayName) {
  ComPtr<IBindCtx> context;
  if (FAILED(CreateBindCtx(0, context.Put()))) return {};
  std::wstring wide(displayName.begin(), displayName.end());
  ULONG eaten = 0;
  ComPtr<IMoniker> moniker;
  if (FAILED(MkParseDisplayName(context.Get(), wide.c_str(), &eaten, moniker.Put()))) return {};
  return moniker;
}

}  // namespace

std::vector<uint8_t> FixedFilterMoniker(const GUID& filterClass) {
  return StoredDeviceMoniker(FilterEntryDisplayName(ToGuid(filterClass)));
}

std::vector<uint8_t> StoreMoniker(IMoniker* moniker) {
  if (!moniker) return {};
  std::vector<uint8_t> saved = SaveWithOle(moniker);
  return saved.empty() ? StoreByDisplayName(moniker) : saved;
}

ComPtr<IMoniker> LoadStoredMoniker(const std::vector<uint8_t>& stored) {
  if (stored.empty()) return {};
  ComPtr<IMoniker> moniker;
  ComPtr<IStream> stream = StreamOver(stored);
  if (stream && SUCCEEDED(OleLoadFromStream(stream.Get(), IID_IMoniker, moniker.PutVoid()))) return moniker;
  std::u16string displayName;
  if (!StoredDeviceMonikerName(stored, displayName)) return {};
  return ParseDisplayName(displayName);
}

ComPtr<IBaseFilter> BindStoredFilter(const std::vector<uint8_t>& stored) {
  ComPtr<IMoniker> moniker = LoadStoredMoniker(stored);
  if (!moniker) return {};
  ComPtr<IBaseFilter> filter;
  if (FAILED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.PutVoid()))) return {};
  return filter;
}

}  // namespace zelvio
