// Ending a program the hard way, and the read-only attribute of a file: what a crash, a
// task manager or a user's file properties would do to the program under test.
#include <windows.h>

#include <cstdio>
#include <string>

#include "commands_desktop.h"
#include "output.h"
#include "unique_handle.h"
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
  UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
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
