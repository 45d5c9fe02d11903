// Starting the companion programs and talking to them the way the recorder does.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A started process; a process still running when the holder goes is terminated, so a
// failed check never leaves an overlay behind on the display.
class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  // CreateProcessA with the relative command line, as the recorder starts its companions.
  bool Start(const std::string& commandLine);
  bool WaitIdle(DWORD timeoutMs) const;
  bool WaitExit(DWORD timeoutMs) const;
  DWORD ExitCode() const;
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_; }

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// The window of the given class that belongs to the process, or null.
HWND FindProcessWindow(DWORD processId, const char* className);

// WM_COPYDATA with dwData 0; returns the receiver's answer (TRUE when it took the command).
LRESULT SendBytes(HWND target, HWND sender, const void* data, DWORD size);
LRESULT SendCommandText(HWND target, HWND sender, const std::string& text);

// Lets our own windows paint and the time pass.
void PumpMessagesFor(DWORD milliseconds);

std::string WindowText(HWND window);
std::string RectText(const RECT& rect);
bool SameRect(const RECT& a, LONG left, LONG top, LONG right, LONG bottom);
