#include "ui/control_table.h"

#include <array>

namespace zelvio {

namespace {

// IDs written out number by number so that adding a control never moves another one's.
// Rows of labels beside drop-down lists: the label's text sits 4 pixels below the list's
// top so both share a baseline.
constexpr auto kRows = std::to_array<ControlRow>({
    // ---- The window ----
    {"JvImgBtnStartPause", 1000, {8, 8, 40, 32, kLayoutPlain}},
    {"JvImgBtnStop", 1001, {52, 8, 40, 32, kLayoutPlain}},
    {"JvImgBtnSnapshot", 1002, {96, 8, 40, 32, kLayoutPlain}},
    {"BitBtnAbout", 1003, {-8, 8, 75, 32, kLayoutPlain}},
    {"PanelOptions", 1004, {6, 46, -6, 350, kLayoutPlain}},
    {"GroupBoxOptions", 1005, {0, 0, 0, 0, kLayoutPlain}},
    {"PageControlOptions", 1006, {6, 16, -6, -6, kLayoutTabImages}},

    // ---- Screen ----
    {"TabSheetScreen", 1007, kFillsContainer},
    {"PageControlScreen", 1008, {6, 6, -6, -6, kLayoutPlain}},
    {"TabSheetDimension", 1009, kFillsContainer},
    {"GroupBoxDimension", 1010, {6, 4, -6, -6, kLayoutPlain}},
    {"RadioButtonDimFullscreen", 1011, {12, 20, 140, 17, kLayoutPlain}},
    {"RadioButtonDimPreDefined", 1012, {12, 44, 140, 17, kLayoutPlain}},
    {"ComboBoxDimension", 1013, {30, 64, 230, 21, kLayoutPlain}},
    {"RadioButtonDimCustom", 1014, {12, 96, 140, 17, kLayoutPlain}},
    {"BitBtnDecDimWidth", 1015, {30, 122, 23, 23, kLayoutPlain}},
    {"TrackBarDimX", 1016, {55, 120, 180, 28, kLayoutPlain}},
    {"BitBtnIncDimWidth", 1017, {237, 122, 23, 23, kLayoutPlain}},
    {"BitBtnDecDimHeight", 1018, {-12, 18, 23, 23, kLayoutPlain}},
    {"TrackBarDimY", 1019, {-10, 43, 28, 150, kLayoutPlain}},
    {"BitBtnIncDimHeight", 1020, {-12, 195, 23, 23, kLayoutPlain}},
    {"LabelDimXValue", 1021, {30, 158, 60, 13, kLayoutRight}},
    {"LabelDimX", 1022, {92, 158, 14, 13, kLayoutCentre}},
    {"LabelDimYValue", 1023, {108, 158, 60, 13, kLayoutPlain}},
    {"TabSheetPosition", 1024, kFillsContainer},
    {"GroupBoxPosition", 1025, {6, 4, -6, -6, kLayoutPlain}},
    {"RadioButtonPosTopLeft", 1026, {8, 20, 84, 17, kLayoutPlain}},
    {"RadioButtonPosTopCenter", 1027, {94, 20, 102, 17, kLayoutPlain}},
    {"RadioButtonPosTopRight", 1028, {198, 20, 90, 17, kLayoutPlain}},
    {"RadioButtonPosCenterLeft", 1029, {8, 40, 84, 17, kLayoutPlain}},
    {"RadioButtonPosCenter", 1030, {94, 40, 102, 17, kLayoutPlain}},
    {"RadioButtonPosCenterRight", 1031, {198, 40, 90, 17, kLayoutPlain}},
    {"RadioButtonPosBottomLeft", 1032, {8, 60, 84, 17, kLayoutPlain}},
    {"RadioButtonPosBottomCenter", 1033, {94, 60, 102, 17, kLayoutPlain}},
    {"RadioButtonPosBottomRight", 1034, {198, 60, 90, 17, kLayoutPlain}},
    {"RadioButtonPosCustom", 1035, {8, 88, 140, 17, kLayoutPlain}},
    {"TrackBarPosX", 1036, {55, 112, 180, 28, kLayoutPlain}},
    {"BitBtnDecPosX", 1037, {30, 114, 23, 23, kLayoutPlain}},
    {"BitBtnIncPosX", 1038, {237, 114, 23, 23, kLayoutPlain}},
    {"TrackBarPosY", 1039, {-10, 43, 28, 150, kLayoutPlain}},
    {"BitBtnDecPosY", 1040, {-12, 18, 23, 23, kLayoutPlain}},
    {"BitBtnIncPosY", 1041, {-12, 195, 23, 23, kLayoutPlain}},
    {"LabelPosXValue", 1042, {30, 150, 60, 13, kLayoutRight}},
    {"LabelPosX", 1043, {92, 150, 14, 13, kLayoutCentre}},
    {"LabelPosYValue", 1044, {108, 150, 60, 13, kLayoutPlain}},
    {"TabSheetStyle", 1045, kFillsContainer},
    {"GroupBoxStyle", 1046, {6, 4, -6, -6, kLayoutPlain}},
    {"CheckBoxEnableBg", 1047, {12, 22, 160, 17, kLayoutPlain}},
    {"LabelBgColor", 1048, {12, 52, 160, 13, kLayoutPlain}},
    {"ColorBoxBg", 1049, {12, 68, 160, 21, kLayoutPlain}},

    // ---- Video ----
    {"TabSheetVideo", 1050, kFillsContainer},
    {"LabelVideoCompression", 1051, {10, 16, 80, 13, kLayoutPlain}},
    {"ComboBoxVideoCompressors", 1052, {92, 12, -90, 21, kLayoutPlain}},
    {"ButtonConfigureVideoCompressor", 1053, {-8, 11, 75, 23, kLayoutPlain}},
    {"LabelVideoFPS", 1054, {10, 48, 80, 13, kLayoutPlain}},
    {"ComboBoxFps", 1055, {92, 44, 60, 21, kLayoutPlain}},
    {"LabelFpsInfo", 1056, {160, 48, -8, 13, kLayoutRedText}},
    {"Label1", 1057, {10, 84, -10, 42, kLayoutWrap}},

    // ---- Audio ----
    {"TabSheetAudio", 1058, kFillsContainer},
    {"LabelCapture", 1059, {10, 16, 80, 13, kLayoutPlain}},
    {"ComboBoxAudioDevices", 1060, {92, 12, 190, 21, kLayoutPlain}},
    {"CheckBoxEnableAudio", 1061, {-8, 14, 62, 17, kLayoutPlain}},
    {"LabelAudioInputLines", 1062, {10, 48, 80, 13, kLayoutPlain}},
    {"ComboBoxInputLines", 1063, {92, 44, 190, 21, kLayoutPlain}},
    {"LabelAudioFormat", 1064, {10, 78, 80, 13, kLayoutPlain}},
    {"ListBoxAudioFormat", 1065, {6, 96, -6, -6, kLayoutPlain}},
    // Never shown: they only carry values through the settings file.
    {"LabelInputLinesIndex", 1066, {0, 0, 20, 13, kLayoutPlain}},
    {"LabelAudioFormatIndex", 1067, {0, 0, 20, 13, kLayoutPlain}},
    {"LabelIsAudioEnabled", 1068, {0, 0, 20, 13, kLayoutPlain}},

    // ---- General: hotkeys on the left, the three small groups on the right ----
    {"TabSheetGeneral", 1069, kFillsContainer},
    {"GroupBoxHotkeys", 1070, {6, 4, 212, 178, kLayoutPlain}},
    {"LabelHotkeyStart", 1071, {10, 22, 68, 13, kLayoutPlain}},
    {"ComboBoxVKStart", 1072, {80, 18, 58, 21, kLayoutPlain}},
    {"LabelPlusStart", 1073, {140, 22, 8, 13, kLayoutCentre}},
    {"ComboBoxKeyStart", 1074, {150, 18, 52, 21, kLayoutPlain}},
    {"LabelHotkeyPause", 1075, {10, 47, 68, 13, kLayoutPlain}},
    {"ComboBoxVKPause", 1076, {80, 43, 58, 21, kLayoutPlain}},
    {"LabelPlusPause", 1077, {140, 47, 8, 13, kLayoutCentre}},
    {"ComboBoxKeyPause", 1078, {150, 43, 52, 21, kLayoutPlain}},
    {"LabelHotkeyStop", 1079, {10, 72, 68, 13, kLayoutPlain}},
    {"ComboBoxVKStop", 1080, {80, 68, 58, 21, kLayoutPlain}},
    {"LabelPlusStop", 1081, {140, 72, 8, 13, kLayoutCentre}},
    {"ComboBoxKeyStop", 1082, {150, 68, 52, 21, kLayoutPlain}},
    {"LabelHotkeySnapshot", 1083, {10, 97, 68, 13, kLayoutPlain}},
    {"ComboBoxVKSnapshot", 1084, {80, 93, 58, 21, kLayoutPlain}},
    {"LabelPlusSnapshot", 1085, {140, 97, 8, 13, kLayoutCentre}},
    {"ComboBoxKeySnapshot", 1086, {150, 93, 52, 21, kLayoutPlain}},
    // The longest caption takes two lines in its row.
    {"LabelHotkeyToggleBg", 1087, {10, 116, 68, 26, kLayoutWrap}},
    {"ComboBoxVKToggleBg", 1088, {80, 118, 58, 21, kLayoutPlain}},
    {"LabelPlusToggleBg", 1089, {140, 122, 8, 13, kLayoutCentre}},
    {"ComboBoxKeyToggleBg", 1090, {150, 118, 52, 21, kLayoutPlain}},
    {"BitBtnSetHotkeys", 1091, {80, 148, 122, 23, kLayoutPlain}},
    {"GroupBoxCursor", 1092, {224, 4, -6, 86, kLayoutPlain}},
    {"CheckBoxEnableCursor", 1093, {10, 18, -8, 17, kLayoutPlain}},
    {"LabelCursorPriority", 1094, {10, 40, -8, 13, kLayoutPlain}},
    {"TrackBarCursorPriority", 1095, {4, 54, -4, 28, kLayoutTicks}},
    {"GroupBoxOutputPaths", 1096, {6, 216, -6, 74, kLayoutPlain}},
    {"LabelOutputVideo", 1097, {10, 22, 68, 13, kLayoutPlain}},
    {"EditOutputVideoPath", 1098, {80, 18, -40, 21, kLayoutPlain}},
    {"BitBtnOutputVideoPath", 1099, {-8, 17, 27, 23, kLayoutPlain}},
    {"LabelOutputScreenshots", 1100, {10, 48, 68, 13, kLayoutPlain}},
    {"EditOutputScreenshotsPath", 1101, {80, 44, -40, 21, kLayoutPlain}},
    {"BitBtnOutputScreenshotsPath", 1102, {-8, 43, 27, 23, kLayoutPlain}},
    {"BitBtnRestoreDefaults", 1103, {6, 188, 110, 23, kLayoutPlain}},
    {"GroupBoxOnMinimize", 1104, {224, 94, -6, 42, kLayoutPlain}},
    {"CheckBoxHideToTray", 1105, {10, 18, -8, 17, kLayoutPlain}},
    {"GroupBoxTransparency", 1106, {224, 140, -6, 66, kLayoutPlain}},
    {"CheckBoxEnableCaptureTransparency", 1107, {10, 18, -8, 17, kLayoutPlain}},
    {"LabelEvery", 1108, {10, 43, 32, 13, kLayoutPlain}},
    {"SpinEditTransparencyClock", 1109, {44, 40, 60, 21, kLayoutPlain}},
    {"LabelMs", 1110, {108, 43, -6, 13, kLayoutPlain}},
    // ---- The window again: the recording time below the options ----
    {"LabelDuration", 1111, {10, 400, 120, 13, kLayoutPlain}},
    // Without a window of their own: the timers, and the spin edit's arrows, which sit
    // beside the edit wherever it is.
    {"Timer", 1112, kNoWindowPlace},
    {"TimerTransparencyCapture", 1113, kNoWindowPlace},
    {kSpinArrowsName, 1114, kNoWindowPlace},
});

const ControlRow* RowOf(std::string_view name) {
  for (const ControlRow& row : kRows) {
    if (row.name == name) return &row;
  }
  return nullptr;
}

}  // namespace

std::span<const ControlRow> ControlRows() { return kRows; }

int ControlIdFor(std::string_view designName) {
  const ControlRow* row = RowOf(designName);
  return row ? row->id : 0;
}

std::string_view ControlNameFor(int id) {
  for (const ControlRow& row : kRows) {
    if (row.id == id) return row.name;
  }
  return {};
}

const ControlPlace* PlaceOf(std::string_view name) {
  const ControlRow* row = RowOf(name);
  if (!row || (row->place.flags & kLayoutNoWindow) != 0) return nullptr;
  return &row->place;
}

}  // namespace zelvio
