// Input pin: accepts connections and receives samples through IMemInputPin.
#pragma once
#include <atomic>

#include "kit/base_pin.h"

namespace zelvio::kit {

class InputPin : public BasePin, public IMemInputPin {
 public:
  InputPin(BaseFilter& filter, const wchar_t* name);

  KIT_FORWARD_UNKNOWN(BasePin)

  STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;
  STDMETHODIMP EndOfStream() override;

  STDMETHODIMP GetAllocator(IMemAllocator** out) override;
  STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
  STDMETHODIMP Receive(IMediaSample* sample) override;
  STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
  STDMETHODIMP ReceiveCanBlock() override;

  // Receive refuses samples while the pin is inactive: Stop deactivates the pins before it
  // lets go of the filter lock, and a sample arriving then must not reach a filter that is
  // taking its streams down. A derived pin overriding these calls them.
  HRESULT Active() override;
  HRESULT Inactive() override;

  // The allocator the upstream pin settled on (after NotifyAllocator).
  ComPtr<IMemAllocator> Allocator() const { return allocator_; }
  bool Flushing() const { return flushing_; }

 protected:
  void* FindInterface(REFIID iid) override;
  void BreakConnect() override;

  // Streaming hooks; OnReceive runs on the upstream filter's thread.
  virtual HRESULT OnReceive(IMediaSample* sample) = 0;
  virtual HRESULT OnEndOfStream() { return S_OK; }
  virtual HRESULT OnBeginFlush() { return S_OK; }
  virtual HRESULT OnEndFlush() { return S_OK; }

 private:
  ComPtr<IMemAllocator> allocator_;
  std::atomic<bool> flushing_{false};
  std::atomic<bool> active_{false};
};

}  // namespace zelvio::kit
