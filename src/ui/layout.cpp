#include "ui/layout.h"

#include <array>

#include "platform/dpi_scale.h"

namespace zelvio {

namespace {

// Rows of labels beside drop-down lists: the label's text sits 4 pixels below the list's
// top so both share a baseline.
constexpr auto kPlaces = std::to_array<ControlPlace>({
    // ---- The window ----
    {"JvImgBtnStartPause", 8, 8, 40, 32, kLayoutPlain},
    {"JvImgBtnStop", 52, 8, 40, 32, kLayoutPlain},
    {"JvImgBtnSnapshot", 96, 8, 40, 32, kLayoutPlain},
    {"BitBtnAbout", -8, 8, 75, 32, kLayoutPlain},
    {"PanelOptions", 6, 46, -6, 350, kLayoutPlain},
    {"LabelDuration", 10, 400, 120, 13, kLayoutPlain},
    {"GroupBoxOptions", 0, 0, 0, 0, kLayoutPlain},
    {"PageControlOptions", 6, 16, -6, -6, kLayoutTabImages},

    // ---- Screen ----
    {"PageControlScreen", 6, 6, -6, -6, kLayoutPlain},
    {"GroupBoxDimension", 6, 4, -6, -6, kLayoutPlain},
    {"RadioButtonDimFullscreen", 12, 20, 140, 17, kLayoutPlain},
    {"RadioButtonDimPreDefined", 12, 44, 140, 17, kLayoutPlain},
    {"ComboBoxDimension", 30, 64, 230, 21, kLayoutPlain},
    {"RadioButtonDimCustom", 12, 96, 140, 17, kLayoutPlain},
    {"BitBtnDecDimWidth", 30, 122, 23, 23, kLayoutPlain},
    {"TrackBarDimX", 55, 120, 180, 28, kLayoutPlain},
    {"BitBtnIncDimWidth", 237, 122, 23, 23, kLayoutPlain},
    {"BitBtnDecDimHeight", -12, 18, 23, 23, kLayoutPlain},
    {"TrackBarDimY", -10, 43, 28, 150, kLayoutPlain},
    {"BitBtnIncDimHeight", -12, 195, 23, 23, kLayoutPlain},
    {"LabelDimXValue", 30, 158, 60, 13, kLayoutRight},
    {"LabelDimX", 92, 158, 14, 13, kLayoutCentre},
    {"LabelDimYValue", 108, 158, 60, 13, kLayoutPlain},

    {"GroupBoxPosition", 6, 4, -6, -6, kLayoutPlain},
    {"RadioButtonPosTopLeft", 8, 20, 84, 17, kLayoutPlain},
    {"RadioButtonPosTopCenter", 94, 20, 102, 17, kLayoutPlain},
    {"RadioButtonPosTopRight", 198, 20, 90, 17, kLayoutPlain},
    {"RadioButtonPosCenterLeft", 8, 40, 84, 17, kLayoutPlain},
    {"RadioButtonPosCenter", 94, 40, 102, 17, kLayoutPlain},
    {"RadioButtonPosCenterRight", 198, 40, 90, 17, kLayoutPlain},
    {"RadioButtonPosBottomLeft", 8, 60, 84, 17, kLayoutPlain},
    {"RadioButtonPosBottomCenter", 94, 60, 102, 17, kLayoutPlain},
    {"RadioButtonPosBottomRight", 198, 60, 90, 17, kLayoutPlain},
    {"RadioButtonPosCustom", 8, 88, 140, 17, kLayoutPlain},
    {"BitBtnDecPosX", 30, 114, 23, 23, kLayoutPlain},
    {"TrackBarPosX", 55, 112, 180, 28, kLayoutPlain},
    {"BitBtnIncPosX", 237, 114, 23, 23, kLayoutPlain},
    {"BitBtnDecPosY", -12, 18, 23, 23, kLayoutPlain},
    {"TrackBarPosY", -10, 43, 28, 150, kLayoutPlain},
    {"BitBtnIncPosY", -12, 195, 23, 23, kLayoutPlain},
    {"LabelPosXValue", 30, 150, 60, 13, kLayoutRight},
    {"LabelPosX", 92, 150, 14, 13, kLayoutCentre},
    {"LabelPosYValue", 108, 150, 60, 13, kLayoutPlain},

    {"GroupBoxStyle", 6, 4, -6, -6, kLayoutPlain},
    {"CheckBoxEnableBg", 12, 22, 160, 17, kLayoutPlain},
    {"LabelBgColor", 12, 52, 160, 13, kLayoutPlain},
    {"ColorBoxBg", 12, 68, 160, 21, kLayoutPlain},

    // ---- Video ----
    {"LabelVideoCompression", 10, 16, 80, 13, kLayoutPlain},
    {"ComboBoxVideoCompressors", 92, 12, -90, 21, kLayoutPlain},
    {"ButtonConfigureVideoCompressor", -8, 11, 75, 23, kLayoutPlain},
    {"LabelVideoFPS", 10, 48, 80, 13, kLayoutPlain},
    {"ComboBoxFps", 92, 44, 60, 21, kLayoutPlain},
    {"LabelFpsInfo", 160, 48, -8, 13, kLayoutRedText},
    {"Label1", 10, 84, -10, 42, kLayoutWrap},

    // ---- Audio ----
    {"LabelCapture", 10, 16, 80, 13, kLayoutPlain},
    {"ComboBoxAudioDevices", 92, 12, 190, 21, kLayoutPlain},
    {"CheckBoxEnableAudio", -8, 14, 62, 17, kLayoutPlain},
    {"LabelAudioInputLines", 10, 48, 80, 13, kLayoutPlain},
    {"ComboBoxInputLines", 92, 44, 190, 21, kLayoutPlain},
    {"LabelAudioFormat", 10, 78, 80, 13, kLayoutPlain},
    {"ListBoxAudioFormat", 6, 96, -6, -6, kLayoutPlain},
    // Never shown: they only carry values through the settings file.
    {"LabelInputLinesIndex", 0, 0, 20, 13, kLayoutPlain},
    {"LabelAudioFormatIndex", 0, 0, 20, 13, kLayoutPlain},
    {"LabelIsAudioEnabled", 0, 0, 20, 13, kLayoutPlain},

    // ---- General: hotkeys on the left, the three small groups on the right ----
    {"GroupBoxHotkeys", 6, 4, 212, 178, kLayoutPlain},
    {"LabelHotkeyStart", 10, 22, 68, 13, kLayoutPlain},
    {"ComboBoxVKStart", 80, 18, 58, 21, kLayoutPlain},
    {"LabelPlusStart", 140, 22, 8, 13, kLayoutCentre},
    {"ComboBoxKeyStart", 150, 18, 52, 21, kLayoutPlain},
    {"LabelHotkeyPause", 10, 47, 68, 13, kLayoutPlain},
    {"ComboBoxVKPause", 80, 43, 58, 21, kLayoutPlain},
    {"LabelPlusPause", 140, 47, 8, 13, kLayoutCentre},
    {"ComboBoxKeyPause", 150, 43, 52, 21, kLayoutPlain},
    {"LabelHotkeyStop", 10, 72, 68, 13, kLayoutPlain},
    {"ComboBoxVKStop", 80, 68, 58, 21, kLayoutPlain},
    {"LabelPlusStop", 140, 72, 8, 13, kLayoutCentre},
    {"ComboBoxKeyStop", 150, 68, 52, 21, kLayoutPlain},
    {"LabelHotkeySnapshot", 10, 97, 68, 13, kLayoutPlain},
    {"ComboBoxVKSnapshot", 80, 93, 58, 21, kLayoutPlain},
    {"LabelPlusSnapshot", 140, 97, 8, 13, kLayoutCentre},
    {"ComboBoxKeySnapshot", 150, 93, 52, 21, kLayoutPlain},
    // The longest caption takes two lines in its row.
    {"LabelHotkeyToggleBg", 10, 116, 68, 26, kLayoutWrap},
    {"ComboBoxVKToggleBg", 80, 118, 58, 21, kLayoutPlain},
    {"LabelPlusToggleBg", 140, 122, 8, 13, kLayoutCentre},
    {"ComboBoxKeyToggleBg", 150, 118, 52, 21, kLayoutPlain},
    {"BitBtnSetHotkeys", 80, 148, 122, 23, kLayoutPlain},

    {"GroupBoxCursor", 224, 4, -6, 86, kLayoutPlain},
    {"CheckBoxEnableCursor", 10, 18, -8, 17, kLayoutPlain},
    {"LabelCursorPriority", 10, 40, -8, 13, kLayoutPlain},
    {"TrackBarCursorPriority", 4, 54, -4, 28, kLayoutTicks},

    {"GroupBoxOutputPaths", 6, 216, -6, 74, kLayoutPlain},
    {"LabelOutputVideo", 10, 22, 68, 13, kLayoutPlain},
    {"EditOutputVideoPath", 80, 18, -40, 21, kLayoutPlain},
    {"BitBtnOutputVideoPath", -8, 17, 27, 23, kLayoutPlain},
    {"LabelOutputScreenshots", 10, 48, 68, 13, kLayoutPlain},
    {"EditOutputScreenshotsPath", 80, 44, -40, 21, kLayoutPlain},
    {"BitBtnOutputScreenshotsPath", -8, 43, 27, 23, kLayoutPlain},

    {"BitBtnRestoreDefaults", 6, 188, 110, 23, kLayoutPlain},

    {"GroupBoxOnMinimize", 224, 94, -6, 42, kLayoutPlain},
    {"CheckBoxHideToTray", 10, 18, -8, 17, kLayoutPlain},

    {"GroupBoxTransparency", 224, 140, -6, 66, kLayoutPlain},
    {"CheckBoxEnableCaptureTransparency", 10, 18, -8, 17, kLayoutPlain},
    {"LabelEvery", 10, 43, 32, 13, kLayoutPlain},
    {"SpinEditTransparencyClock", 44, 40, 60, 21, kLayoutPlain},
    {"LabelMs", 108, 43, -6, 13, kLayoutPlain},
});

// Zero or less: that far short of the container's far edge.
int Extent(int start, int size, int containerSize) { return size > 0 ? size : containerSize - start + size; }

}  // namespace

std::span<const ControlPlace> AllPlaces() { return kPlaces; }

const ControlPlace* PlaceOf(std::string_view name) {
  for (const ControlPlace& place : kPlaces) {
    if (place.name == name) return &place;
  }
  return nullptr;
}

ControlPlace ScaledPlace(const ControlPlace& place, int dpi) {
  ControlPlace scaled = place;
  scaled.x = ScaleForDpi(place.x, dpi);
  scaled.y = ScaleForDpi(place.y, dpi);
  scaled.width = ScaleForDpi(place.width, dpi);
  scaled.height = ScaleForDpi(place.height, dpi);
  return scaled;
}

LayoutRect ResolvePlace(const ControlPlace& place, const LayoutRect& container) {
  const int containerWidth = container.right - container.left;
  // A negative x keeps that far from the right edge, with the width as given.
  const int x = place.x >= 0 ? place.x : containerWidth + place.x - place.width;
  int width = Extent(x, place.width, containerWidth);
  int height = Extent(place.y, place.height, container.bottom - container.top);
  LayoutRect r;
  r.left = container.left + x;
  r.top = container.top + place.y;
  r.right = r.left + width;
  r.bottom = r.top + height;
  return r;
}

}  // namespace zelvio
