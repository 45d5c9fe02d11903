// abouttest.exe                          checks of the about window; exit code 1 on a failure
// abouttest.exe --click-links            clicks the three links (test_about.sh catches the addresses)
// abouttest.exe --hold MS                shows the window for MS milliseconds
// abouttest.exe --record-link FILE URL   appends URL to FILE (the shell's handler in test_about.sh)
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>

#include "checks.h"
#include "link_clicks.h"
#include "modal_checks.h"

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (argc == 4 && std::strcmp(argv[1], "--record-link") == 0) return abouttest::RecordLink(argv[2], argv[3]);
  if (argc == 3 && std::strcmp(argv[1], "--hold") == 0) {
    abouttest::HoldOpen(instance, static_cast<UINT>(std::atoi(argv[2])));
    return 0;
  }
  ztest::Report report;
  if (argc == 2 && std::strcmp(argv[1], "--click-links") == 0) {
    abouttest::ClickLinks(instance, report);
    return report.Finish();
  }
  abouttest::RunModalChecks(instance, report);
  return report.Finish();
}
