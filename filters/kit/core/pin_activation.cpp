#include "kit/core/pin_activation.h"

namespace zelvio::kit {

int32_t ActivatePins(int count, const PinStep& activate, const PinStep& deactivate) {
  for (int i = 0; i < count; ++i) {
    int32_t result = activate(i);
    if (result >= 0) continue;
    // Taking back what a failed pause did: a pin that fails to deactivate now has nothing
    // better to do, and the caller needs the failure that stopped the pause.
    for (int j = i - 1; j >= 0; --j) deactivate(j);
    return result;
  }
  return 0;
}

int32_t DeactivatePins(int count, const PinStep& deactivate) {
  int32_t first = 0;
  for (int i = 0; i < count; ++i) {
    int32_t result = deactivate(i);
    if (result < 0 && first >= 0) first = result;
  }
  return first;
}

}  // namespace zelvio::kit
