// The main window: every control with its design name, and the handlers by their design
// names. It talks to the outside only through its controls, the platform services and the
// capture pipeline, so it runs headless in native tests.
// Its members are defined by topic in form_<topic>.cpp files beside this header
// (form_recording.cpp, form_region.cpp, ...); the subsystems they drive know nothing of it.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/form/form_controls.h"
#include "app/form/recording_state.h"
#include "capture/graph/capture_pipeline.h"
#include "tray/tray_items.h"
#include "platform/platform.h"

namespace zelvio {

class IniFileStorage;
class FormStorage;
struct OverlayCommand;

inline constexpr const char* kApplicationTitle = "Zelvio";
inline constexpr const char* kMainWindowCaption = "Zelvio - The Free Screen Recorder";
inline constexpr const char* kOverlayProgram = "Programs\\ZelvioCapturer.exe";
inline constexpr const char* kCursorHookProgram = "Programs\\HookCursor.exe";
inline constexpr const char* kCursorHookClass = "TFormHookCursor";
inline constexpr const char* kCursorHookTitle = "FormHookCursor";
// Where videos and screenshots go when no folder is chosen, below the current directory.
inline constexpr const char* kDefaultVideoFolder = "\\Output\\Screencasts";
inline constexpr const char* kDefaultScreenshotFolder = "\\Output\\Screenshots";

// The toolbar buttons' pictures, in image-list order.
enum ButtonPicture {
  kPictureRecord,
  kPicturePause,
  kPictureStop,
  kPictureSnapshot,
  kPictureSnapshotFlash,
  kButtonPictureCount
};

class TFormMain {
 public:
  TFormMain(const Platform& platform, CapturePipeline& pipeline);
  ~TFormMain();
  TFormMain(const TFormMain&) = delete;
  TFormMain& operator=(const TFormMain&) = delete;

  // ---- Lifecycle, driven by the window host in this order ----
  void FormCreate();
  // First showing: the stored settings, then the show steps. Later showings do nothing.
  void Show();
  // Close request: save the settings into the document, then FormClose. Runs once per
  // run: false when a close already ran or is still under way (a box of it is open and a
  // second request came in), and the caller then leaves the window alone.
  bool CloseQuery();
  // True from the start of the close path until its last step has run.
  bool Closing() const { return closing_ && !closed_; }
  // The window is going away: a last save if none happened, then the settings file. Once.
  void Destroy();
  // Windows ends the session (log-off, shut-down) and may end the process as soon as the
  // message has been answered: the whole close path and the settings file, now.
  void EndSession();

  // Set by the program entry: work of its own that needs nothing from the overlay program
  // (creating the windows), done in the wait after launching it.
  std::function<void()> DuringLaunchWait;

  // Runs an action the way a handler runs: an error ends it and shows the error box.
  void Guarded(const std::function<void()>& action);
  // Every control by its design name, or nullptr.
  Control* FindComponent(const std::string& name);

  // ---- Handlers (design names) ----
  void FormShow();
  void FormClose();
  void ComboBoxFpsChange();
  void SetCheckedWithoutClick(CheckBox& box, bool checked);

  void JvImgBtnStartPauseClick();
  void JvImgBtnStopClick();
  // An event of the capture graph. One that means the file is no longer being written
  // stops a running or paused recording as Stop does and says why in one error box.
  void GraphEventReceived(const GraphEvent& event);
  // Start-up, once the window shows: every recording in the screencast folder that still
  // has its recovery notes was never finished; each is repaired and reported in a box.
  void RecoverUnfinishedRecordings();
  void TimerTimer();
  TrayRecordingItems PopupMenuMainChange() const;

  void UpdateRegion();
  void ComboBoxDimensionChange();
  void BitBtnDecDimWidthClick();
  void BitBtnIncDimWidthClick();
  void BitBtnDecDimHeightClick();
  void BitBtnIncDimHeightClick();
  void BitBtnDecPosXClick();
  void BitBtnIncPosXClick();
  void BitBtnDecPosYClick();
  void BitBtnIncPosYClick();

  void SendOverlayCommand(const OverlayCommand& command);
  void LaunchOverlayProgram();
  void LaunchCursorHookProgram();
  void CloseCursorHookProgram();
  void CheckBoxEnableCursorClick();

  void EnumerateAudioDevices();
  void EnumerateVideoCompressors();
  void ListAudioLinesAndFormats();
  void BuildCaptureGraph();
  void ComboBoxVideoCompressorsChange();
  void ButtonConfigureVideoCompressorClick();
  void ComboBoxAudioDevicesChange();
  void ComboBoxInputLinesChange();
  void ListBoxAudioFormatClick();
  void CheckBoxEnableAudioClick();

  void RegisterHotkeys();
  void UnregisterHotkeys();
  void BitBtnSetHotkeysClick();
  void HotkeyMessage(int id);

