// The DirectShow capture pipeline, created by the program entry.
#pragma once

#include <memory>

#include "capture/capture_pipeline.h"

namespace zelvio {

class Platform;

std::unique_ptr<CapturePipeline> CreateDirectShowPipeline(Platform& platform, void* mainWindow);

}  // namespace zelvio
