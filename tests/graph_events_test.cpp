// Which events of the capture graph mean that the file is no longer being written, and
// what each says about why.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "capture/graph/graph_events.h"

namespace zelvio {
namespace {

constexpr int32_t kDiskFull = static_cast<int32_t>(0x80070070u);
constexpr int32_t kUnspecified = static_cast<int32_t>(0x80004005u);

struct EventCase {
  const char* name;
  GraphEvent event;
  bool aborts;
  int32_t result;
  const char* explanation;
};

TEST(RecordingAbortOf, TellsTheEventsAfterWhichNothingIsWritten) {
  using namespace graph_event;
  const EventCase cases[] = {
      {"abort with a code", {kErrorAbort, kDiskFull, 0, ""}, true, kDiskFull, ""},
      {"stream stopped on an error", {kStreamErrorStopped, kDiskFull, 0, ""}, true, kDiskFull, ""},
      {"abort with a success code is still an abort", {kErrorAbort, 0, 0, ""}, true, kUnspecified, ""},
      {"abort with its own text",
       {kErrorAbortEx, kUnspecified, 0, "Disk quota exceeded"},
       true,
       kUnspecified,
       "Disk quota exceeded"},
      {"abort with an empty text", {kErrorAbortEx, kDiskFull, 0, ""}, true, kDiskFull, ""},
      {"file closed under the writer",
       {kFileClosed, 0, 0, ""},
       true,
       0,
       "The file was closed while it was being written"},
      {"device removed", {kDeviceLost, 0x1234, 0, ""}, true, 0, "A capture device was removed"},
      {"audio input error",
       {kSoundDeviceInError, 9, 7, ""},
       true,
       0,
       "The audio capture device reported an error (7)"},
      {"device back again", {kDeviceLost, 0x1234, 1, ""}, false, 0, ""},
      {"stream error, still playing", {kStreamErrorStillPlaying, kUnspecified, 0, ""}, false, 0, ""},
      {"error, still playing", {kErrorStillPlaying, kUnspecified, 0, ""}, false, 0, ""},
      {"complete", {kComplete, 0, 0, ""}, false, 0, ""},
      {"user abort (a video window closed)", {kUserAbort, 0, 0, ""}, false, 0, ""},
      {"clock changed", {0x0D, 0, 0, ""}, false, 0, ""},
      {"paused", {0x0E, 0, 0, ""}, false, 0, ""},
  };
  for (const EventCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<RecordingAbort> abort = RecordingAbortOf(c.event);
    ASSERT_EQ(abort.has_value(), c.aborts);
    if (!abort) continue;
    EXPECT_EQ(abort->result, c.result);
    EXPECT_EQ(abort->explanation, c.explanation);
  }
}

}  // namespace
}  // namespace zelvio
