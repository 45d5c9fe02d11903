// The overlay and cursor-hook programs: launched, commanded and closed from here.
#include "app/form/form_main.h"
#include "companions/launch_wait.h"
#include "common/overlay_command.h"
#include "companions/priority.h"

namespace zelvio {

void TFormMain::SendOverlayCommand(const OverlayCommand& command) {
  WindowHandle target = windows_.FindTopWindow(kOverlayWindowClass, "");
  if (!windows_.WindowExists(target)) {
    boxes_.ShowMessage("Receiver application not found");
    return;
  }
  windows_.SendCopyData(target, EncodeCommandBytes(FormatOverlayCommand(command)));
}

void TFormMain::LaunchOverlayProgram() {
  // The overlay must own its window before the first command; a failed start is silent
  // here and shows up as "Receiver application not found" at the next command.
  processes_.StartProcess(kOverlayProgram, 0, true);
  // The 500 ms the overlay then gets go on work that needs nothing from it, and only what
  // is left of them is slept. The work starts once the overlay is idle: the 500 ms count
  // from there, and beside the overlay's own start it would compete with it for the CPU.
  uint64_t idleSince = clock_.Milliseconds();
  pipeline_.PrepareCatalogs();
  if (DuringLaunchWait) DuringLaunchWait();
  unsigned rest = RemainingLaunchWait(clock_.Milliseconds() - idleSince);
  if (rest > 0) clock_.WaitMilliseconds(rest);
}

void TFormMain::LaunchCursorHookProgram() {
  processes_.StartProcess(kCursorHookProgram, PriorityClassForPosition(TrackBarCursorPriority.Position()),
                          false);
}

void TFormMain::CloseCursorHookProgram() {
  WindowHandle hook = windows_.FindTopWindow(kCursorHookClass, kCursorHookTitle);
  if (hook == 0) return;
  windows_.SendCloseMessage(hook);
}

void TFormMain::CheckBoxEnableCursorClick() {
  // The priority can change only while the hook program is not running.
  if (CheckBoxEnableCursor.Checked()) {
    TrackBarCursorPriority.SetEnabled(false);
    LaunchCursorHookProgram();
    return;
  }
  TrackBarCursorPriority.SetEnabled(true);
  CloseCursorHookProgram();
}

}  // namespace zelvio
