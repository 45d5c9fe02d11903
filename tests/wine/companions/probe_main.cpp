// companions_probe.exe: starts Programs\ZelvioCapturer.exe and Programs\HookCursor.exe the
// way the recorder does and checks from outside what the recorder relies on: window
// classes and titles, the overlay's window rectangle after each region, the frame's pixels
// on the screen, the backdrop, robustness against malformed commands, and clean exits.
//
//   wine companions_probe.exe [--dir <folder holding Programs\>] [--hold-ms <ms>]
//
// Prints one line per check and then "N passed, M failed"; exits 1 when a check failed,
// 2 on bad arguments.
#include "probe_checks.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool ReadOptions(int argc, char** argv, ProbeOptions& options) {
  for (int i = 1; i < argc; ++i) {
    bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--dir") == 0 && hasValue) {
      if (!SetCurrentDirectoryA(argv[++i])) {
        std::printf("cannot enter folder %s\n", argv[i]);
        return false;
      }
    } else if (std::strcmp(argv[i], "--hold-ms") == 0 && hasValue) {
      options.holdMs = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
    } else {
      std::printf("usage: companions_probe [--dir <folder>] [--hold-ms <ms>]\n");
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  ProbeOptions options;
  if (!ReadOptions(argc, argv, options)) return 2;

  ztest::Report report;
  RunOverlayChecks(report, options);
  RunHookCursorChecks(report);
  return report.Finish();
}
