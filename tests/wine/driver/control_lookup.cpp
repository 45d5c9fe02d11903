#include "control_lookup.h"

#include <cstdlib>

#include "ui/control_table.h"

namespace zdriver {

namespace {

struct IdSearch {
  int id = 0;
  HWND found = nullptr;
};

BOOL CALLBACK MatchId(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<IdSearch*>(context);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}

// "#123" gives 123; anything else is a design name looked up in the program's table.
int IdFor(const std::string& name) {
  if (name.size() > 1 && name[0] == '#') return std::atoi(name.c_str() + 1);
  return zelvio::ControlIdFor(name);
}

}  // namespace

FoundControl FindControl(HWND mainWindow, const std::string& name) {
  FoundControl result;
  result.id = IdFor(name);
  if (result.id <= 0) {
    result.error = "no control ID for \"" + name + "\"";
    return result;
  }
  IdSearch search;
  search.id = result.id;
  EnumChildWindows(mainWindow, MatchId, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) {
    result.error = "no window with the ID " + std::to_string(result.id) + " (\"" + name + "\")";
    return result;
  }
  result.window = search.found;
  return result;
}

}  // namespace zdriver
