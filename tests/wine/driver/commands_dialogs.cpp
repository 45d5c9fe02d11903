// A dialog of the program other than a message box (a compressor's settings dialog, say),
// found by its caption and operated through its controls' ids, as a user would.
#include <windows.h>

#include <string>

#include "commands.h"
#include "output.h"
#include "windows_find.h"

namespace zdriver {

namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kSendLimitMs = 2000;

HWND WaitForDialog(const std::string& caption, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND dialog = FindWindowA("#32770", caption.c_str());
    if (dialog != nullptr && IsWindowVisible(dialog)) return dialog;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(kPollMs);
  }
}

bool WaitGone(HWND dialog, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (IsWindow(dialog)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kPollMs);
  }
  return true;
}

// "get:ID", "set:ID=TEXT", "checked:ID", "click:ID" (IDOK is 1, IDCANCEL 2).
int Act(HWND dialog, const std::string& action) {
  size_t colon = action.find(':');
  if (colon == std::string::npos) return Fail("bad action: " + action);
  std::string verb = action.substr(0, colon);
  std::string rest = action.substr(colon + 1);
  std::string value;
  size_t equals = rest.find('=');
  if (equals != std::string::npos) {
    value = rest.substr(equals + 1);
    rest = rest.substr(0, equals);
  }
  long long id = 0;
  if (!ParseInt(rest, &id)) return Fail("bad control id: " + rest);
  HWND item = GetDlgItem(dialog, static_cast<int>(id));
  if (item == nullptr) return Fail("no control " + rest);
  const std::string key = verb + " " + rest;
  DWORD_PTR result = 0;
  if (verb == "get") {
    PrintField(key.c_str(), WindowText(item));
  } else if (verb == "set") {
    SendMessageTimeoutA(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()), SMTO_ABORTIFHUNG, kSendLimitMs,
                        &result);
    PrintField(key.c_str(), WindowText(item));
  } else if (verb == "checked") {
    SendMessageTimeoutA(item, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendLimitMs, &result);
    PrintField(key.c_str(), static_cast<long long>(result));
  } else if (verb == "click") {
    // Posted: the handler may open a box of its own, which would hold a sent message.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item));
    PrintField(key.c_str(), 1);
  } else {
    return Fail("unknown action: " + verb);
  }
  return 0;
}

}  // namespace

int DialogCommand(const Args& args) {
  long long timeoutMs = TimeoutArg(args, 1, 10000);
  if (timeoutMs < 0) return Fail("bad time-out");
  HWND dialog = WaitForDialog(args[0], static_cast<DWORD>(timeoutMs));
  if (dialog == nullptr) return Fail("no dialog \"" + args[0] + "\" within the time-out");
  PrintField("dialog", args[0]);
  for (size_t i = 2; i < args.size(); ++i) {
    if (Act(dialog, args[i]) != 0) return 1;
  }
  if (args.size() > 2) {
    const std::string& last = args.back();
    if (last == "click:1" || last == "click:2") {
      PrintFlag("closed", WaitGone(dialog, 5000));
    }
  }
  return 0;
}

}  // namespace zdriver
