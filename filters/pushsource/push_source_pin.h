// The screen source's one output pin: offers the capture size in RGB32, RGB24 and RGB555,
// and turns a frame slot into a timestamped sample.
#pragma once
#include "pushsource/core/pushsource_format.h"
#include "pushsource/core/pushsource_target.h"
#include "kit/output_pin.h"
#include "screen_grabber.h"

namespace zelvio::pushsource {

class PushSourcePin : public kit::OutputPin {
 public:
  explicit PushSourcePin(kit::BaseFilter& filter);

  // Frame time of the connection.
  int64_t FrameTime() const { return format_.avgTimePerFrame; }
  // Follows the overlay if it moved since the connection; the size stays as connected.
  void RefreshOrigin();
  // Grabs, stamps slot * FrameTime and delivers; a preroll frame only completes the
  // pause downstream. Streaming thread only.
  HRESULT DeliverFrame(int64_t slot, bool preroll);

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  std::vector<kit::MediaType> OfferedTypes() override;
  HRESULT CompleteConnect(IPin* peer) override;
  void BreakConnect() override;
  void ChooseBuffers(ALLOCATOR_PROPERTIES& props) override;

 private:
  VideoFormat format_;
  Rect area_;
  ScreenGrabber grabber_;
};

}  // namespace zelvio::pushsource
