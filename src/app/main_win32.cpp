// Program entry: COM for the window thread, the common controls, then the main window
// around the form, its first showing, and the message loop until the window has closed.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <memory>

#include "about/about_window_win32.h"
#include "app/application_window_win32.h"
#include "app/form/form_main.h"
#include "app/main_window_win32.h"
#include "app/resources_win32.h"
#include "capture/graph/directshow_pipeline.h"
#include "common/errors.h"
#include "platform/platform_win32.h"
#include "platform/startup_trace_win32.h"

namespace {

using zelvio::kApplicationTitle;
using zelvio::StartupTraceMark;

// Apartment-threaded COM (and OLE, which the folder browser's new dialog style needs) for
// the one thread that runs everything.
class OleSession {
 public:
  OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleSession() {
    if (ok_) OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

 private:
  bool ok_;
};

void StartCommonControls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC =
      ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS;
  InitCommonControlsEx(&controls);
}

// Taken and dispatched as UTF-16, so a character typed into an edit box (a folder name in
// any script) is not squeezed through the ANSI code page on its way there.
int RunMessageLoop(zelvio::MainWindowHost& host) {
  MSG msg;
  for (;;) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return 1;
    if (host.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

int RunProgram(HINSTANCE instance) {
  zelvio::Win32Platform platform(kApplicationTitle, IDI_ZELVIO);
  std::unique_ptr<zelvio::ApplicationWindow> application;
  std::unique_ptr<zelvio::MainWindowHost> host;
  std::unique_ptr<zelvio::CapturePipeline> pipeline;
  std::unique_ptr<zelvio::TFormMain> form;
  try {
    pipeline = zelvio::CreateDirectShowPipeline(
        platform.boxes, [&host]() -> void* { return host ? host->Handle() : nullptr; });
    StartupTraceMark("capture pipeline created");
    form = std::make_unique<zelvio::TFormMain>(platform.Services(), *pipeline);
    StartupTraceMark("form constructed");
  } catch (const std::exception& error) {
    platform.boxes.ShowError(zelvio::ErrorBoxText(error.what()));
    return 1;
  }

  // The windows need nothing from the overlay program, so they are made in the wait after
  // launching it (the first creation step) instead of before it: the main window and the
  // window that carries the taskbar button, the about window, the controls' windows.
  HWND about = nullptr;
  form->DuringLaunchWait = [&] {
    // The taskbar button and Alt+Tab show the application title, so a window of that
    // title carries them and owns the main window.
    application = std::make_unique<zelvio::ApplicationWindow>(instance, kApplicationTitle);
    platform.SetApplicationWindow(application->Handle());
    host = std::make_unique<zelvio::MainWindowHost>(instance, platform, application->Handle());
    if (!host->Handle()) return;
    application->SetMainWindow(host->Handle());
    platform.messages.SetMessageFilter([&host](MSG& msg) { return host->PreTranslate(msg); });
    application->OnMinimize = [&form] {
      if (form) form->Guarded([&form] { form->ApplicationOnMinimize(); });
    };
    StartupTraceMark("main window created (hidden)");
    // Created once, hidden; every press of "About" shows the same window modally.
    about = zelvio::CreateAboutWindow(instance, host->Handle());
    StartupTraceMark("about window created");
    host->Attach(*form);
    StartupTraceMark("control windows created");
  };
  form->Guarded([&form] { form->FormCreate(); });
  form->DuringLaunchWait = nullptr;
  StartupTraceMark("FormCreate done");
  if (!host || !host->Handle()) {
    // Without a window the program cannot run; the overlay it has started is told to go.
    form->Guarded([&form] { form->FormClose(); });
    return 1;
  }
  form->ShowAboutWindow = [about, &host] { zelvio::ShowAboutModal(about, host->Handle()); };

  // The stored placement and the show steps come before the window is first seen.
  form->Show();
  StartupTraceMark("show steps done");
  ShowWindow(application->Handle(), SW_SHOWNOACTIVATE);
  StartupTraceMark("taskbar window shown");
  ShowWindow(host->Handle(), platform.mainWindow.InitialShowCommand());
  StartupTraceMark("main window shown");
  UpdateWindow(host->Handle());
  host->FocusFirstControl();
  StartupTraceMark("window painted");
  // After the start-up order has run and the window can be seen: the boxes about
  // recordings that a crash or a full disk left unfinished.
  form->Guarded([&form] { form->RecoverUnfinishedRecordings(); });
  StartupTraceMark("recovery scan done");
  zelvio::StartupTraceEnd();

  int exitCode = RunMessageLoop(*host);

  // The window is gone; the form lets go of its peers before either goes away, and the
  // capture pipeline (with its filters) goes last, while COM is still up.
  form->ShowAboutWindow = nullptr;
  application->OnMinimize = nullptr;
  host->Detach();
  form.reset();
  pipeline.reset();
  return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  StartupTraceMark("entry");
  OleSession ole;
  StartupTraceMark("OLE initialised");
  StartCommonControls();
  StartupTraceMark("common controls");
  return RunProgram(instance);
}
