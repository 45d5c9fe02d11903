// The events a filter graph sends while it runs, as the form sees them, and which of them
// mean that the recording has stopped being written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zelvio {

// The graph's event codes that matter here (the values of <evcode.h> and <audevcod.h>).
namespace graph_event {
inline constexpr int32_t kComplete = 0x01;
inline constexpr int32_t kUserAbort = 0x02;
inline constexpr int32_t kErrorAbort = 0x03;
inline constexpr int32_t kStreamErrorStopped = 0x06;
inline constexpr int32_t kStreamErrorStillPlaying = 0x07;
inline constexpr int32_t kErrorStillPlaying = 0x08;
inline constexpr int32_t kDeviceLost = 0x1F;
inline constexpr int32_t kFileClosed = 0x44;
inline constexpr int32_t kErrorAbortEx = 0x45;
inline constexpr int32_t kSoundDeviceInError = 0x200;
}  // namespace graph_event

// One event taken from the graph. The parameters are copied out before the graph frees
// them; a text parameter (the abort-with-text event) arrives in `text`.
struct GraphEvent {
  int32_t code = 0;
  int64_t param1 = 0;
  int64_t param2 = 0;
  std::string text;
};

// Why a recording stopped: a result code to be put into the platform's words, and an
// explanation where the event brings its own (or carries no code at all).
struct RecordingAbort {
  int32_t result = 0;       // 0: the event carries no code
  std::string explanation;  // empty: the platform's text for `result` explains it
};

// The events after which the graph no longer writes the file. Errors the graph survives
// (a stream or filter that goes on playing) and ordinary events give nothing.
std::optional<RecordingAbort> RecordingAbortOf(const GraphEvent& event);

}  // namespace zelvio
