#include "message_boxes.h"

#include "control_type.h"
#include "output.h"
#include "windows_find.h"

namespace zdriver {

namespace {

constexpr const char* kDialogClass = "#32770";
constexpr const char* kProgramTitle = "Zelvio";
constexpr int kMessageTextId = 0xFFFF;  // the id message boxes give their text
constexpr DWORD kPollMs = 50;

struct BoxSearch {
  DWORD processId = 0;  // 0: match by caption instead
  HWND found = nullptr;
};

bool IsProgramBox(HWND window, const BoxSearch& search) {
  if (ClassOf(window) != kDialogClass) return false;
  if (!IsWindowVisible(window)) return false;
  if (search.processId != 0) return ProcessOf(window) == search.processId;
  return WindowText(window) == kProgramTitle;
}

BOOL CALLBACK MatchBox(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<BoxSearch*>(context);
  if (!IsProgramBox(window, *search)) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindMessageBox() {
  BoxSearch search;
  HWND main = MainWindow();
  if (main != nullptr) search.processId = ProcessOf(main);
  EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct Parts {
  std::string text;
  std::string buttons;
  bool hasIcon = false;
};

BOOL CALLBACK CollectPart(HWND child, LPARAM context) {
  auto* parts = reinterpret_cast<Parts*>(context);
  ControlType type = TypeOf(child);
  if (type == ControlType::PushButton) {
    if (!parts->buttons.empty()) parts->buttons += "|";
    parts->buttons += WindowText(child);
    return TRUE;
  }
  if (type != ControlType::Label) return TRUE;
  LONG style = GetWindowLongA(child, GWL_STYLE);
  // The box keeps an icon control even without an icon, hidden and empty.
  if ((style & SS_TYPEMASK) == SS_ICON) {
    if ((style & WS_VISIBLE) != 0 && Query(child, STM_GETICON) != 0) parts->hasIcon = true;
    return TRUE;
  }
  // Fallback for a box that does not use the usual id for its text.
  if (parts->text.empty()) parts->text = WindowText(child);
  return TRUE;
}

MessageBoxInfo ReadBox(HWND box) {
  MessageBoxInfo info;
  info.window = box;
  info.caption = WindowText(box);
  Parts parts;
  EnumChildWindows(box, CollectPart, reinterpret_cast<LPARAM>(&parts));
  HWND text = GetDlgItem(box, kMessageTextId);
  info.text = text != nullptr ? WindowText(text) : parts.text;
  info.buttons = parts.buttons;
  info.hasIcon = parts.hasIcon;
  return info;
}

}  // namespace

MessageBoxInfo WaitForMessageBox(DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND box = FindMessageBox();
    if (box != nullptr) return ReadBox(box);
    if (GetTickCount() - start >= timeoutMs) return MessageBoxInfo();
    Sleep(kPollMs);
  }
}

void PrintMessageBox(const MessageBoxInfo& box) {
  PrintField("caption", box.caption);
  PrintField("text", box.text);
  PrintField("buttons", box.buttons);
  PrintFlag("icon", box.hasIcon);
}

bool DismissMessageBox(HWND box, DWORD timeoutMs) {
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  DWORD start = GetTickCount();
  while (IsWindow(box)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kPollMs);
  }
  return true;
}

}  // namespace zdriver
