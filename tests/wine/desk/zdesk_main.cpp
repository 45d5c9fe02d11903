// zdesk <subcommand> <arguments>: see kCommands. A missing argument prints the usage and
// ends with exit code 2.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "desk.h"

namespace zdesk {

namespace {

constexpr UINT_PTR kLifeTimer = 0x7A00;

struct Command {
  const char* name;
  const char* arguments;
  const char* what;
  size_t required;  // arguments that have no default
  int (*run)(const Args&);
};

const Command kCommands[] = {
    {"picture", "LEFT TOP WIDTH HEIGHT [SECONDS [STEP_MS DX DY]]", "the known test picture, topmost, maybe scrolling", 4, RunPicture},
    {"clock", "LEFT TOP [PERIOD_MS]", "the machine clock as a barcode, topmost", 2, RunClock},
    {"moving", "[LEFT TOP WIDTH HEIGHT]", "moving colour bars for the demonstration run", 0, RunMoving},
    {"layered", "[SECONDS]", "translucent windows of another program", 0, RunLayered},
    {"blit", "LEFT TOP WIDTH HEIGHT [COUNT]", "times the bare screen copy of a snapshot", 4, RunBlit},
    {"hotkey", "try KEY... | hold KEY [SECONDS]", "probes or holds hotkeys", 2, RunHotkey},
    {"bare", "[SECONDS]", "one plain window, the start-up benchmark's yardstick", 0, RunBare},
    {"frame", "[SECONDS]", "a listening stand-in for the overlay: one line per command", 0, RunFrame},
    {"video", "[LEFT TOP WIDTH HEIGHT]", "a video-like picture with grain, new every 33 ms", 0, RunVideo},
    {"waves", "LEFT TOP WIDTH HEIGHT [PERIOD_MS [BAND_TOP]]", "moving colour like a film, maybe a clock band", 4, RunWaves},
    {"zoom", "LEFT TOP WIDTH HEIGHT [PERIOD_MS]", "a Mandelbrot zoom, new every 40 ms", 4, RunZoom},
};

int Usage() {
  for (const Command& c : kCommands)
    std::printf("usage: zdesk %-7s %-44s  %s\n", c.name, c.arguments, c.what);
  return 2;
}

}  // namespace

int IntArg(const Args& args, size_t index, int fallback) {
  return index < args.size() ? std::atoi(args[index].c_str()) : fallback;
}

ScreenRect RectArgs(const Args& args, const ScreenRect& fallback) {
  return {IntArg(args, 0, fallback.left), IntArg(args, 1, fallback.top), IntArg(args, 2, fallback.width),
          IntArg(args, 3, fallback.height)};
}

bool RegisterWindowClass(const char* name, WNDPROC procedure, HBRUSH background) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreatePopup(const char* className, const char* title, DWORD exStyle, const ScreenRect& rect) {
  return CreateWindowExA(exStyle, className, title, WS_POPUP, rect.left, rect.top, rect.width, rect.height,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void CloseAfter(HWND window, int seconds) {
  SetTimer(window, kLifeTimer, static_cast<UINT>(seconds) * 1000u, nullptr);
}

LRESULT CALLBACK DeskProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kLifeTimer) {
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int RunAnimation(const char* className, WNDPROC procedure, const char* title, const ScreenRect& rect,
                 UINT periodMs) {
  if (!RegisterWindowClass(className, procedure)) return 1;
  HWND window = CreatePopup(className, title, 0, rect);
  if (!window) return 1;
  ShowWindow(window, SW_SHOW);
  SetTimer(window, kAnimationTick, periodMs, nullptr);
  return RunMessageLoop();
}

int RunMessageLoop(void (*idle)()) {
  MSG msg;
  if (!idle) {
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    return 0;
  }
  for (;;) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return 0;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    idle();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
}

// The tests read the lines while the program runs, so each goes out at once.
void PrintLine(const char* format, ...) {
  va_list list;
  va_start(list, format);
  std::vfprintf(stdout, format, list);
  va_end(list);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace zdesk

int main(int argc, char** argv) {
  if (argc < 2) return zdesk::Usage();
  for (const zdesk::Command& command : zdesk::kCommands) {
    if (std::strcmp(argv[1], command.name) != 0) continue;
    zdesk::Args args(argv + 2, argv + argc);
    if (args.size() < command.required) return zdesk::Usage();
    return command.run(args);
  }
  return zdesk::Usage();
}
