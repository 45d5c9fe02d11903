// The layered-window timer: makes translucent windows of other programs capturable.
#include "app/form/form_main.h"

namespace zelvio {

void TFormMain::CheckBoxEnableCaptureTransparencyClick() {
  if (CheckBoxEnableCaptureTransparency.Checked()) {
    SpinEditTransparencyClock.SetEnabled(false);
    TimerTransparencyCapture.SetInterval(static_cast<unsigned>(SpinEditTransparencyClock.Value()));
    TimerTransparencyCapture.SetEnabled(true);
    return;
  }
  SpinEditTransparencyClock.SetEnabled(true);
  TimerTransparencyCapture.SetEnabled(false);
}

void TFormMain::TimerTransparencyCaptureTimer() { screen_.ClearLayeredStyles(); }

}  // namespace zelvio
