// The DirectShow capture pipeline, created by the program entry.
#pragma once

#include <functional>
#include <memory>

#include "capture/graph/capture_pipeline.h"

namespace zelvio {

class PlatformBoxes;

// `mainWindow` gives the window that owns the compressor's dialog; the pipeline is made
// before that window exists, so it asks when it needs it.
std::unique_ptr<CapturePipeline> CreateDirectShowPipeline(PlatformBoxes& boxes,
                                                          std::function<void*()> mainWindow);

}  // namespace zelvio
