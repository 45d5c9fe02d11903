// zdesk.exe: the windows and probes the end-to-end tests put on the desktop beside the
// recorder, one subcommand each (zdesk_main.cpp lists them). The parts every subcommand
// needs, a window class, a popup, the message loop and the end of its life, are here once.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "barcode.h"

namespace zdesk {

using Args = std::vector<std::string>;

// The argument at index as a number, or fallback where it is missing.
int IntArg(const Args& args, size_t index, int fallback);

struct ScreenRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// LEFT TOP WIDTH HEIGHT from the first four arguments; a missing one keeps its fallback.
ScreenRect RectArgs(const Args& args, const ScreenRect& fallback = {});

// Registers a class whose procedure ends in DeskProcedure. Registering a name twice is harmless.
bool RegisterWindowClass(const char* name, WNDPROC procedure, HBRUSH background = nullptr);

// A borderless popup covering exactly that screen rectangle, not shown yet.
HWND CreatePopup(const char* className, const char* title, DWORD exStyle, const ScreenRect& rect);

// The window closes after that many seconds; its WM_DESTROY then ends the message loop.
void CloseAfter(HWND window, int seconds);

// What every subcommand's windows do after their own messages: close when the time is up, end
// the loop when destroyed.
LRESULT CALLBACK DeskProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The life of an animated picture: a plain popup of that class over the rectangle, shown,
// sent WM_TIMER with kAnimationTick every period, until it closes. Returns the exit code.
constexpr UINT_PTR kAnimationTick = 1;
int RunAnimation(const char* className, WNDPROC procedure, const char* title, const ScreenRect& rect,
                 UINT periodMs);

// Dispatches messages until WM_QUIT. With an idle step, the step also runs about every
// millisecond between messages.
int RunMessageLoop(void (*idle)() = nullptr);

void PrintLine(const char* format, ...);

// The machine clock that zdesk clock and zdesk waves draw as a barcode: the performance
// counter in milliseconds, shown modulo kClockModulo (so whole seconds stay multiples of 1000).
// lib/check_av_sync.py and scripts/recording_figures.py repeat the shape and the modulo.
constexpr ztest::BarcodeShape kClockShape{20, 12, 24};
constexpr unsigned kClockModulo = 1000000;
long long ClockMs();

// A topmost popup over the rectangle whose picture `paint` makes in a pixel buffer (0x00RRGGBB,
// top row first, width x height) and which goes to the screen in one piece, once per period.
// The frame number follows the clock (time since the start / period), not the paints: a paint
// that comes late skips frames, as a video player drops them, and the picture keeps its pace.
// Prints "<title> window <handle> at LEFT,TOP WIDTHxHEIGHT"; stays until closed.
using PixelPainter = void (*)(long long frame, int width, int height, std::vector<uint32_t>& pixels);
int RunPixelAnimation(const char* className, const char* title, const ScreenRect& rect, UINT periodMs,
                      PixelPainter paint);

int RunPicture(const Args& args);
int RunClock(const Args& args);
int RunMoving(const Args& args);
int RunLayered(const Args& args);
int RunBlit(const Args& args);
int RunHotkey(const Args& args);
int RunBare(const Args& args);
int RunFrame(const Args& args);
int RunVideo(const Args& args);
int RunWaves(const Args& args);
int RunZoom(const Args& args);

}  // namespace zdesk
