// Ending a program the hard way, and the read-only attribute of a file: what a crash, a
// task manager or a user's file properties would do to the program under test.
#include <windows.h>

#include <cstdio>
#include <string>

#include "commands_desktop.h"
#include "output.h"
#include "common/win32/handles.h"
#include "windows_find.h"

namespace zdriver {

namespace {

constexpr DWORD kExitWaitMs = 10000;
constexpr UINT kKilledExitCode = 9;

std::string Hex(unsigned long value) {
  char buffer[16];
  std::snprintf(buffer, sizeof(buffer), "0x%lx", value);
  return buffer;
}

}  // namespace

// terminate <class> [title|-]: TerminateProcess on the window's process, and waits until
// it is gone, so the caller sees the state a killed program leaves behind.
int TerminateCommand(const Args& args) {
  HWND window = FindTopLevel(args[0], ArgOr(args, 1, ""));
  if (window == nullptr) return Fail("no window of class " + args[0]);
  DWORD pid = ProcessOf(window);
  zelvio::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
  if (!process) return Fail("could not open process " + std::to_string(pid));
  if (!TerminateProcess(process.get(), kKilledExitCode)) {
    return Fail("TerminateProcess failed (error " + std::to_string(GetLastError()) + ")");
  }
  if (WaitForSingleObject(process.get(), kExitWaitMs) != WAIT_OBJECT_0) {
    return Fail("the process did not end");
  }
  PrintField("pid", static_cast<long long>(pid));
  PrintFlag("terminated", true);
  return 0;
}

// resources <class> [title|-]: the window's process's own counts of GDI objects, USER
// objects and kernel handles, as the system keeps them. Wine keeps none of them for any
// process (it answers 0 to every count), so "counts: none" says a leak check must look at
// the process's memory instead; on Windows, "counts: system".
int ResourcesCommand(const Args& args) {
  HWND window = FindTopLevel(args[0], ArgOr(args, 1, ""));
  if (window == nullptr) return Fail("no window of class " + args[0]);
  DWORD pid = ProcessOf(window);
  zelvio::UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
  if (!process) return Fail("could not open process " + std::to_string(pid));
  DWORD gdi = GetGuiResources(process.get(), GR_GDIOBJECTS);
  DWORD user = GetGuiResources(process.get(), GR_USEROBJECTS);
  DWORD handles = 0;
  GetProcessHandleCount(process.get(), &handles);
  PrintField("pid", static_cast<long long>(pid));
  PrintField("gdi", static_cast<long long>(gdi));
  PrintField("user", static_cast<long long>(user));
  PrintField("handles", static_cast<long long>(handles));
  // A program with a window owns at least that window and a few handles: all zero means the
  // system does not count.
  PrintField("counts", gdi == 0 && user == 0 && handles == 0 ? "none" : "system");
  return 0;
}

// end-session [logoff|shutdown]: what Windows does at the end of a session, to the main
// window: WM_QUERYENDSESSION, then WM_ENDSESSION(TRUE), each sent and answered, and then
// the process is ended at once, as Windows may do as soon as the second answer is in.
int EndSessionCommand(const Args& args) {
  std::string kind = ArgOr(args, 0, "logoff");
  if (kind != "logoff" && kind != "shutdown") return Fail("kind must be logoff or shutdown");
  LPARAM reason = kind == "logoff" ? ENDSESSION_LOGOFF : 0;
  HWND main = MainWindow();
  if (main == nullptr) return Fail("main window not found");
  DWORD pid = ProcessOf(main);
  zelvio::UniqueHandle process(
      OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process) return Fail("could not open process " + std::to_string(pid));
  DWORD_PTR granted = 0;
  if (!SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, reason, SMTO_NORMAL, kExitWaitMs, &granted)) {
    return Fail("no answer to WM_QUERYENDSESSION");
  }
  PrintFlag("granted", granted != 0);
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, reason, SMTO_NORMAL, kExitWaitMs, &ignored)) {
    return Fail("no answer to WM_ENDSESSION");
  }
  // Whatever the program left for later is lost now, as it would be on Windows.
  bool killed = TerminateProcess(process.get(), kKilledExitCode) != FALSE;
  if (WaitForSingleObject(process.get(), kExitWaitMs) != WAIT_OBJECT_0)
    return Fail("the process did not end");
  DWORD exitCode = 0;
  GetExitCodeProcess(process.get(), &exitCode);
  PrintFlag("killed", killed && exitCode == kKilledExitCode);
  PrintField("pid", static_cast<long long>(pid));
  return 0;
}

// hold-file <path> <ms> [release-file]: opens the file for reading and writing with no
// sharing at all, as an editor or a backup program may, and keeps it so for the given time,
// or until the release file exists.
int HoldFileCommand(const Args& args) {
  long long ms = 0;
  if (!ParseInt(args[1], &ms) || ms <= 0) return Fail("bad time");
  HANDLE raw = CreateFileA(args[0].c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (raw == INVALID_HANDLE_VALUE) {
    return Fail("could not open " + args[0] + " (error " + std::to_string(GetLastError()) + ")");
  }
  zelvio::UniqueHandle file(raw);
  PrintFlag("held", true);
  std::fflush(stdout);
  std::string release = ArgOr(args, 2, "");
  DWORD start = GetTickCount();
  while (GetTickCount() - start < static_cast<DWORD>(ms)) {
    if (!release.empty() && GetFileAttributesA(release.c_str()) != INVALID_FILE_ATTRIBUTES) break;
    Sleep(100);
  }
  file.reset();
  PrintFlag("released", true);
  return 0;
}

// file-attributes <path> [+r|-r]: sets or clears the read-only attribute, then reports.
int FileAttributesCommand(const Args& args) {
  const std::string& path = args[0];
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Fail("no such file: " + path);
  std::string change = ArgOr(args, 1, "");
  if (change == "+r") {
    attributes |= FILE_ATTRIBUTE_READONLY;
  } else if (change == "-r") {
    attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  } else if (!change.empty()) {
    return Fail("change must be +r or -r");
  }
  if (!change.empty() && !SetFileAttributesA(path.c_str(), attributes)) {
    return Fail("SetFileAttributes failed (error " + std::to_string(GetLastError()) + ")");
  }
  attributes = GetFileAttributesA(path.c_str());
  PrintField("attributes", Hex(attributes));
  PrintFlag("readonly", (attributes & FILE_ATTRIBUTE_READONLY) != 0);
  return 0;
}

}  // namespace zdriver
