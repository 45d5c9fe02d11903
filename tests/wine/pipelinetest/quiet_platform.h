// A Platform for the pipeline test: the pipeline only reports errors through it, which
// the test keeps to check them; everything else answers neutrally. (When the Platform
// interface grows, this class needs the new members too.)
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace pipelinetest {

class QuietPlatform : public zelvio::Platform {
 public:
  std::vector<std::string> errors;

  void ShowMessage(const std::string& text) override { errors.push_back("message: " + text); }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  zelvio::WindowHandle FindWindow(const std::string&, const std::string&) override { return 0; }
  bool IsWindow(zelvio::WindowHandle) override { return false; }
  void SendCopyData(zelvio::WindowHandle, const std::vector<uint8_t>&) override {}
  void SendCloseMessage(zelvio::WindowHandle) override {}
  bool GetWindowRect(zelvio::WindowHandle, zelvio::Rect&) override { return false; }
  bool StartProcess(const std::string&, uint32_t, bool) override { return false; }
  void Sleep(unsigned) override {}
  zelvio::ProcessIdentity CurrentProcess() override { return {}; }
  bool ProcessRunning(const zelvio::ProcessIdentity&) override { return false; }
  uint64_t Milliseconds() override { return 0; }
  void ProcessMessages() override;
  zelvio::ScreenSize GetScreenSize() override { return {}; }
  zelvio::LocalTime Now() override { return {}; }
  std::string CurrentDirectory() override { return {}; }
  bool RegisterHotKey(int, unsigned, unsigned) override { return false; }
  void UnregisterHotKey(int) override {}
  bool BrowseForFolder(const std::string&, std::string&) override { return false; }
  bool ChooseColour(uint32_t&) override { return false; }
  std::string TextFromAnsi(const std::string& ansi) override { return ansi; }
  bool TextToAnsi(const std::string& text, std::string& ansi) override {
    ansi = text;
    return true;
  }
  std::string ExecutableDirectory() override { return {}; }
  bool ReadFile(const std::string&, std::string&) override { return false; }
  bool FileExists(const std::string&) override { return false; }
  bool IsReadOnlyFile(const std::string&) override { return false; }
  bool ReplaceFile(const std::string&, const std::string&) override { return false; }
  bool RemoveFile(const std::string&) override { return false; }
  bool FolderExists(const std::string&) override { return false; }
  std::vector<std::string> ListFiles(const std::string&, const std::string&) override { return {}; }
  zelvio::WindowPlacement GetPlacement() override { return {}; }
  void SetPlacement(const zelvio::WindowPlacement&) override {}
  bool MainWindowVisible() override { return false; }
  bool ProgramMinimized() override { return false; }
  void SetMainWindowMaximized(bool) override {}
  void PostMinimize() override {}
  int PixelsPerInch() override { return 96; }
  void AddTrayIcon() override {}
  void RemoveTrayIcon() override {}
  void SetTaskbarButton(bool) override {}
  void RestoreMainWindow() override {}
  void BringProgramToFront() override {}
  void CloseMainWindow() override {}
  void ClearLayeredStyles() override {}
  void SaveScreenBitmap(const zelvio::Rect&, const std::string&) override {}
};

// Dispatches window messages for `milliseconds`, as the program's message loop would.
void PumpMessages(unsigned milliseconds);

}  // namespace pipelinetest
