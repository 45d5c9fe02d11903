// The about window's controls: design name, control ID and place, in creation order. The
// window builds itself from this table, and a test driver in another process finds a control
// by its design name through the same IDs.
//
// The IDs are part of the program's outside face: never renumber an entry, only add.
#pragma once

#include <span>
#include <string_view>

namespace zelvio {

inline constexpr int kAboutClientWidth = 329;
inline constexpr int kAboutClientHeight = 426;

// Clear of the main window's IDs, which start at 1000.
inline constexpr int kFirstAboutControlId = 2000;

enum class AboutControlKind { Picture, Label, CaptionLabel, Memo, GlyphButton };

struct AboutControlEntry {
  std::string_view name;
  int id;
  AboutControlKind kind;
  std::string_view text;
  // Client coordinates. A label sized 0 x 0 takes the size of its text.
  int left;
  int top;
  int width;
  int height;
};

// All entries; the order is the creation order and so the tab order.
std::span<const AboutControlEntry> AboutControls();

// The ID for a design name; 0 for a name the window does not have.
int AboutControlIdFor(std::string_view designName);

// The entry for a design name; nullptr for a name the window does not have.
const AboutControlEntry* AboutControlNamed(std::string_view designName);

}  // namespace zelvio
