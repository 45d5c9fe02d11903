#include "ui/control_ids.h"

#include <array>

namespace zelvio {

namespace {

// Written out number by number so that adding a control never moves another one's ID.
constexpr std::array kControlIds = std::to_array<ControlIdEntry>({
    {"JvImgBtnStartPause", 1000},
    {"JvImgBtnStop", 1001},
    {"JvImgBtnSnapshot", 1002},
    {"BitBtnAbout", 1003},
    {"PanelOptions", 1004},
    {"GroupBoxOptions", 1005},
    {"PageControlOptions", 1006},
    {"TabSheetScreen", 1007},
    {"PageControlScreen", 1008},
    {"TabSheetDimension", 1009},
    {"GroupBoxDimension", 1010},
    {"RadioButtonDimFullscreen", 1011},
    {"RadioButtonDimPreDefined", 1012},
    {"ComboBoxDimension", 1013},
    {"RadioButtonDimCustom", 1014},
    {"BitBtnDecDimWidth", 1015},
    {"TrackBarDimX", 1016},
    {"BitBtnIncDimWidth", 1017},
    {"BitBtnDecDimHeight", 1018},
    {"TrackBarDimY", 1019},
    {"BitBtnIncDimHeight", 1020},
    {"LabelDimXValue", 1021},
    {"LabelDimX", 1022},
    {"LabelDimYValue", 1023},
    {"TabSheetPosition", 1024},
    {"GroupBoxPosition", 1025},
    {"RadioButtonPosTopLeft", 1026},
    {"RadioButtonPosTopCenter", 1027},
    {"RadioButtonPosTopRight", 1028},
    {"RadioButtonPosCenterLeft", 1029},
    {"RadioButtonPosCenter", 1030},
    {"RadioButtonPosCenterRight", 1031},
    {"RadioButtonPosBottomLeft", 1032},
    {"RadioButtonPosBottomCenter", 1033},
    {"RadioButtonPosBottomRight", 1034},
    {"RadioButtonPosCustom", 1035},
    {"TrackBarPosX", 1036},
    {"BitBtnDecPosX", 1037},
    {"BitBtnIncPosX", 1038},
    {"TrackBarPosY", 1039},
    {"BitBtnDecPosY", 1040},
    {"BitBtnIncPosY", 1041},
    {"LabelPosXValue", 1042},
    {"LabelPosX", 1043},
    {"LabelPosYValue", 1044},
    {"TabSheetStyle", 1045},
    {"GroupBoxStyle", 1046},
    {"CheckBoxEnableBg", 1047},
    {"LabelBgColor", 1048},
    {"ColorBoxBg", 1049},
    {"TabSheetVideo", 1050},
    {"LabelVideoCompression", 1051},
    {"ComboBoxVideoCompressors", 1052},
    {"ButtonConfigureVideoCompressor", 1053},
    {"LabelVideoFPS", 1054},
    {"ComboBoxFps", 1055},
    {"LabelFpsInfo", 1056},
    {"Label1", 1057},
    {"TabSheetAudio", 1058},
    {"LabelCapture", 1059},
    {"ComboBoxAudioDevices", 1060},
    {"CheckBoxEnableAudio", 1061},
    {"LabelAudioInputLines", 1062},
    {"ComboBoxInputLines", 1063},
    {"LabelAudioFormat", 1064},
    {"ListBoxAudioFormat", 1065},
    {"LabelInputLinesIndex", 1066},
    {"LabelAudioFormatIndex", 1067},
    {"LabelIsAudioEnabled", 1068},
    {"TabSheetGeneral", 1069},
    {"GroupBoxHotkeys", 1070},
    {"LabelHotkeyStart", 1071},
    {"ComboBoxVKStart", 1072},
    {"LabelPlusStart", 1073},
    {"ComboBoxKeyStart", 1074},
    {"LabelHotkeyPause", 1075},
    {"ComboBoxVKPause", 1076},
    {"LabelPlusPause", 1077},
    {"ComboBoxKeyPause", 1078},
    {"LabelHotkeyStop", 1079},
    {"ComboBoxVKStop", 1080},
    {"LabelPlusStop", 1081},
    {"ComboBoxKeyStop", 1082},
    {"LabelHotkeySnapshot", 1083},
    {"ComboBoxVKSnapshot", 1084},
    {"LabelPlusSnapshot", 1085},
    {"ComboBoxKeySnapshot", 1086},
    {"LabelHotkeyToggleBg", 1087},
    {"ComboBoxVKToggleBg", 1088},
    {"LabelPlusToggleBg", 1089},
    {"ComboBoxKeyToggleBg", 1090},
    {"BitBtnSetHotkeys", 1091},
    {"GroupBoxCursor", 1092},
    {"CheckBoxEnableCursor", 1093},
    {"LabelCursorPriority", 1094},
    {"TrackBarCursorPriority", 1095},
    {"GroupBoxOutputPaths", 1096},
    {"LabelOutputVideo", 1097},
    {"EditOutputVideoPath", 1098},
    {"BitBtnOutputVideoPath", 1099},
    {"LabelOutputScreenshots", 1100},
    {"EditOutputScreenshotsPath", 1101},
    {"BitBtnOutputScreenshotsPath", 1102},
    {"BitBtnRestoreDefaults", 1103},
    {"GroupBoxOnMinimize", 1104},
    {"CheckBoxHideToTray", 1105},
    {"GroupBoxTransparency", 1106},
    {"CheckBoxEnableCaptureTransparency", 1107},
    {"LabelEvery", 1108},
    {"SpinEditTransparencyClock", 1109},
    {"LabelMs", 1110},
    {"LabelDuration", 1111},
    {"Timer", 1112},
    {"TimerTransparencyCapture", 1113},
    {kSpinArrowsName, 1114},
});

}  // namespace

std::span<const ControlIdEntry> ControlIds() { return kControlIds; }

int ControlIdFor(std::string_view designName) {
  for (const ControlIdEntry& entry : kControlIds) {
    if (entry.name == designName) return entry.id;
  }
  return 0;
}

std::string_view ControlNameFor(int id) {
  for (const ControlIdEntry& entry : kControlIds) {
    if (entry.id == id) return entry.name;
  }
  return {};
}

}  // namespace zelvio
