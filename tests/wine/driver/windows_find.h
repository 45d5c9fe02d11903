// Finding windows of the program under test from outside its process.
#pragma once

#include <windows.h>

#include <string>

namespace zdriver {

constexpr const char* kMainWindowClass = "TFormMain";

// Top-level window by class, and by title when the title is not empty.
HWND FindTopLevel(const std::string& className, const std::string& title);

// Polls until the window exists (or is gone); returns it, or nullptr after the time-out.
HWND WaitForTopLevel(const std::string& className, const std::string& title, DWORD timeoutMs);
bool WaitForTopLevelGone(const std::string& className, const std::string& title, DWORD timeoutMs);

// FindWindowA("TFormMain", NULL): every control command works on this window.
HWND MainWindow();

DWORD ProcessOf(HWND window);

// A busy or hung target must not hang the harness, so every text read has a time limit.
std::string WindowText(HWND window);
std::string ClassOf(HWND window);

}  // namespace zdriver
