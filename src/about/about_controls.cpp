#include "about/about_controls.h"

#include <array>

namespace zelvio {

namespace {

using Kind = AboutControlKind;

// The memo comes before the buttons so that it is the first stop of the Tab key.
constexpr std::array kAboutControls = std::to_array<AboutControlEntry>({
    {"ImageLogo", 2000, Kind::Picture, "", 8, 8, 89, 89},
    {"LabelMadeBy", 2001, Kind::Label, "Made By Morvane", 10, 98, 0, 0},
    {"LabelCaption", 2002, Kind::CaptionLabel, "Zelvio", 152, 33, 0, 0},
    {"LabelVerInfo", 2003, Kind::Label, "Ver.", 176, 76, 0, 0},
    {"LabelVersion", 2004, Kind::Label, "1.1", 217, 76, 0, 0},
    {"MemoInfo", 2005, Kind::Memo, "", 8, 122, 315, 247},
    {"BitBtnVisit", 2006, Kind::GlyphButton, "Visit", 8, 375, 110, 30},
    {"BitBtnCheckVersion", 2007, Kind::GlyphButton, "Check Version", 130, 375, 110, 30},
    {"ImageDonate", 2008, Kind::Picture, "", 256, 375, 65, 30},
});

}  // namespace

std::span<const AboutControlEntry> AboutControls() { return kAboutControls; }

const AboutControlEntry* AboutControlNamed(std::string_view designName) {
  for (const AboutControlEntry& entry : kAboutControls) {
    if (entry.name == designName) return &entry;
  }
  return nullptr;
}

int AboutControlIdFor(std::string_view designName) {
  const AboutControlEntry* entry = AboutControlNamed(designName);
  return entry ? entry->id : 0;
}

}  // namespace zelvio
