// Output pin with the connection protocol: propose types, let the peer accept one, then agree
// on an allocator through the peer's IMemInputPin.
#pragma once
#include "kit/base_pin.h"

namespace zelvio::kit {

class OutputPin : public BasePin {
 public:
  OutputPin(BaseFilter& filter, const wchar_t* name);

  STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
  STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
  STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }

  HRESULT Active() override;
  HRESULT Inactive() override;

  // Streaming side; called on the filter's streaming thread, without the state lock.
  HRESULT GetDeliveryBuffer(IMediaSample** out);
  HRESULT Deliver(IMediaSample* sample);
  HRESULT DeliverEndOfStream();
  HRESULT DeliverBeginFlush();
  HRESULT DeliverEndFlush();

  // True when the allocator belongs to someone upstream and samples are passed through.
  bool BorrowsAllocator() const { return borrowed_; }

 protected:
  // Sets cbBuffer and raises cBuffers as the connected type needs; the kit merges the peer's
  // alignment and prefix wishes and verifies what the allocator granted.
  virtual void ChooseBuffers(ALLOCATOR_PROPERTIES& props) = 0;
  // An allocator the pin would rather share than own (a tee's input allocator, say);
  // the peer may refuse it, then the pin gets one of its own.
  virtual ComPtr<IMemAllocator> AllocatorToShare() { return {}; }

  void BreakConnect() override;

 private:
  HRESULT TryConnect(IPin* receivePin, const AM_MEDIA_TYPE& mt);
  HRESULT DecideAllocator(IMemInputPin* input);
  HRESULT EnsureAllocatorSized();
  HRESULT TryAllocator(IMemInputPin* input, IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& wanted);

  ComPtr<IMemInputPin> memInput_;
  ComPtr<IMemAllocator> allocator_;
  bool borrowed_ = false;
};

}  // namespace zelvio::kit
