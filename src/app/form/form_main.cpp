// Construction of the main window: the controls of form_controls.h, then their hints,
// items and design values, and the bindings of their events.
#include "app/form/form_main.h"

#include "common/errors.h"
#include "settings/form_storage.h"
#include "settings/ini_file_storage.h"

namespace zelvio {

namespace {

// A control of the list made from its design name, its parent and the values of its "made
// with" column, whatever their number: `MakeControl<Label>{name, parent}("0")`.
template <class Kind>
struct MakeControl {
  std::string_view name;
  Control* parent;
  template <class... Values>
  Kind operator()(const Values&... values) const {
    return Kind(std::string(name), parent, values...);
  }
};

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

// The uses of the control list (form_controls.h) in this file: construction and bindings.
#define ZELVIO_CONSTRUCT_CONTROL(kind, member, parent, made, ...) \
  member(MakeControl<kind>{DesignNameOf(#member), &parent} made),
#define ZELVIO_BIND_HANDLER(kind, member, parent, made, id, place, event, handler) \
  ZELVIO_BIND_##event(member, handler)
#define ZELVIO_BIND_OnClick(member, handler) member.OnClick = [this] { handler(); };
#define ZELVIO_BIND_OnChange(member, handler) member.OnChange = [this] { handler(); };
#define ZELVIO_BIND_OnTimer(member, handler) member.OnTimer = [this] { handler(); };
#define ZELVIO_BIND_None(member, handler)

TFormMain::TFormMain(const Platform& platform, CapturePipeline& pipeline)
    : FormMain(ControlKind::Form, "FormMain", nullptr),
      // clang-format off
      ZELVIO_MAIN_WINDOW_CONTROLS(ZELVIO_CONSTRUCT_CONTROL)
      // clang-format on
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

// clang-format off
void TFormMain::BindHandlers() {
  ZELVIO_MAIN_WINDOW_CONTROLS(ZELVIO_BIND_HANDLER)
}
// clang-format on

Control* TFormMain::FindComponent(const std::string& name) {
  return FormMain.FindNamed(name);
}

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
