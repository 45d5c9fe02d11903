#include "kit/base_pin.h"

#include <cstring>
#include <cwchar>

#include "kit/enumerator.h"

namespace zelvio::kit {

BasePin::BasePin(BaseFilter& filter, const wchar_t* name, PIN_DIRECTION direction)
    : filter_(filter), name_(name), direction_(direction) {}

BasePin::~BasePin() = default;

STDMETHODIMP BasePin::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IPin) {
    *out = static_cast<IPin*>(this);
  } else {
    *out = FindInterface(iid);
  }
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) BasePin::AddRef() { return filter_.AddRef(); }
STDMETHODIMP_(ULONG) BasePin::Release() { return filter_.Release(); }

STDMETHODIMP BasePin::Connect(IPin*, const AM_MEDIA_TYPE*) { return E_UNEXPECTED; }

STDMETHODIMP BasePin::ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) { return E_UNEXPECTED; }

STDMETHODIMP BasePin::Disconnect() {
  AutoLock lock(filter_.StateLock());
  if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (!peer_) return S_FALSE;
  ClearConnection();
  return S_OK;
}

void BasePin::SetConnection(IPin* peer, const AM_MEDIA_TYPE& mt) {
  peer_ = ComPtr<IPin>::Share(peer);
  mt_ = MediaType(mt);
}

void BasePin::ClearConnection() {
  BreakConnect();
  peer_.Reset();
  mt_.Clear();
}

STDMETHODIMP BasePin::ConnectedTo(IPin** out) {
  if (!out) return E_POINTER;
  AutoLock lock(filter_.StateLock());
  *out = nullptr;
  if (!peer_) return VFW_E_NOT_CONNECTED;
  return peer_.CopyTo(out);
}

STDMETHODIMP BasePin::ConnectionMediaType(AM_MEDIA_TYPE* out) {
  if (!out) return E_POINTER;
  AutoLock lock(filter_.StateLock());
  if (!peer_) {
    std::memset(out, 0, sizeof(*out));
    return VFW_E_NOT_CONNECTED;
  }
  return CopyMediaType(*out, mt_.Get());
}

STDMETHODIMP BasePin::QueryPinInfo(PIN_INFO* info) {
  if (!info) return E_POINTER;
  info->pFilter = &filter_;
  filter_.AddRef();
  info->dir = direction_;
  std::wcsncpy(info->achName, name_.c_str(), MAX_PIN_NAME - 1);
  info->achName[MAX_PIN_NAME - 1] = L'\0';
  return S_OK;
}

STDMETHODIMP BasePin::QueryDirection(PIN_DIRECTION* out) {
  if (!out) return E_POINTER;
  *out = direction_;
  return S_OK;
}

STDMETHODIMP BasePin::QueryId(LPWSTR* out) {
  if (!out) return E_POINTER;
  size_t bytes = (name_.size() + 1) * sizeof(wchar_t);
  *out = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (!*out) return E_OUTOFMEMORY;
  std::memcpy(*out, name_.c_str(), bytes);
  return S_OK;
}

STDMETHODIMP BasePin::QueryAccept(const AM_MEDIA_TYPE* mt) {
  if (!mt) return E_POINTER;
  return CheckMediaType(*mt) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP BasePin::EnumMediaTypes(IEnumMediaTypes** out) {
  if (!out) return E_POINTER;
  AutoLock lock(filter_.StateLock());
  return MediaTypeEnumerator::Create(OfferedTypes(), out);
}

STDMETHODIMP BasePin::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }

STDMETHODIMP BasePin::EndOfStream() { return S_OK; }
STDMETHODIMP BasePin::BeginFlush() { return S_OK; }
STDMETHODIMP BasePin::EndFlush() { return S_OK; }
STDMETHODIMP BasePin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) { return S_OK; }

}  // namespace zelvio::kit
