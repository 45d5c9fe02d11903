// The folder browser and the colour dialog, both modal to the main window.
#include "platform/platform_win32.h"

#include <commdlg.h>
#include <shlobj.h>

#include <array>
#include <memory>

#include "platform/wide_text_win32.h"

namespace zelvio {

namespace {

// Puts the folder browser in the middle of the screen once it exists.
int CALLBACK CentreBrowser(HWND dialog, UINT message, LPARAM, LPARAM) {
  if (message != BFFM_INITIALIZED) return 0;
  RECT r{};
  GetWindowRect(dialog, &r);
  int width = r.right - r.left;
  int height = r.bottom - r.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

struct PidlFree {
  void operator()(LPITEMIDLIST pidl) const { CoTaskMemFree(pidl); }
};

}  // namespace

bool Win32Dialogs::BrowseForFolder(const std::string& title, std::string& folder) {
  // A folder may be named in any language: the browser is asked in UTF-16.
  wchar_t displayName[MAX_PATH] = {};
  const std::wstring wideTitle = Widen(title);
  BROWSEINFOW info{};
  info.hwndOwner = program_.main;
  info.pidlRoot = nullptr;  // the desktop; no folder is preselected
  info.pszDisplayName = displayName;
  info.lpszTitle = wideTitle.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
  info.lpfn = CentreBrowser;
  std::unique_ptr<ITEMIDLIST, PidlFree> chosen(SHBrowseForFolderW(&info));
  if (!chosen) return false;
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(chosen.get(), path)) return false;
  folder = NarrowBounded(path, MAX_PATH);
  return true;
}

bool Win32Dialogs::ChooseColour(uint32_t& colour) {
  // The dialog's sixteen custom colours last for the run, as users expect.
  static std::array<COLORREF, 16> customColours = [] {
    std::array<COLORREF, 16> colours;
    colours.fill(RGB(255, 255, 255));
    return colours;
  }();
  CHOOSECOLORA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = program_.main;
  dialog.rgbResult = colour;
  dialog.lpCustColors = customColours.data();
  dialog.Flags = CC_RGBINIT | CC_ANYCOLOR;
  if (!ChooseColorA(&dialog)) return false;
  colour = dialog.rgbResult;
  return true;
}

}  // namespace zelvio
