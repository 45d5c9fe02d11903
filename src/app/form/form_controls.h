// The main window's controls, declared once. Each line is one control: its kind (the class
// that holds it), its member and design name, its parent, what it is made with (caption,
// picture, range), its fixed window ID, its place at 96 dpi and the handler its event runs.
// The form's members, their construction, the handler bindings and the control table that
// the window lays itself out by are all made from this list, so a control is added here and
// in its handler, nowhere else. The stored properties keep a table of their own
// (settings/stored_props.cpp): its order is the settings file's key order.
//
// Every row goes through a macro the user of the list names (the X below), so each use picks
// the columns it needs without redefining a shared one.
//
// Rules of the columns, which the window and a test driver in another process rely on:
//   - Design names and IDs are the program's outside face: the settings file keys on the
//     names and the UI driver finds a control by name through its ID. IDs are written out
//     number by number so that adding a control never moves another one's: never rename a
//     control or renumber a row; a new control takes the next free ID.
//   - Parents come before their children; the rows are the form's creation order.
//   - A place is (x, y, width, height, layout flags) within the parent's content area, as
//     ui/control_table.h describes; labels beside drop-down lists sit 4 pixels below the
//     list's top so both share a baseline.
//   - The event column names the control's event (None: no handler is bound); the twenty
//     region options all run the same update, ComboBoxDimensionChange.
#pragma once

#include <string_view>

#include "ui/control_table.h"
#include "ui/controls.h"

