// Typing into an edit box of the main window and leaving it, as a user would: the new
// text, the change notification, then the loss of focus that makes a spin edit bring its
// value into range.
#include <windows.h>

#include <string>

#include "commands_desktop.h"
#include "control_lookup.h"
#include "control_type.h"
#include "output.h"
#include "platform/wide_text_win32.h"
#include "windows_find.h"

namespace zdriver {

namespace {

constexpr UINT kHandleWaitMs = 3000;

bool Notify(HWND edit, WORD code) {
  WPARAM wParam = MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(edit)), code);
  return SendWithin(GetParent(edit), WM_COMMAND, wParam, reinterpret_cast<LPARAM>(edit), kHandleWaitMs,
                    nullptr);
}

}  // namespace

// set-text <designName|#id> <text>
int SetTextCommand(const Args& args) {
  HWND main = MainWindow();
  if (main == nullptr) return Fail("main window not found");
  FoundControl found = FindControl(main, args[0]);
  if (found.window == nullptr) return Fail(found.error);
  HWND edit = found.window;
  if (TypeOf(edit) != ControlType::Edit) return Fail("not an edit box");
  if (!IsWindowEnabled(edit)) return Fail("control is disabled");
  if ((GetWindowLongA(edit, GWL_STYLE) & ES_READONLY) != 0) return Fail("edit box is read-only");
  // WM_SETTEXT is carried across processes with its text, in UTF-16 so that any script goes.
  const std::wstring text = zelvio::Widen(args[1]);
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                           kHandleWaitMs, &answer)) {
    return Fail("the edit box did not take the text");
  }
  bool handled = Notify(edit, EN_CHANGE) && Notify(edit, EN_KILLFOCUS);
  PrintFlag("handled", handled);
  PrintField("text", WindowText(edit));
  return 0;
}

}  // namespace zdriver
