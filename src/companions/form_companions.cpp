// The overlay and cursor-hook programs: launched, commanded and closed from here.
#include "app/form_main.h"
#include "companions/overlay_command.h"
#include "companions/priority.h"

namespace zelvio {

void TFormMain::SendOverlayCommand(const OverlayCommand& command) {
  WindowHandle target = platform_.FindWindow(kOverlayWindowClass, "");
  if (!platform_.IsWindow(target)) {
    platform_.ShowMessage("Receiver application not found");
    return;
  }
  platform_.SendCopyData(target, EncodeCommandBytes(FormatOverlayCommand(command)));
}

void TFormMain::LaunchOverlayProgram() {
  // The overlay must own its window before the first command; a failed start is silent
  // here and shows up as "Receiver application not found" at the next command.
  platform_.StartProcess(kOverlayProgram, 0, true);
  platform_.Sleep(500);
}

void TFormMain::LaunchCursorHookProgram() {
  platform_.StartProcess(kCursorHookProgram, PriorityClassForPosition(TrackBarCursorPriority.Position()),
                         false);
}

void TFormMain::CloseCursorHookProgram() {
  WindowHandle hook = platform_.FindWindow(kCursorHookClass, kCursorHookTitle);
  if (hook == 0) return;
  platform_.SendCloseMessage(hook);
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
