#include "capture/graph/graph_events.h"

namespace zelvio {

namespace {

// A code that is not a failure cannot explain an abort; E_FAIL says at least that much.
constexpr int32_t kUnspecifiedFailure = static_cast<int32_t>(0x80004005u);

int32_t FailureCode(int64_t param) {
  int32_t code = static_cast<int32_t>(param);
  return code < 0 ? code : kUnspecifiedFailure;
}

}  // namespace

std::optional<RecordingAbort> RecordingAbortOf(const GraphEvent& event) {
  using namespace graph_event;
  switch (event.code) {
    case kErrorAbort:
    case kStreamErrorStopped:
      return RecordingAbort{FailureCode(event.param1), {}};
    case kErrorAbortEx:
      // The filter's own words, when it gave some, say more than the code's generic text.
      return RecordingAbort{FailureCode(event.param1), event.text};
    case kFileClosed:
      return RecordingAbort{0, "The file was closed while it was being written"};
    case kDeviceLost:
      // The second parameter tells a removal (0) from a device that came back (1).
      if (event.param2 != 0) return std::nullopt;
      return RecordingAbort{0, "A capture device was removed"};
    case kSoundDeviceInError:
      return RecordingAbort{
          0, "The audio capture device reported an error (" + std::to_string(event.param2) + ")"};
    default:
      return std::nullopt;
  }
}

}  // namespace zelvio
