#include "settings/stored_props.h"

#include "settings/ini_document.h"

namespace zelvio {

const std::array<StoredProp, 48> StoredProps = {{
    // Size and place: the radio buttons come before the track bars, so a checked
    // "Custom" button has widened the bars' ranges before their positions arrive;
    // the read-out labels follow the values they show.
    {"RadioButtonDimFullscreen", "Checked", StoredValueKind::Boolean},
    {"RadioButtonDimPreDefined", "Checked", StoredValueKind::Boolean},
    {"RadioButtonDimCustom", "Checked", StoredValueKind::Boolean},
    {"ComboBoxDimension", "ItemIndex", StoredValueKind::Integer},
    {"TrackBarDimX", "Position", StoredValueKind::Integer},
    {"TrackBarDimY", "Position", StoredValueKind::Integer},
    {"LabelDimYValue", "Caption", StoredValueKind::Text},
    {"LabelDimXValue", "Caption", StoredValueKind::Text},
    {"RadioButtonPosTopLeft", "Checked", StoredValueKind::Boolean},
    {"RadioButtonPosTopCenter", "Checked", StoredValueKind::Boolean},
    {"RadioButtonPosTopRight", "Checked", StoredValueKind::Boolean},
    {"RadioButtonPosCenterLeft", "Checked", StoredValueKind::Boolean},
    {"RadioButtonPosCenter", "Checked", StoredValueKind::Boolean},
    {"RadioButtonPosCenterRight", "Checked", StoredValueKind::Boolean},
    {"RadioButtonPosBottomLeft", "Checked", StoredValueKind::Boolean},
    {"RadioButtonPosBottomCenter", "Checked", StoredValueKind::Boolean},
    {"RadioButtonPosBottomRight", "Checked", StoredValueKind::Boolean},
    {"RadioButtonPosCustom", "Checked", StoredValueKind::Boolean},
    {"TrackBarPosX", "Position", StoredValueKind::Integer},
    {"TrackBarPosY", "Position", StoredValueKind::Integer},
    {"LabelPosXValue", "Caption", StoredValueKind::Text},
    {"LabelPosYValue", "Caption", StoredValueKind::Text},
    // Background, frame rate, compressor and audio. The carrier labels come
    // after the device lists whose positions they hold.
    {"ColorBoxBg", "Selected", StoredValueKind::Colour},
    {"CheckBoxEnableBg", "Checked", StoredValueKind::Boolean},
    {"ComboBoxFps", "ItemIndex", StoredValueKind::Integer},
    {"ComboBoxVideoCompressors", "ItemIndex", StoredValueKind::Integer},
    {"ComboBoxAudioDevices", "ItemIndex", StoredValueKind::Integer},
    {"LabelInputLinesIndex", "Caption", StoredValueKind::Text},
    {"LabelAudioFormatIndex", "Caption", StoredValueKind::Text},
    {"LabelIsAudioEnabled", "Caption", StoredValueKind::Text},
    // Cursor, hotkeys, tray, output folders, layered-window capture.
    {"CheckBoxEnableCursor", "Checked", StoredValueKind::Boolean},
    {"TrackBarCursorPriority", "Position", StoredValueKind::Integer},
    {"ComboBoxVKPause", "ItemIndex", StoredValueKind::Integer},
    {"ComboBoxVKSnapshot", "ItemIndex", StoredValueKind::Integer},
    {"ComboBoxVKStart", "ItemIndex", StoredValueKind::Integer},
    {"ComboBoxVKStop", "ItemIndex", StoredValueKind::Integer},
    {"ComboBoxVKToggleBg", "ItemIndex", StoredValueKind::Integer},
    {"ComboBoxKeyPause", "ItemIndex", StoredValueKind::Integer},
    {"ComboBoxKeySnapshot", "ItemIndex", StoredValueKind::Integer},
    {"ComboBoxKeyStart", "ItemIndex", StoredValueKind::Integer},
    {"ComboBoxKeyStop", "ItemIndex", StoredValueKind::Integer},
    {"ComboBoxKeyToggleBg", "ItemIndex", StoredValueKind::Integer},
    {"CheckBoxHideToTray", "Checked", StoredValueKind::Boolean},
    {"EditOutputVideoPath", "Text", StoredValueKind::Text},
    {"EditOutputScreenshotsPath", "Text", StoredValueKind::Text},
    {"CheckBoxEnableCaptureTransparency", "Checked", StoredValueKind::Boolean},
    {"SpinEditTransparencyClock", "Enabled", StoredValueKind::Boolean},
    {"SpinEditTransparencyClock", "Value", StoredValueKind::Integer},
}};

std::string StoredValueName(const StoredProp& entry) {
  std::string name(entry.component);
  name += '_';
  name += entry.property;
  return name;
}

std::optional<StoredPropName> ParseStoredPropEntry(std::string_view entry) {
  std::size_t dot = entry.find('.');
  if (dot == std::string_view::npos) return std::nullopt;
  std::string_view component = TrimBlanks(entry.substr(0, dot));
  std::string_view property = TrimBlanks(entry.substr(dot + 1));
  if (component.empty() || property.empty()) return std::nullopt;
  return StoredPropName{std::string(component), std::string(property)};
}

}  // namespace zelvio
