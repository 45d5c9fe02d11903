// Construction of the main window: controls with their captions, hints, items, ranges and
// design values, and the bindings of their events.
#include "app/form/form_main.h"

#include "common/errors.h"
#include "settings/form_storage.h"
#include "settings/ini_file_storage.h"

namespace zelvio {

namespace {

using Orientation = TrackBar::Orientation;

const std::vector<std::string> kDimensionItems = {
    "160x120",
    "176x132",
    "176x144",
    "240x180",
    "320x240",
    "352x240 (NTSC) (VCD)",
    "352x288 (PAL) (VCD)",
    "400x320",
    "480x480 (NTSC) (SVCD) ",
    "480x576 (PAL) (SVCD)",
    "624x488",
    "640x360 (360p Youtube 16:9)",
    "640x480  (Youtube 4:3)",
    "640x512",
    "648x486",
    "672x488",
    "704x480",
    "704x576",
    "720x480 (NTSC) (DVD)",
    "720x576 (PAL) (DVD)",
    "800x600",
    "864x480 (480p Youtube 16:9)",
    "1280x720 (720p Youtube HD 16:9)",
    "1920x1080 (1080p Youtube HD 16:9)",
};

const std::vector<std::string> kModifierItems = {"NONE", "ALT", "CTRL", "SHIFT", "WIN"};

}  // namespace

TFormMain::TFormMain(const Platform& platform, CapturePipeline& pipeline)
    : FormMain(ControlKind::Form, "FormMain", nullptr),
      JvImgBtnStartPause("JvImgBtnStartPause", &FormMain, kPictureRecord),
      JvImgBtnStop("JvImgBtnStop", &FormMain, kPictureStop),
      JvImgBtnSnapshot("JvImgBtnSnapshot", &FormMain, kPictureSnapshot),
      BitBtnAbout("BitBtnAbout", &FormMain, "About"),
      PanelOptions(ControlKind::Panel, "PanelOptions", &FormMain),
      GroupBoxOptions(ControlKind::GroupBox, "GroupBoxOptions", &PanelOptions),
      PageControlOptions(ControlKind::PageControl, "PageControlOptions", &GroupBoxOptions),
      TabSheetScreen(ControlKind::TabSheet, "TabSheetScreen", &PageControlOptions),
      PageControlScreen(ControlKind::PageControl, "PageControlScreen", &TabSheetScreen),
      TabSheetDimension(ControlKind::TabSheet, "TabSheetDimension", &PageControlScreen),
      GroupBoxDimension(ControlKind::GroupBox, "GroupBoxDimension", &TabSheetDimension),
      RadioButtonDimFullscreen("RadioButtonDimFullscreen", &GroupBoxDimension, "Fullscreen"),
      RadioButtonDimPreDefined("RadioButtonDimPreDefined", &GroupBoxDimension, "Predefined"),
      ComboBoxDimension("ComboBoxDimension", &GroupBoxDimension),
      RadioButtonDimCustom("RadioButtonDimCustom", &GroupBoxDimension, "Custom"),
      BitBtnDecDimWidth("BitBtnDecDimWidth", &GroupBoxDimension, "-"),
      TrackBarDimX("TrackBarDimX", &GroupBoxDimension, Orientation::Horizontal, 4, 10, 4),
      BitBtnIncDimWidth("BitBtnIncDimWidth", &GroupBoxDimension, "+"),
      BitBtnDecDimHeight("BitBtnDecDimHeight", &GroupBoxDimension, "-"),
      TrackBarDimY("TrackBarDimY", &GroupBoxDimension, Orientation::Vertical, 4, 10, 4),
      BitBtnIncDimHeight("BitBtnIncDimHeight", &GroupBoxDimension, "+"),
      LabelDimXValue("LabelDimXValue", &GroupBoxDimension, "0"),
      LabelDimX("LabelDimX", &GroupBoxDimension, "X"),
      LabelDimYValue("LabelDimYValue", &GroupBoxDimension, "0"),
      TabSheetPosition(ControlKind::TabSheet, "TabSheetPosition", &PageControlScreen),
      GroupBoxPosition(ControlKind::GroupBox, "GroupBoxPosition", &TabSheetPosition),
      RadioButtonPosTopLeft("RadioButtonPosTopLeft", &GroupBoxPosition, "Top Left"),
      RadioButtonPosTopCenter("RadioButtonPosTopCenter", &GroupBoxPosition, "Top Center"),
      RadioButtonPosTopRight("RadioButtonPosTopRight", &GroupBoxPosition, "Top Right"),
      RadioButtonPosCenterLeft("RadioButtonPosCenterLeft", &GroupBoxPosition, "Center Left"),
      RadioButtonPosCenter("RadioButtonPosCenter", &GroupBoxPosition, "Center"),
      RadioButtonPosCenterRight("RadioButtonPosCenterRight", &GroupBoxPosition, "Center Right"),
      RadioButtonPosBottomLeft("RadioButtonPosBottomLeft", &GroupBoxPosition, "Bottom Left"),
      RadioButtonPosBottomCenter("RadioButtonPosBottomCenter", &GroupBoxPosition, "Bottom Center"),
      RadioButtonPosBottomRight("RadioButtonPosBottomRight", &GroupBoxPosition, "Bottom Right"),
      RadioButtonPosCustom("RadioButtonPosCustom", &GroupBoxPosition, "Custom"),
      TrackBarPosX("TrackBarPosX", &GroupBoxPosition, Orientation::Horizontal, 0, 10, 0),
      BitBtnDecPosX("BitBtnDecPosX", &GroupBoxPosition, "-"),
      BitBtnIncPosX("BitBtnIncPosX", &GroupBoxPosition, "+"),
      TrackBarPosY("TrackBarPosY", &GroupBoxPosition, Orientation::Vertical, 0, 10, 0),
      BitBtnDecPosY("BitBtnDecPosY", &GroupBoxPosition, "-"),
      BitBtnIncPosY("BitBtnIncPosY", &GroupBoxPosition, "+"),
      LabelPosXValue("LabelPosXValue", &GroupBoxPosition, "0"),
      LabelPosX("LabelPosX", &GroupBoxPosition, "X"),
      LabelPosYValue("LabelPosYValue", &GroupBoxPosition, "0"),
      TabSheetStyle(ControlKind::TabSheet, "TabSheetStyle", &PageControlScreen),
      GroupBoxStyle(ControlKind::GroupBox, "GroupBoxStyle", &TabSheetStyle),
      CheckBoxEnableBg("CheckBoxEnableBg", &GroupBoxStyle, "Enable background "),
      LabelBgColor("LabelBgColor", &GroupBoxStyle, "Background color"),
      ColorBoxBg("ColorBoxBg", &GroupBoxStyle),
      TabSheetVideo(ControlKind::TabSheet, "TabSheetVideo", &PageControlOptions),
      LabelVideoCompression("LabelVideoCompression", &TabSheetVideo, "Compression"),
      ComboBoxVideoCompressors("ComboBoxVideoCompressors", &TabSheetVideo),
      ButtonConfigureVideoCompressor("ButtonConfigureVideoCompressor", &TabSheetVideo, "Configure"),
      LabelVideoFPS("LabelVideoFPS", &TabSheetVideo, "FPS"),
      ComboBoxFps("ComboBoxFps", &TabSheetVideo),
      LabelFpsInfo("LabelFpsInfo", &TabSheetVideo, "Require program restart"),
      Label1("Label1", &TabSheetVideo,
             "If you have problems please take a look at the  About box and (or) visit our website for a "
             "more detailed documentation."),
      TabSheetAudio(ControlKind::TabSheet, "TabSheetAudio", &PageControlOptions),
      LabelCapture("LabelCapture", &TabSheetAudio, "Device"),
      ComboBoxAudioDevices("ComboBoxAudioDevices", &TabSheetAudio),
      CheckBoxEnableAudio("CheckBoxEnableAudio", &TabSheetAudio, "Enable"),
      LabelAudioInputLines("LabelAudioInputLines", &TabSheetAudio, "Input lines"),
      ComboBoxInputLines("ComboBoxInputLines", &TabSheetAudio),
      LabelAudioFormat("LabelAudioFormat", &TabSheetAudio, "Format"),
      ListBoxAudioFormat("ListBoxAudioFormat", &TabSheetAudio),
      LabelInputLinesIndex("LabelInputLinesIndex", &TabSheetAudio, "0"),
      LabelAudioFormatIndex("LabelAudioFormatIndex", &TabSheetAudio, "0"),
      LabelIsAudioEnabled("LabelIsAudioEnabled", &TabSheetAudio, "0"),
      TabSheetGeneral(ControlKind::TabSheet, "TabSheetGeneral", &PageControlOptions),
      GroupBoxHotkeys(ControlKind::GroupBox, "GroupBoxHotkeys", &TabSheetGeneral),
      LabelHotkeyStart("LabelHotkeyStart", &GroupBoxHotkeys, "Start"),
      ComboBoxVKStart("ComboBoxVKStart", &GroupBoxHotkeys),
      LabelPlusStart("LabelPlusStart", &GroupBoxHotkeys, "+"),
      ComboBoxKeyStart("ComboBoxKeyStart", &GroupBoxHotkeys),
      LabelHotkeyPause("LabelHotkeyPause", &GroupBoxHotkeys, "Pause"),
      ComboBoxVKPause("ComboBoxVKPause", &GroupBoxHotkeys),
      LabelPlusPause("LabelPlusPause", &GroupBoxHotkeys, "+"),
      ComboBoxKeyPause("ComboBoxKeyPause", &GroupBoxHotkeys),
      LabelHotkeyStop("LabelHotkeyStop", &GroupBoxHotkeys, "Stop"),
      ComboBoxVKStop("ComboBoxVKStop", &GroupBoxHotkeys),
      LabelPlusStop("LabelPlusStop", &GroupBoxHotkeys, "+"),
      ComboBoxKeyStop("ComboBoxKeyStop", &GroupBoxHotkeys),
      LabelHotkeySnapshot("LabelHotkeySnapshot", &GroupBoxHotkeys, "Snapshot"),
      ComboBoxVKSnapshot("ComboBoxVKSnapshot", &GroupBoxHotkeys),
      LabelPlusSnapshot("LabelPlusSnapshot", &GroupBoxHotkeys, "+"),
      ComboBoxKeySnapshot("ComboBoxKeySnapshot", &GroupBoxHotkeys),
      LabelHotkeyToggleBg("LabelHotkeyToggleBg", &GroupBoxHotkeys, "Toggle background"),
      ComboBoxVKToggleBg("ComboBoxVKToggleBg", &GroupBoxHotkeys),
      LabelPlusToggleBg("LabelPlusToggleBg", &GroupBoxHotkeys, "+"),
      ComboBoxKeyToggleBg("ComboBoxKeyToggleBg", &GroupBoxHotkeys),
      BitBtnSetHotkeys("BitBtnSetHotkeys", &GroupBoxHotkeys, "Set hotkeys"),
      GroupBoxCursor(ControlKind::GroupBox, "GroupBoxCursor", &TabSheetGeneral),
      CheckBoxEnableCursor("CheckBoxEnableCursor", &GroupBoxCursor, "Enable (Show)"),
      LabelCursorPriority("LabelCursorPriority", &GroupBoxCursor, "Priority Low - High"),
      TrackBarCursorPriority("TrackBarCursorPriority", &GroupBoxCursor, Orientation::Horizontal, 0, 3, 1),
      GroupBoxOutputPaths(ControlKind::GroupBox, "GroupBoxOutputPaths", &TabSheetGeneral),
      LabelOutputVideo("LabelOutputVideo", &GroupBoxOutputPaths, "Screencasts"),
      EditOutputVideoPath("EditOutputVideoPath", &GroupBoxOutputPaths),
      BitBtnOutputVideoPath("BitBtnOutputVideoPath", &GroupBoxOutputPaths, "..."),
      LabelOutputScreenshots("LabelOutputScreenshots", &GroupBoxOutputPaths, "Screenshots"),
      EditOutputScreenshotsPath("EditOutputScreenshotsPath", &GroupBoxOutputPaths),
      BitBtnOutputScreenshotsPath("BitBtnOutputScreenshotsPath", &GroupBoxOutputPaths, "..."),
      BitBtnRestoreDefaults("BitBtnRestoreDefaults", &TabSheetGeneral, "Restore defaults"),
      GroupBoxOnMinimize(ControlKind::GroupBox, "GroupBoxOnMinimize", &TabSheetGeneral),
      CheckBoxHideToTray("CheckBoxHideToTray", &GroupBoxOnMinimize, "Hide to tray"),
      GroupBoxTransparency(ControlKind::GroupBox, "GroupBoxTransparency", &TabSheetGeneral),
      CheckBoxEnableCaptureTransparency("CheckBoxEnableCaptureTransparency", &GroupBoxTransparency,
                                        "Enable (Capture)"),
      LabelEvery("LabelEvery", &GroupBoxTransparency, "Every"),
      SpinEditTransparencyClock("SpinEditTransparencyClock", &GroupBoxTransparency, 100, 5000, 1000),
      LabelMs("LabelMs", &GroupBoxTransparency, "ms"),
      LabelDuration("LabelDuration", &FormMain, "00:00:00.000"),
      TimerDuration("Timer", &FormMain, 1),
      TimerTransparencyCapture("TimerTransparencyCapture", &FormMain, 1000),
      boxes_(platform.boxes),
      windows_(platform.windows),
      processes_(platform.processes),
      clock_(platform.clock),
      messages_(platform.messages),
      files_(platform.files),
      text_(platform.text),
      screen_(platform.screen),
      mainWindow_(platform.mainWindow),
      hotkeys_(platform.hotkeys),
      tray_(platform.tray),
      dialogs_(platform.dialogs),
      pipeline_(pipeline) {
  FormMain.SetCaption(kMainWindowCaption);
  GroupBoxOptions.SetCaption("Options");
  TabSheetScreen.SetCaption("Screen");
  TabSheetDimension.SetCaption("Dimension");
  TabSheetPosition.SetCaption("Position");
  TabSheetStyle.SetCaption("Style");
  TabSheetVideo.SetCaption("Video");
  TabSheetAudio.SetCaption("Audio");
  TabSheetGeneral.SetCaption("General");
  GroupBoxHotkeys.SetCaption("Hotkeys");
  GroupBoxCursor.SetCaption("Cursor");
  GroupBoxOutputPaths.SetCaption("Output paths");
  GroupBoxOnMinimize.SetCaption("On minimize");
  GroupBoxTransparency.SetCaption("Transparency");
  JvImgBtnStartPause.SetHint("Record/Pause");
  JvImgBtnStop.SetHint("Stop");
  JvImgBtnSnapshot.SetHint("Snapshot");
  TrackBarCursorPriority.SetHint("<--Lower  ---  Higher--> priority");

  FillLists();

  // Design values that differ from a control's own start state.
  JvImgBtnStop.SetEnabled(false);
  RadioButtonDimPreDefined.SetChecked(true);
  RadioButtonPosCenter.SetChecked(true);
  CheckBoxEnableCursor.SetChecked(true);
  TrackBarCursorPriority.SetEnabled(false);
  EditOutputVideoPath.SetEnabled(false);
  EditOutputScreenshotsPath.SetEnabled(false);
  LabelInputLinesIndex.SetVisible(false);
  LabelAudioFormatIndex.SetVisible(false);
  LabelIsAudioEnabled.SetVisible(false);

  // Handlers are bound after the design values, so setting those runs nothing.
  BindHandlers();

  // The settings file is read while the window is being built; nothing is applied yet.
  iniStorage_ = std::make_unique<IniFileStorage>(files_, text_);
  formStorage_ = std::make_unique<FormStorage>(FormMain, *iniStorage_, mainWindow_, screen_);

  pipeline_.SetGraphEventHandler(
      [this](const GraphEvent& event) { Guarded([&] { GraphEventReceived(event); }); });
}

TFormMain::~TFormMain() { pipeline_.SetGraphEventHandler(nullptr); }

void TFormMain::FillLists() {
  ComboBoxDimension.SetItems(kDimensionItems);
  ComboBoxDimension.SetItemIndex(21);
  ColorBoxBg.SetSelected(0xFF0000);
  ComboBoxFps.SetItems({"5", "10", "20", "25", "30"});
  ComboBoxFps.SetItemIndex(3);

  for (const HotkeyRow& row : HotkeyRows()) {
    row.modifier.SetItems(kModifierItems);
    row.modifier.SetItemIndex(0);
    row.key.SetItems(row.keys);
    row.key.SetItemIndex(row.defaultKey);
  }
}

void TFormMain::BindHandlers() {
  JvImgBtnStartPause.OnClick = [this] { JvImgBtnStartPauseClick(); };
  JvImgBtnStop.OnClick = [this] { JvImgBtnStopClick(); };
  JvImgBtnSnapshot.OnClick = [this] { JvImgBtnSnapshotClick(); };
  BitBtnAbout.OnClick = [this] { BitBtnAboutClick(); };

  // The twenty region bindings all lead to the same update.
  auto region = [this] { ComboBoxDimensionChange(); };
  ComboBoxDimension.OnChange = region;
  TrackBarDimX.OnChange = region;
  TrackBarDimY.OnChange = region;
  TrackBarPosX.OnChange = region;
  TrackBarPosY.OnChange = region;
  for (RadioButton* radio :
       {&RadioButtonDimFullscreen, &RadioButtonDimPreDefined, &RadioButtonDimCustom, &RadioButtonPosTopLeft,
        &RadioButtonPosTopCenter, &RadioButtonPosTopRight, &RadioButtonPosCenterLeft, &RadioButtonPosCenter,
        &RadioButtonPosCenterRight, &RadioButtonPosBottomLeft, &RadioButtonPosBottomCenter,
        &RadioButtonPosBottomRight, &RadioButtonPosCustom}) {
    radio->OnClick = region;
  }
  CheckBoxEnableBg.OnClick = region;
  ColorBoxBg.OnClick = region;

  BitBtnDecDimWidth.OnClick = [this] { BitBtnDecDimWidthClick(); };
  BitBtnIncDimWidth.OnClick = [this] { BitBtnIncDimWidthClick(); };
  BitBtnDecDimHeight.OnClick = [this] { BitBtnDecDimHeightClick(); };
  BitBtnIncDimHeight.OnClick = [this] { BitBtnIncDimHeightClick(); };
  BitBtnDecPosX.OnClick = [this] { BitBtnDecPosXClick(); };
  BitBtnIncPosX.OnClick = [this] { BitBtnIncPosXClick(); };
  BitBtnDecPosY.OnClick = [this] { BitBtnDecPosYClick(); };
  BitBtnIncPosY.OnClick = [this] { BitBtnIncPosYClick(); };

  ComboBoxVideoCompressors.OnChange = [this] { ComboBoxVideoCompressorsChange(); };
  ButtonConfigureVideoCompressor.OnClick = [this] { ButtonConfigureVideoCompressorClick(); };
  ComboBoxFps.OnChange = [this] { ComboBoxFpsChange(); };
  ComboBoxAudioDevices.OnChange = [this] { ComboBoxAudioDevicesChange(); };
  CheckBoxEnableAudio.OnClick = [this] { CheckBoxEnableAudioClick(); };
  ComboBoxInputLines.OnChange = [this] { ComboBoxInputLinesChange(); };
  ListBoxAudioFormat.OnClick = [this] { ListBoxAudioFormatClick(); };

  BitBtnSetHotkeys.OnClick = [this] { BitBtnSetHotkeysClick(); };
  CheckBoxEnableCursor.OnClick = [this] { CheckBoxEnableCursorClick(); };
  BitBtnOutputVideoPath.OnClick = [this] { BitBtnOutputVideoPathClick(); };
  BitBtnOutputScreenshotsPath.OnClick = [this] { BitBtnOutputScreenshotsPathClick(); };
  BitBtnRestoreDefaults.OnClick = [this] { BitBtnRestoreDefaultsClick(); };
  CheckBoxEnableCaptureTransparency.OnClick = [this] { CheckBoxEnableCaptureTransparencyClick(); };

  TimerDuration.OnTimer = [this] { TimerTimer(); };
  TimerTransparencyCapture.OnTimer = [this] { TimerTransparencyCaptureTimer(); };
}

Control* TFormMain::FindComponent(const std::string& name) { return FormMain.FindNamed(name); }

void TFormMain::ShowErrorBox(const std::exception& error) { boxes_.ShowError(ErrorBoxText(error.what())); }

void TFormMain::Guarded(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& error) {
    ShowErrorBox(error);
  }
}

void TFormMain::BitBtnAboutClick() {
  if (ShowAboutWindow) ShowAboutWindow();
}

}  // namespace zelvio
