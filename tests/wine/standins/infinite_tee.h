// Infinite Pin Tee stand-in: one input, outputs that multiply as they get connected, every
// sample to every connected output.
#pragma once
#include <memory>
#include <vector>

#include "kit/base_filter.h"
#include "kit/input_pin.h"
#include "kit/output_pin.h"

namespace standins {

class InfiniteTee;

class TeeInputPin : public zelvio::kit::InputPin {
 public:
  explicit TeeInputPin(InfiniteTee& tee);

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE&) override { return S_OK; }
  HRESULT OnReceive(IMediaSample* sample) override;
  HRESULT OnEndOfStream() override;
  HRESULT OnBeginFlush() override;
  HRESULT OnEndFlush() override;

 private:
  InfiniteTee& tee_;
};

class TeeOutputPin : public zelvio::kit::OutputPin {
 public:
  TeeOutputPin(InfiniteTee& tee, const wchar_t* name);
  HRESULT Forward(IMediaSample* sample);

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  std::vector<zelvio::kit::MediaType> OfferedTypes() override;
  HRESULT CompleteConnect(IPin* peer) override;
  void ChooseBuffers(ALLOCATOR_PROPERTIES& props) override;
  zelvio::kit::ComPtr<IMemAllocator> AllocatorToShare() override;

 private:
  InfiniteTee& tee_;
};

class InfiniteTee : public zelvio::kit::BaseFilter {
 public:
  InfiniteTee();
  static HRESULT Create(REFIID iid, void** out);

  int PinCount() override;
  zelvio::kit::BasePin* PinAt(int index) override;

  TeeInputPin& Input() { return input_; }
  // Called when an output connects: keeps one free output available.
  void EnsureFreeOutput();
  template <class Fn>
  void ForEachConnectedOutput(Fn fn) {
    for (auto& out : outputs_) {
      if (out->IsConnected()) fn(*out);
    }
  }

 private:
  TeeInputPin input_;
  std::vector<std::unique_ptr<TeeOutputPin>> outputs_;
  int nextOutputNumber_ = 1;
};

}  // namespace standins
