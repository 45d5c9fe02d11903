// The system's folder picker, answered from outside as a user would: the folder is selected
// in its tree and OK pressed.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "args.h"
#include "commands_desktop.h"
#include "output.h"
#include "platform/wide_text_win32.h"
#include "remote_buffer.h"
#include "windows_find.h"

namespace zdriver {

namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kSendWaitMs = 5000;

struct PickerSearch {
  DWORD processId = 0;
  HWND found = nullptr;
};

// A dialog of the program's process that holds a tree of folders.
BOOL CALLBACK MatchPicker(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<PickerSearch*>(context);
  if (ClassOf(window) != "#32770" || ProcessOf(window) != search->processId || !IsWindowVisible(window))
    return TRUE;
  if (FindWindowExA(window, nullptr, "SysTreeView32", nullptr) == nullptr) return TRUE;
  search->found = window;
  return FALSE;
}

HWND WaitForPicker(DWORD processId, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    PickerSearch search;
    search.processId = processId;
    EnumWindows(MatchPicker, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(kPollMs);
  }
}

// The text of a tree item; TVM_GETITEMW is not carried across processes, so the structure
// and its text buffer live in the picker's process.
std::string ItemText(HWND tree, HTREEITEM item) {
  constexpr size_t kTextChars = 260;
  RemoteBuffer remote(ProcessOf(tree), sizeof(TVITEMW) + kTextChars * sizeof(wchar_t));
  if (!remote.Valid()) return std::string();
  TVITEMW request = {};
  request.mask = TVIF_TEXT;
  request.hItem = item;
  request.pszText = reinterpret_cast<LPWSTR>(remote.Address() + sizeof(TVITEMW));
  request.cchTextMax = kTextChars;
  wchar_t text[kTextChars] = {};
  if (!remote.Write(0, &request, sizeof(request)) || !remote.Write(sizeof(TVITEMW), text, sizeof(text)))
    return std::string();
  DWORD_PTR ok = 0;
  if (!SendMessageTimeoutW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.Address()),
                           SMTO_ABORTIFHUNG, kSendWaitMs, &ok) ||
      !ok) {
    return std::string();
  }
  if (!remote.Read(sizeof(TVITEMW), text, sizeof(text) - sizeof(wchar_t))) return std::string();
  return zelvio::Narrow(text);
}

HTREEITEM Next(HWND tree, UINT relation, HTREEITEM item) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item), SMTO_ABORTIFHUNG,
                      kSendWaitMs, &result);
  return reinterpret_cast<HTREEITEM>(result);
}

// The child of `parent` (expanded first, which makes the picker list its folders) whose
// text is `name`, or for a drive letter "Z:" the child whose text names that drive.
HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::string& name) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent), SMTO_ABORTIFHUNG,
                      kSendWaitMs, &ignored);
  const bool drive = name.size() == 2 && name[1] == ':';
  for (HTREEITEM child = Next(tree, TVGN_CHILD, parent); child != nullptr;
       child = Next(tree, TVGN_NEXT, child)) {
    std::string text = ItemText(tree, child);
    if (text == name || (drive && text.find("(" + name + ")") != std::string::npos)) return child;
  }
  return nullptr;
}

// Walks from the desktop through the computer and the drive down the path's folders.
HTREEITEM FindFolder(HWND tree, const std::string& path, std::string& error) {
  HTREEITEM desktop = Next(tree, TVGN_ROOT, nullptr);
  HTREEITEM at = nullptr;
  for (HTREEITEM child = Next(tree, TVGN_CHILD, desktop); child != nullptr && at == nullptr;
       child = Next(tree, TVGN_NEXT, child)) {
    at = ChildNamed(tree, child, path.substr(0, 2));
  }
  if (at == nullptr) {
    error = "no item holds the drive " + path.substr(0, 2);
    return nullptr;
  }
  size_t begin = 3;  // past the drive, "Z:\"
  while (begin < path.size()) {
    size_t end = path.find('\\', begin);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(begin, end - begin);
    begin = end + 1;
    if (part.empty()) continue;
    at = ChildNamed(tree, at, part);
    if (at == nullptr) {
      error = "no item named '" + part + "'";
      return nullptr;
    }
  }
  return at;
}

}  // namespace

// pick-folder <path> [timeout_ms]: in the open folder picker, the path's folder is selected
// in the tree, as a click would, one level opened after the other, and OK is pressed.
int PickFolderCommand(const Args& args) {
  long long timeout = TimeoutArg(args, 1, 10000);
  if (timeout < 0) return Fail("bad timeout");
  HWND main = MainWindow();
  if (main == nullptr) return Fail("main window not found");
  HWND picker = WaitForPicker(ProcessOf(main), static_cast<DWORD>(timeout));
  if (picker == nullptr) return Fail("no folder picker came up");
  HWND tree = FindWindowExA(picker, nullptr, "SysTreeView32", nullptr);
  std::string error;
  HTREEITEM folder = FindFolder(tree, args[0], error);
  if (folder == nullptr) return Fail(error);
  DWORD_PTR selected = 0;
  if (!SendMessageTimeoutW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(folder),
                           SMTO_ABORTIFHUNG, kSendWaitMs, &selected) ||
      !selected) {
    return Fail("the folder could not be selected");
  }
  PostMessageW(picker, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  const DWORD start = GetTickCount();
  while (IsWindow(picker)) {
    if (GetTickCount() - start >= static_cast<DWORD>(timeout)) return Fail("the picker stayed open");
    Sleep(kPollMs);
  }
  PrintField("picked", args[0]);
  return 0;
}

}  // namespace zdriver