namespace zelvio {

inline constexpr TrackBar::Orientation kHorizontal = TrackBar::Orientation::Horizontal;
inline constexpr TrackBar::Orientation kVertical = TrackBar::Orientation::Vertical;

inline constexpr const char* kLabel1Caption =
    "If you have problems please take a look at the  About box and (or) visit our website for a "
    "more detailed documentation.";

// A control's design name is its member's name, except for the duration timer: its design
// name, "Timer", would hide the Timer class as a member's name.
constexpr std::string_view DesignNameOf(std::string_view member) {
  return member == "TimerDuration" ? "Timer" : member;
}

// clang-format off
//X(kind,        member,                            parent,               made with,                   ID,   place,                             event,    handler)
#define ZELVIO_MAIN_WINDOW_CONTROLS(X) \
  /* ---- The window: the toolbar, then the options below it ---- */ \
  X(ImageButton, JvImgBtnStartPause,                FormMain,             (kPictureRecord),            1000, (8, 8, 40, 32, kLayoutPlain),      OnClick,  JvImgBtnStartPauseClick) \
  X(ImageButton, JvImgBtnStop,                      FormMain,             (kPictureStop),              1001, (52, 8, 40, 32, kLayoutPlain),     OnClick,  JvImgBtnStopClick) \
  X(ImageButton, JvImgBtnSnapshot,                  FormMain,             (kPictureSnapshot),          1002, (96, 8, 40, 32, kLayoutPlain),     OnClick,  JvImgBtnSnapshotClick) \
  X(Button,      BitBtnAbout,                       FormMain,             ("About"),                   1003, (-8, 8, 75, 32, kLayoutPlain),     OnClick,  BitBtnAboutClick) \
  X(Panel,       PanelOptions,                      FormMain,             (),                          1004, (6, 46, -6, 350, kLayoutPlain),    None,     -) \
  X(GroupBox,    GroupBoxOptions,                   PanelOptions,         ("Options"),                 1005, (0, 0, 0, 0, kLayoutPlain),        None,     -) \
  X(PageControl, PageControlOptions,                GroupBoxOptions,      (),                          1006, (6, 16, -6, -6, kLayoutTabImages), None,     -) \
  /* ---- Screen ---- */ \
  X(TabSheet,    TabSheetScreen,                    PageControlOptions,   ("Screen"),                  1007, (kFillsContainer),                 None,     -) \
  X(PageControl, PageControlScreen,                 TabSheetScreen,       (),                          1008, (6, 6, -6, -6, kLayoutPlain),      None,     -) \
  X(TabSheet,    TabSheetDimension,                 PageControlScreen,    ("Dimension"),               1009, (kFillsContainer),                 None,     -) \
  X(GroupBox,    GroupBoxDimension,                 TabSheetDimension,    (),                          1010, (6, 4, -6, -6, kLayoutPlain),      None,     -) \
  X(RadioButton, RadioButtonDimFullscreen,          GroupBoxDimension,    ("Fullscreen"),              1011, (12, 20, 140, 17, kLayoutPlain),   OnClick,  ComboBoxDimensionChange) \
  X(RadioButton, RadioButtonDimPreDefined,          GroupBoxDimension,    ("Predefined"),              1012, (12, 44, 140, 17, kLayoutPlain),   OnClick,  ComboBoxDimensionChange) \
  X(ComboBox,    ComboBoxDimension,                 GroupBoxDimension,    (),                          1013, (30, 64, 230, 21, kLayoutPlain),   OnChange, ComboBoxDimensionChange) \
  X(RadioButton, RadioButtonDimCustom,              GroupBoxDimension,    ("Custom"),                  1014, (12, 96, 140, 17, kLayoutPlain),   OnClick,  ComboBoxDimensionChange) \
  X(Button,      BitBtnDecDimWidth,                 GroupBoxDimension,    ("-"),                       1015, (30, 122, 23, 23, kLayoutPlain),   OnClick,  BitBtnDecDimWidthClick) \
  X(TrackBar,    TrackBarDimX,                      GroupBoxDimension,    (kHorizontal, 4, 10, 4),     1016, (55, 120, 180, 28, kLayoutPlain),  OnChange, ComboBoxDimensionChange) \
  X(Button,      BitBtnIncDimWidth,                 GroupBoxDimension,    ("+"),                       1017, (237, 122, 23, 23, kLayoutPlain),  OnClick,  BitBtnIncDimWidthClick) \
  X(Button,      BitBtnDecDimHeight,                GroupBoxDimension,    ("-"),                       1018, (-12, 18, 23, 23, kLayoutPlain),   OnClick,  BitBtnDecDimHeightClick) \
  X(TrackBar,    TrackBarDimY,                      GroupBoxDimension,    (kVertical, 4, 10, 4),       1019, (-10, 43, 28, 150, kLayoutPlain),  OnChange, ComboBoxDimensionChange) \
  X(Button,      BitBtnIncDimHeight,                GroupBoxDimension,    ("+"),                       1020, (-12, 195, 23, 23, kLayoutPlain),  OnClick,  BitBtnIncDimHeightClick) \
  X(Label,       LabelDimXValue,                    GroupBoxDimension,    ("0"),                       1021, (30, 158, 60, 13, kLayoutRight),   None,     -) \
  X(Label,       LabelDimX,                         GroupBoxDimension,    ("X"),                       1022, (92, 158, 14, 13, kLayoutCentre),  None,     -) \
  X(Label,       LabelDimYValue,                    GroupBoxDimension,    ("0"),                       1023, (108, 158, 60, 13, kLayoutPlain),  None,     -) \
  X(TabSheet,    TabSheetPosition,                  PageControlScreen,    ("Position"),                1024, (kFillsContainer),                 None,     -) \
  X(GroupBox,    GroupBoxPosition,                  TabSheetPosition,     (),                          1025, (6, 4, -6, -6, kLayoutPlain),      None,     -) \
  X(RadioButton, RadioButtonPosTopLeft,             GroupBoxPosition,     ("Top Left"),                1026, (8, 20, 84, 17, kLayoutPlain),     OnClick,  ComboBoxDimensionChange) \
  X(RadioButton, RadioButtonPosTopCenter,           GroupBoxPosition,     ("Top Center"),              1027, (94, 20, 102, 17, kLayoutPlain),   OnClick,  ComboBoxDimensionChange) \
  X(RadioButton, RadioButtonPosTopRight,            GroupBoxPosition,     ("Top Right"),               1028, (198, 20, 90, 17, kLayoutPlain),   OnClick,  ComboBoxDimensionChange) \
  X(RadioButton, RadioButtonPosCenterLeft,          GroupBoxPosition,     ("Center Left"),             1029, (8, 40, 84, 17, kLayoutPlain),     OnClick,  ComboBoxDimensionChange) \
  X(RadioButton, RadioButtonPosCenter,              GroupBoxPosition,     ("Center"),                  1030, (94, 40, 102, 17, kLayoutPlain),   OnClick,  ComboBoxDimensionChange) \
  X(RadioButton, RadioButtonPosCenterRight,         GroupBoxPosition,     ("Center Right"),            1031, (198, 40, 90, 17, kLayoutPlain),   OnClick,  ComboBoxDimensionChange) \
  X(RadioButton, RadioButtonPosBottomLeft,          GroupBoxPosition,     ("Bottom Left"),             1032, (8, 60, 84, 17, kLayoutPlain),     OnClick,  ComboBoxDimensionChange) \
  X(RadioButton, RadioButtonPosBottomCenter,        GroupBoxPosition,     ("Bottom Center"),           1033, (94, 60, 102, 17, kLayoutPlain),   OnClick,  ComboBoxDimensionChange) \
  X(RadioButton, RadioButtonPosBottomRight,         GroupBoxPosition,     ("Bottom Right"),            1034, (198, 60, 90, 17, kLayoutPlain),   OnClick,  ComboBoxDimensionChange) \
  X(RadioButton, RadioButtonPosCustom,              GroupBoxPosition,     ("Custom"),                  1035, (8, 88, 140, 17, kLayoutPlain),    OnClick,  ComboBoxDimensionChange) \
  X(TrackBar,    TrackBarPosX,                      GroupBoxPosition,     (kHorizontal, 0, 10, 0),     1036, (55, 112, 180, 28, kLayoutPlain),  OnChange, ComboBoxDimensionChange) \
  X(Button,      BitBtnDecPosX,                     GroupBoxPosition,     ("-"),                       1037, (30, 114, 23, 23, kLayoutPlain),   OnClick,  BitBtnDecPosXClick) \
  X(Button,      BitBtnIncPosX,                     GroupBoxPosition,     ("+"),                       1038, (237, 114, 23, 23, kLayoutPlain),  OnClick,  BitBtnIncPosXClick) \
  X(TrackBar,    TrackBarPosY,                      GroupBoxPosition,     (kVertical, 0, 10, 0),       1039, (-10, 43, 28, 150, kLayoutPlain),  OnChange, ComboBoxDimensionChange) \
  X(Button,      BitBtnDecPosY,                     GroupBoxPosition,     ("-"),                       1040, (-12, 18, 23, 23, kLayoutPlain),   OnClick,  BitBtnDecPosYClick) \
  X(Button,      BitBtnIncPosY,                     GroupBoxPosition,     ("+"),                       1041, (-12, 195, 23, 23, kLayoutPlain),  OnClick,  BitBtnIncPosYClick) \
  X(Label,       LabelPosXValue,                    GroupBoxPosition,     ("0"),                       1042, (30, 150, 60, 13, kLayoutRight),   None,     -) \
  X(Label,       LabelPosX,                         GroupBoxPosition,     ("X"),                       1043, (92, 150, 14, 13, kLayoutCentre),  None,     -) \
  X(Label,       LabelPosYValue,                    GroupBoxPosition,     ("0"),                       1044, (108, 150, 60, 13, kLayoutPlain),  None,     -) \
  X(TabSheet,    TabSheetStyle,                     PageControlScreen,    ("Style"),                   1045, (kFillsContainer),                 None,     -) \
  X(GroupBox,    GroupBoxStyle,                     TabSheetStyle,        (),                          1046, (6, 4, -6, -6, kLayoutPlain),      None,     -) \
  X(CheckBox,    CheckBoxEnableBg,                  GroupBoxStyle,        ("Enable background "),      1047, (12, 22, 160, 17, kLayoutPlain),   OnClick,  ComboBoxDimensionChange) \
  X(Label,       LabelBgColor,                      GroupBoxStyle,        ("Background color"),        1048, (12, 52, 160, 13, kLayoutPlain),   None,     -) \
  X(ColorBox,    ColorBoxBg,                        GroupBoxStyle,        (),                          1049, (12, 68, 160, 21, kLayoutPlain),   OnClick,  ComboBoxDimensionChange) \
  /* ---- Video ---- */ \
  X(TabSheet,    TabSheetVideo,                     PageControlOptions,   ("Video"),                   1050, (kFillsContainer),                 None,     -) \
  X(Label,       LabelVideoCompression,             TabSheetVideo,        ("Compression"),             1051, (10, 16, 80, 13, kLayoutPlain),    None,     -) \
  X(ComboBox,    ComboBoxVideoCompressors,          TabSheetVideo,        (),                          1052, (92, 12, -90, 21, kLayoutPlain),   OnChange, ComboBoxVideoCompressorsChange) \
  X(Button,      ButtonConfigureVideoCompressor,    TabSheetVideo,        ("Configure"),               1053, (-8, 11, 75, 23, kLayoutPlain),    OnClick,  ButtonConfigureVideoCompressorClick) \
  X(Label,       LabelVideoFPS,                     TabSheetVideo,        ("FPS"),                     1054, (10, 48, 80, 13, kLayoutPlain),    None,     -) \
  X(ComboBox,    ComboBoxFps,                       TabSheetVideo,        (),                          1055, (92, 44, 60, 21, kLayoutPlain),    OnChange, ComboBoxFpsChange) \
  X(Label,       LabelFpsInfo,                      TabSheetVideo,        ("Require program restart"), 1056, (160, 48, -8, 13, kLayoutRedText), None,     -) \
  X(Label,       Label1,                            TabSheetVideo,        (kLabel1Caption),            1057, (10, 84, -10, 42, kLayoutWrap),    None,     -) \
  /* ---- Audio ---- */ \
  X(TabSheet,    TabSheetAudio,                     PageControlOptions,   ("Audio"),                   1058, (kFillsContainer),                 None,     -) \
  X(Label,       LabelCapture,                      TabSheetAudio,        ("Device"),                  1059, (10, 16, 80, 13, kLayoutPlain),    None,     -) \
  X(ComboBox,    ComboBoxAudioDevices,              TabSheetAudio,        (),                          1060, (92, 12, 190, 21, kLayoutPlain),   OnChange, ComboBoxAudioDevicesChange) \
  X(CheckBox,    CheckBoxEnableAudio,               TabSheetAudio,        ("Enable"),                  1061, (-8, 14, 62, 17, kLayoutPlain),    OnClick,  CheckBoxEnableAudioClick) \
  X(Label,       LabelAudioInputLines,              TabSheetAudio,        ("Input lines"),             1062, (10, 48, 80, 13, kLayoutPlain),    None,     -) \
  X(ComboBox,    ComboBoxInputLines,                TabSheetAudio,        (),                          1063, (92, 44, 190, 21, kLayoutPlain),   OnChange, ComboBoxInputLinesChange) \
  X(Label,       LabelAudioFormat,                  TabSheetAudio,        ("Format"),                  1064, (10, 78, 80, 13, kLayoutPlain),    None,     -) \
  X(ListBox,     ListBoxAudioFormat,                TabSheetAudio,        (),                          1065, (6, 96, -6, -6, kLayoutPlain),     OnClick,  ListBoxAudioFormatClick) \
  /* Never shown: they only carry values through the settings file. */ \
  X(Label,       LabelInputLinesIndex,              TabSheetAudio,        ("0"),                       1066, (0, 0, 20, 13, kLayoutPlain),      None,     -) \
  X(Label,       LabelAudioFormatIndex,             TabSheetAudio,        ("0"),                       1067, (0, 0, 20, 13, kLayoutPlain),      None,     -) \
  X(Label,       LabelIsAudioEnabled,               TabSheetAudio,        ("0"),                       1068, (0, 0, 20, 13, kLayoutPlain),      None,     -) \
  /* ---- General: hotkeys on the left, the three small groups on the right ---- */ \
  X(TabSheet,    TabSheetGeneral,                   PageControlOptions,   ("General"),                 1069, (kFillsContainer),                 None,     -) \
  X(GroupBox,    GroupBoxHotkeys,                   TabSheetGeneral,      ("Hotkeys"),                 1070, (6, 4, 212, 178, kLayoutPlain),    None,     -) \
  X(Label,       LabelHotkeyStart,                  GroupBoxHotkeys,      ("Start"),                   1071, (10, 22, 68, 13, kLayoutPlain),    None,     -) \
  X(ComboBox,    ComboBoxVKStart,                   GroupBoxHotkeys,      (),                          1072, (80, 18, 58, 21, kLayoutPlain),    None,     -) \
  X(Label,       LabelPlusStart,                    GroupBoxHotkeys,      ("+"),                       1073, (140, 22, 8, 13, kLayoutCentre),   None,     -) \
  X(ComboBox,    ComboBoxKeyStart,                  GroupBoxHotkeys,      (),                          1074, (150, 18, 52, 21, kLayoutPlain),   None,     -) \
  X(Label,       LabelHotkeyPause,                  GroupBoxHotkeys,      ("Pause"),                   1075, (10, 47, 68, 13, kLayoutPlain),    None,     -) \
  X(ComboBox,    ComboBoxVKPause,                   GroupBoxHotkeys,      (),                          1076, (80, 43, 58, 21, kLayoutPlain),    None,     -) \
  X(Label,       LabelPlusPause,                    GroupBoxHotkeys,      ("+"),                       1077, (140, 47, 8, 13, kLayoutCentre),   None,     -) \
  X(ComboBox,    ComboBoxKeyPause,                  GroupBoxHotkeys,      (),                          1078, (150, 43, 52, 21, kLayoutPlain),   None,     -) \
  X(Label,       LabelHotkeyStop,                   GroupBoxHotkeys,      ("Stop"),                    1079, (10, 72, 68, 13, kLayoutPlain),    None,     -) \
  X(ComboBox,    ComboBoxVKStop,                    GroupBoxHotkeys,      (),                          1080, (80, 68, 58, 21, kLayoutPlain),    None,     -) \
  X(Label,       LabelPlusStop,                     GroupBoxHotkeys,      ("+"),                       1081, (140, 72, 8, 13, kLayoutCentre),   None,     -) \
  X(ComboBox,    ComboBoxKeyStop,                   GroupBoxHotkeys,      (),                          1082, (150, 68, 52, 21, kLayoutPlain),   None,     -) \
  X(Label,       LabelHotkeySnapshot,               GroupBoxHotkeys,      ("Snapshot"),                1083, (10, 97, 68, 13, kLayoutPlain),    None,     -) \
  X(ComboBox,    ComboBoxVKSnapshot,                GroupBoxHotkeys,      (),                          1084, (80, 93, 58, 21, kLayoutPlain),    None,     -) \
  X(Label,       LabelPlusSnapshot,                 GroupBoxHotkeys,      ("+"),                       1085, (140, 97, 8, 13, kLayoutCentre),   None,     -) \
  X(ComboBox,    ComboBoxKeySnapshot,               GroupBoxHotkeys,      (),                          1086, (150, 93, 52, 21, kLayoutPlain),   None,     -) \
  /* The longest caption takes two lines in its row. */ \
  X(Label,       LabelHotkeyToggleBg,               GroupBoxHotkeys,      ("Toggle background"),       1087, (10, 116, 68, 26, kLayoutWrap),    None,     -) \
  X(ComboBox,    ComboBoxVKToggleBg,                GroupBoxHotkeys,      (),                          1088, (80, 118, 58, 21, kLayoutPlain),   None,     -) \
  X(Label,       LabelPlusToggleBg,                 GroupBoxHotkeys,      ("+"),                       1089, (140, 122, 8, 13, kLayoutCentre),  None,     -) \
  X(ComboBox,    ComboBoxKeyToggleBg,               GroupBoxHotkeys,      (),                          1090, (150, 118, 52, 21, kLayoutPlain),  None,     -) \
  X(Button,      BitBtnSetHotkeys,                  GroupBoxHotkeys,      ("Set hotkeys"),             1091, (80, 148, 122, 23, kLayoutPlain),  OnClick,  BitBtnSetHotkeysClick) \
  X(GroupBox,    GroupBoxCursor,                    TabSheetGeneral,      ("Cursor"),                  1092, (224, 4, -6, 86, kLayoutPlain),    None,     -) \
  X(CheckBox,    CheckBoxEnableCursor,              GroupBoxCursor,       ("Enable (Show)"),           1093, (10, 18, -8, 17, kLayoutPlain),    OnClick,  CheckBoxEnableCursorClick) \
  X(Label,       LabelCursorPriority,               GroupBoxCursor,       ("Priority Low - High"),     1094, (10, 40, -8, 13, kLayoutPlain),    None,     -) \
  X(TrackBar,    TrackBarCursorPriority,            GroupBoxCursor,       (kHorizontal, 0, 3, 1),      1095, (4, 54, -4, 28, kLayoutTicks),     None,     -) \
  X(GroupBox,    GroupBoxOutputPaths,               TabSheetGeneral,      ("Output paths"),            1096, (6, 216, -6, 74, kLayoutPlain),    None,     -) \
  X(Label,       LabelOutputVideo,                  GroupBoxOutputPaths,  ("Screencasts"),             1097, (10, 22, 68, 13, kLayoutPlain),    None,     -) \
  X(Edit,        EditOutputVideoPath,               GroupBoxOutputPaths,  (),                          1098, (80, 18, -40, 21, kLayoutPlain),   None,     -) \
  X(Button,      BitBtnOutputVideoPath,             GroupBoxOutputPaths,  ("..."),                     1099, (-8, 17, 27, 23, kLayoutPlain),    OnClick,  BitBtnOutputVideoPathClick) \
  X(Label,       LabelOutputScreenshots,            GroupBoxOutputPaths,  ("Screenshots"),             1100, (10, 48, 68, 13, kLayoutPlain),    None,     -) \
  X(Edit,        EditOutputScreenshotsPath,         GroupBoxOutputPaths,  (),                          1101, (80, 44, -40, 21, kLayoutPlain),   None,     -) \
  X(Button,      BitBtnOutputScreenshotsPath,       GroupBoxOutputPaths,  ("..."),                     1102, (-8, 43, 27, 23, kLayoutPlain),    OnClick,  BitBtnOutputScreenshotsPathClick) \
  X(Button,      BitBtnRestoreDefaults,             TabSheetGeneral,      ("Restore defaults"),        1103, (6, 188, 110, 23, kLayoutPlain),   OnClick,  BitBtnRestoreDefaultsClick) \
  X(GroupBox,    GroupBoxOnMinimize,                TabSheetGeneral,      ("On minimize"),             1104, (224, 94, -6, 42, kLayoutPlain),   None,     -) \
  X(CheckBox,    CheckBoxHideToTray,                GroupBoxOnMinimize,   ("Hide to tray"),            1105, (10, 18, -8, 17, kLayoutPlain),    None,     -) \
  X(GroupBox,    GroupBoxTransparency,              TabSheetGeneral,      ("Transparency"),            1106, (224, 140, -6, 66, kLayoutPlain),  None,     -) \
  X(CheckBox,    CheckBoxEnableCaptureTransparency, GroupBoxTransparency, ("Enable (Capture)"),        1107, (10, 18, -8, 17, kLayoutPlain),    OnClick,  CheckBoxEnableCaptureTransparencyClick) \
  X(Label,       LabelEvery,                        GroupBoxTransparency, ("Every"),                   1108, (10, 43, 32, 13, kLayoutPlain),    None,     -) \
  X(SpinEdit,    SpinEditTransparencyClock,         GroupBoxTransparency, (100, 5000, 1000),           1109, (44, 40, 60, 21, kLayoutPlain),    None,     -) \
  X(Label,       LabelMs,                           GroupBoxTransparency, ("ms"),                      1110, (108, 43, -6, 13, kLayoutPlain),   None,     -) \
  /* ---- The window again: the recording time below the options, then the timers ---- */ \
  X(Label,       LabelDuration,                     FormMain,             ("00:00:00.000"),            1111, (10, 400, 120, 13, kLayoutPlain),  None,     -) \
  X(Timer,       TimerDuration,                     FormMain,             (1),                         1112, (kNoWindowPlace),                  OnTimer,  TimerTimer) \
  X(Timer,       TimerTransparencyCapture,          FormMain,             (1000),                      1113, (kNoWindowPlace),                  OnTimer,  TimerTransparencyCaptureTimer)

// clang-format on

}  // namespace zelvio
