// What every pin shares: identity, connection bookkeeping and the IPin queries. Pins live
// inside their filter and hand their reference counting to it, so a pin is valid exactly as
// long as its filter.
#pragma once
#include <strmif.h>

#include <string>
#include <vector>

#include "kit/base_filter.h"
#include "kit/com_ptr.h"
#include "kit/media_type.h"

namespace zelvio::kit {

class BasePin : public IPin {
 public:
  BasePin(BaseFilter& filter, const wchar_t* name, PIN_DIRECTION direction);
  virtual ~BasePin();

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP Disconnect() override;
  STDMETHODIMP ConnectedTo(IPin** out) override;
  STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* out) override;
  STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
  STDMETHODIMP QueryDirection(PIN_DIRECTION* out) override;
  STDMETHODIMP QueryId(LPWSTR* out) override;
  STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** out) override;
  STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
  STDMETHODIMP EndOfStream() override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;
  STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  const std::wstring& Name() const { return name_; }
  bool IsConnected() const { return static_cast<bool>(peer_); }
  IPin* Peer() const { return peer_.Get(); }
  const MediaType& ConnectedType() const { return mt_; }
  // Time of the samples through this pin, for the benchmark's accounting (kit/filter_timing.h).
  WorkTiming& Timing() { return timing_; }

  // Filter state changes: stopped -> paused (Active) and back (Inactive).
  virtual HRESULT Active() { return S_OK; }
  virtual HRESULT Inactive() { return S_OK; }

 protected:
  // S_OK accepts the type; anything else refuses it.
  virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) = 0;
  // The types this pin proposes, best first.
  virtual std::vector<MediaType> OfferedTypes() { return {}; }
  // The connection is agreed on both sides; refuse it by failing.
  virtual HRESULT CompleteConnect(IPin* peer) {
    (void)peer;
    return S_OK;
  }
  // The connection is being dropped.
  virtual void BreakConnect() {}
  // Extra interfaces of a derived pin; return without AddRef, nullptr when unknown.
  virtual void* FindInterface(REFIID) { return nullptr; }

  // Fills in the connection after the peer agreed; undoes it when CompleteConnect fails.
  void SetConnection(IPin* peer, const AM_MEDIA_TYPE& mt);
  void ClearConnection();

  BaseFilter& filter_;

 private:
  std::wstring name_;
  PIN_DIRECTION direction_;
  ComPtr<IPin> peer_;
  MediaType mt_;
  WorkTiming timing_;
};

}  // namespace zelvio::kit
