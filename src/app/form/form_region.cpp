// The region tabs: size, place and style become the overlay's "Create" command.
#include "app/form/form_main.h"
#include "common/overlay_command.h"
#include "region/region_geometry.h"

namespace zelvio {

void TFormMain::ComboBoxDimensionChange() { UpdateRegion(); }

void TFormMain::UpdateRegion() {
  const ScreenSize screen = screen_.GetScreenSize();
  const int sw = screen.width;
  const int sh = screen.height;

  const bool customSize = RadioButtonDimCustom.Checked();
  for (Control* c :
       std::initializer_list<Control*>{&BitBtnDecDimWidth, &TrackBarDimX, &BitBtnIncDimWidth,
                                       &BitBtnDecDimHeight, &TrackBarDimY, &BitBtnIncDimHeight}) {
    c->SetVisible(customSize);
  }

  // A damaged settings file can leave no size mode checked; the preset list still holds a
  // position then, so its size is the most sensible choice (0 x 0 without a selection).
  RegionSize size = PresetDimension(ComboBoxDimension.ItemIndex());
  if (RadioButtonDimFullscreen.Checked()) {
    size = {sw, sh};
  } else if (RadioButtonDimCustom.Checked()) {
    // A new maximum that moves the position fires the slider's change event, which runs
    // this update once more from within; the outer run then carries on.
    TrackBarDimX.SetMax(sw);
    size.width = TrackBarDimX.Position();
    TrackBarDimY.SetMax(sh);
    size.height = TrackBarDimY.Position();
  }
  LabelDimXValue.SetCaption(std::to_string(size.width));
  LabelDimYValue.SetCaption(std::to_string(size.height));

  ComboBoxDimension.SetVisible(RadioButtonDimPreDefined.Checked());
  const bool customPos = RadioButtonPosCustom.Checked();
  for (Control* c : std::initializer_list<Control*>{&TrackBarPosX, &BitBtnDecPosX, &BitBtnIncPosX,
                                                    &TrackBarPosY, &BitBtnIncPosY, &BitBtnDecPosY}) {
    c->SetVisible(customPos);
  }

  const std::pair<RadioButton*, Anchor> anchors[] = {
      {&RadioButtonPosTopLeft, Anchor::TopLeft},         {&RadioButtonPosTopCenter, Anchor::TopCenter},
      {&RadioButtonPosTopRight, Anchor::TopRight},       {&RadioButtonPosCenterLeft, Anchor::CenterLeft},
      {&RadioButtonPosCenter, Anchor::Center},           {&RadioButtonPosCenterRight, Anchor::CenterRight},
      {&RadioButtonPosBottomLeft, Anchor::BottomLeft},   {&RadioButtonPosBottomCenter, Anchor::BottomCenter},
      {&RadioButtonPosBottomRight, Anchor::BottomRight},
  };
  RegionOrigin origin;
  bool placed = false;
  for (const auto& [radio, anchor] : anchors) {
    if (!radio->Checked()) continue;
    origin = AnchorOrigin(anchor, sw, sh, size.width, size.height);
    placed = true;
    break;
  }
  if (!placed && customPos) {
    TrackBarPosX.SetMax(sw - size.width);
    origin.left = TrackBarPosX.Position();
    TrackBarPosY.SetMax(sh - size.height);
    origin.top = TrackBarPosY.Position();
  }
  LabelPosXValue.SetCaption(std::to_string(origin.left));
  LabelPosYValue.SetCaption(std::to_string(origin.top));

  const bool background = CheckBoxEnableBg.Checked();
  ColorBoxBg.SetVisible(background);
  LabelBgColor.SetVisible(background);

  SendOverlayCommand(OverlayRegionCommand(size.width, size.height, origin.left, origin.top, background,
                                          OverlayColorFromColour(ColorBoxBg.Selected())));
}

void TFormMain::StepTrackBar(TrackBar& bar, int delta) { bar.SetPosition(bar.Position() + delta); }

void TFormMain::BitBtnDecDimWidthClick() { StepTrackBar(TrackBarDimX, -1); }
void TFormMain::BitBtnIncDimWidthClick() { StepTrackBar(TrackBarDimX, +1); }
void TFormMain::BitBtnDecDimHeightClick() { StepTrackBar(TrackBarDimY, -1); }
void TFormMain::BitBtnIncDimHeightClick() { StepTrackBar(TrackBarDimY, +1); }
void TFormMain::BitBtnDecPosXClick() { StepTrackBar(TrackBarPosX, -1); }
void TFormMain::BitBtnIncPosXClick() { StepTrackBar(TrackBarPosX, +1); }
void TFormMain::BitBtnDecPosYClick() { StepTrackBar(TrackBarPosY, -1); }
void TFormMain::BitBtnIncPosYClick() { StepTrackBar(TrackBarPosY, +1); }

}  // namespace zelvio
