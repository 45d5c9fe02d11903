// The notification-area icon: the platform's tray services on Win32 (the menu it opens is
// tray_menu_win32.cpp).
#include "tray/tray_icon_win32.h"

#include "platform/platform_win32.h"

#include <shellapi.h>

#include <cstring>

#include "platform/dpi_win32.h"
#include "common/errors.h"

namespace zelvio {

namespace {

// The application icon for the notification area (it has no picture of its own): the small
// icon's size at the main window's scale, from the image of that size or a larger one scaled
// down. Where comctl32 cannot do that, the shared icon, which the shell shrinks itself.
class TrayPicture {
 public:
  TrayPicture(HWND owner, int iconResource) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const int size = SystemMetricForDpi(SM_CXSMICON, WindowDpi(owner));
    icon_ = LoadIconScaledDown(instance, iconResource, size);
    owned_ = icon_ != nullptr;
    if (!icon_) icon_ = LoadIconA(instance, MAKEINTRESOURCEA(iconResource));
  }
  ~TrayPicture() {
    // The shell keeps a copy of its own.
    if (owned_) DestroyIcon(icon_);
  }
  TrayPicture(const TrayPicture&) = delete;
  TrayPicture& operator=(const TrayPicture&) = delete;
  HICON Get() const { return icon_; }

 private:
  HICON icon_ = nullptr;
  bool owned_ = false;
};

NOTIFYICONDATAA IconData(HWND owner, const std::string& tip, HICON icon) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = kTrayIconId;
  data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  data.uCallbackMessage = kTrayIconMessage;
  data.hIcon = icon;
  // The tip holds at most 127 characters and its terminating zero.
  std::strncpy(data.szTip, tip.c_str(), sizeof data.szTip - 1);
  return data;
}

}  // namespace

void Win32Tray::AddTrayIcon() {
  TrayPicture picture(program_.main, program_.iconResource);
  NOTIFYICONDATAA data = IconData(program_.main, program_.title, picture.Get());
  if (!Shell_NotifyIconA(NIM_ADD, &data)) throw ZelvioError("Cannot create shell notification icon");
  shown_ = true;
}

void Win32Tray::RemoveTrayIcon() {
  NOTIFYICONDATAA data = IconData(program_.main, program_.title, nullptr);
  if (!Shell_NotifyIconA(NIM_DELETE, &data)) throw ZelvioError("Cannot remove shell notification icon");
  shown_ = false;
}

void Win32Tray::ReAddTrayIcon() {
  if (!shown_) return;
  TrayPicture picture(program_.main, program_.iconResource);
  NOTIFYICONDATAA data = IconData(program_.main, program_.title, picture.Get());
  Shell_NotifyIconA(NIM_ADD, &data);
}

void Win32Tray::DropTrayIcon() {
  if (!shown_) return;
  NOTIFYICONDATAA data = IconData(program_.main, program_.title, nullptr);
  Shell_NotifyIconA(NIM_DELETE, &data);
  shown_ = false;
}

}  // namespace zelvio
