// The screen source filter: one output pin, a live streaming thread paced against the
// graph's clock.
#pragma once
#include "kit/base_filter.h"
#include "kit/live_loop.h"
#include "push_source_ids.h"
#include "push_source_pin.h"

namespace zelvio::pushsource {

class PushSourceFilter : public kit::BaseFilter,
                         public IAMFilterMiscFlags,
                         public IZelvioPushSourceStats,
                         private kit::LiveLoop::Body {
 public:
  PushSourceFilter();
  ~PushSourceFilter() override;

  KIT_FORWARD_UNKNOWN(kit::BaseFilter)

  STDMETHODIMP_(ULONG) GetMiscFlags() override;
  STDMETHODIMP GetCounts(LONGLONG* delivered, LONGLONG* skipped) override;

  int PinCount() override { return 1; }
  kit::BasePin* PinAt(int index) override { return index == 0 ? &pin_ : nullptr; }

  static HRESULT Create(REFIID iid, void** out);

 protected:
  void* FindInterface(REFIID iid) override;
  HRESULT OnPause(FILTER_STATE from) override;
  HRESULT OnRun(REFERENCE_TIME start) override;
  void EndStreaming() override;
  bool IsLiveSource() const override { return true; }

 private:
  void CueStep(kit::LiveLoop& loop) override;
  void StreamStep(kit::LiveLoop& loop) override;
  void DeliverSlot(int64_t slot);

  PushSourcePin pin_;
  kit::LiveLoop loop_;
  int64_t nextSlot_ = 0;
  volatile LONGLONG delivered_ = 0;
  volatile LONGLONG skipped_ = 0;
  kit::StepLog steps_;  // the benchmark's build only (kit/filter_timing.h)
};

}  // namespace zelvio::pushsource