  void JvImgBtnSnapshotClick();
  void TakeSnapshot();

  void BitBtnRestoreDefaultsClick();
  void BitBtnOutputVideoPathClick();
  void BitBtnOutputScreenshotsPathClick();

  void ApplicationOnMinimize();
  void TrayIconClick();
  void ShowTaskbarButton(bool show);
  void TrayRestoreClick();
  void TrayRecordClick();
  void TrayPauseClick();
  void TrayStopClick();
  void TraySnapshotClick();
  void TrayToggleBgClick();
  void TrayExitClick();
  // A command of the tray menu (tray/tray_items.h) runs its item's handler, guarded as
  // a handler runs; false when `id` is not one of the menu's.
  bool RunTrayCommand(unsigned id);

  void CheckBoxEnableCaptureTransparencyClick();
  void TimerTransparencyCaptureTimer();

  void BitBtnAboutClick();
  // The host shows the about window; set by the window host.
  std::function<void()> ShowAboutWindow;

  RecordingState State() const { return recordingState_; }
  FormStorage* Storage() { return formStorage_.get(); }

  // ---- Controls: the window, then every control of form_controls.h in its order ----
  Panel FormMain;
#define ZELVIO_DECLARE_CONTROL(kind, member, ...) kind member;
  ZELVIO_MAIN_WINDOW_CONTROLS(ZELVIO_DECLARE_CONTROL)

 private:
  void BindHandlers();
  void FillLists();
  void StepTrackBar(TrackBar& bar, int delta);
  // One line of the hotkeys box: the action's id, its two lists, the keys the second one
  // offers and the one it starts on, and the message when the system refuses the pair.
  struct HotkeyRow {
    int id;
    ComboBox& modifier;
    ComboBox& key;
    std::vector<std::string> keys;
    int defaultKey;
    const char* failure;
  };
  std::vector<HotkeyRow> HotkeyRows();
  std::string DefaultFolder(const char* suffix);
  void FillEmptyOutputPath(Edit& edit, const char* suffix);
  void PickOutputFolder(const std::string& title, Edit& edit);
  void ShowErrorBox(const std::exception& error);
  void ShowStoppedControls();
  void RecordingFailed(const RecordingAbort& abort);
  // After a failure: Stopped, the frame green, the timer off and the graph stopped, a
  // failure of that stop left to the caller's one box.
  void StopAfterFailure();
  // A fresh Record whose graph did not run: back to Stopped, nothing left behind, one box.
  void RecordingDidNotStart(const std::exception& error);
  // A failure as the boxes report it: its code where it carries one, else its own text.
  static RecordingAbort AbortOf(const std::exception& error);
  // "<the platform's words for the code> ($CODE)", or the failure's own explanation.
  std::string AbortReason(const RecordingAbort& abort);
  std::string ScreencastFolder();
  std::string FreeScreencastPath();
  void WriteRecoveryNotes();
  // The notes of a recording that never ran, and their line in the recording list.
  void ForgetRecoveryNotes();
  std::string RepairAfterFailure();
  // Repairs the recording started last from its notes (a complete file is only checked);
  // removes the notes of a repaired or complete file. None without notes.
  std::optional<avi::RepairResult> RepairStoppedRecording();
  // The start-up repair of one unfinished recording, by its notes file: one box at most.
  void RecoverRecording(const std::string& notesPath);
  std::string RecordingListPath();
  std::vector<std::string> ReadRecordingList();
  void WriteRecordingList(const std::vector<std::string>& paths);
  void RememberRecording(const std::string& notesPath);
  void FinishStoppedFile(const std::optional<RecordingAbort>& stopFailure, std::exception_ptr failure);
  void ApplyAudioListing(const AudioListing& listing);

  // The platform by topic: each handler calls through the one its work belongs to, so a
  // topic file's reach to the outside shows in the names it uses.
  PlatformBoxes& boxes_;
  PlatformWindows& windows_;
  PlatformProcesses& processes_;
  PlatformClock& clock_;
  PlatformMessages& messages_;
  PlatformFiles& files_;
  PlatformText& text_;
  PlatformScreen& screen_;
  PlatformMainWindow& mainWindow_;
  PlatformHotkeys& hotkeys_;
  PlatformTray& tray_;
  PlatformDialogs& dialogs_;
  CapturePipeline& pipeline_;
  RecordingState recordingState_ = RecordingState::Stopped;
  bool shown_ = false;
  bool closing_ = false;
  bool closed_ = false;
  bool destroyed_ = false;
  std::string builtPath_;           // the file of the last graph build
  std::string recordingPath_;       // the file of the recording started last
  std::string announcedFrameRate_;  // the frame rate the overlay was told at start-up
  std::unique_ptr<IniFileStorage> iniStorage_;
  std::unique_ptr<FormStorage> formStorage_;
};

}  // namespace zelvio
