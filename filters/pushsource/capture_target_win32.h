// Finds the overlay window and reads what to capture from it.
#pragma once
#include "pushsource/core/pushsource_target.h"

namespace zelvio::pushsource {

CaptureTarget ReadCaptureTarget();

}  // namespace zelvio::pushsource
