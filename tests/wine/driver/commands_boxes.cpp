// Commands on the program's message boxes.
#include <windows.h>

#include "commands.h"
#include "message_boxes.h"
#include "output.h"

namespace zdriver {

namespace {

constexpr long long kDefaultWaitMs = 10000;
constexpr long long kDefaultQuietMs = 2000;
constexpr DWORD kDismissWaitMs = 5000;

bool WaitArg(const Args& args, long long fallback, DWORD* waitMs) {
  long long value = TimeoutArg(args, 0, fallback);
  if (value < 0) return false;
  *waitMs = static_cast<DWORD>(value);
  return true;
}

}  // namespace

int MessageBoxCommand(const Args& args) {
  DWORD waitMs = 0;
  if (!WaitArg(args, kDefaultWaitMs, &waitMs)) return Fail("bad time-out");
  MessageBoxInfo box = WaitForMessageBox(waitMs);
  if (box.window == nullptr) return Fail("no message box within the time-out");
  PrintMessageBox(box);
  return 0;
}

int DismissCommand(const Args& args) {
  DWORD waitMs = 0;
  if (!WaitArg(args, kDefaultWaitMs, &waitMs)) return Fail("bad time-out");
  MessageBoxInfo box = WaitForMessageBox(waitMs);
  if (box.window == nullptr) return Fail("no message box within the time-out");
  PrintMessageBox(box);
  if (!DismissMessageBox(box.window, kDismissWaitMs)) return Fail("the box did not close");
  PrintField("dismissed", 1);
  return 0;
}

// Answers every box until none has come for quietMs; prints each one's text in order.
int DismissAllCommand(const Args& args) {
  DWORD quietMs = 0;
  if (!WaitArg(args, kDefaultQuietMs, &quietMs)) return Fail("bad time-out");
  long long count = 0;
  for (;;) {
    MessageBoxInfo box = WaitForMessageBox(quietMs);
    if (box.window == nullptr) break;
    PrintMessageBox(box);
    if (!DismissMessageBox(box.window, kDismissWaitMs)) return Fail("a box did not close");
    ++count;
  }
  PrintField("dismissed", count);
  return 0;
}

}  // namespace zdriver
