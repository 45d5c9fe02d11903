// What the program says when a recording cannot start or stops on its own, and when it
// finds, at start-up, a recording that was never finished.
#pragma once

#include <string>

#include "capture/graph/capture_pipeline.h"
#include "capture/graph/graph_events.h"

namespace zelvio {

// "There is not enough space on the disk ($80070070)": the platform's words (trailing
// full stop and blanks dropped) followed by the code; the event's own explanation where it
// brought one; only the explanation for events that carry no code.
std::string AbortReasonText(const RecordingAbort& abort, const std::string& platformText);

// One sentence on what the repair made of a file: "The file was repaired and holds 12.3
// seconds." and the like.
std::string RepairOutcomeText(const avi::RepairResult& report);

// The box after a recording stopped on an error: the file, the reason and, when the file
// was repaired or refused, what became of it.
std::string RecordingStoppedText(const std::string& aviPath, const std::string& reason,
                                 const std::string& repairOutcome);

// The box after Record when the recording could not start: the file it was to write and
// the reason.
std::string RecordingNotStartedText(const std::string& aviPath, const std::string& reason);

// The box at start-up for one unfinished recording.
std::string UnfinishedRecordingText(const std::string& aviPath, const avi::RepairResult& report);

}  // namespace zelvio
