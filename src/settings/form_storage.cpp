#include "settings/form_storage.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

#include "common/errors.h"
#include "settings/ini_document.h"
#include "settings/stored_values.h"
#include "ui/controls.h"

namespace zelvio {

namespace {

constexpr const char* kStoragePath = "%FORM_NAME%\\";
// Bumping this makes every older file load nothing, once, and be rewritten.
constexpr int kFormVersion = 0;

// The showCmd values of a window placement that matter here.
constexpr int kShowHide = 0;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;
constexpr int kShowMinimize = 6;
constexpr int kShowMinimizedNoActive = 7;

// "(1920x1080)": each screen size keeps its own window position beside the plain one.
std::string ScreenSizeSuffix(const ScreenSize& screen) {
  return "(" + std::to_string(screen.width) + "x" + std::to_string(screen.height) + ")";
}

// Words of a position text; commas and blanks in any number separate them.
std::vector<std::string_view> SplitPositionWords(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of(", \t", start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

int WordOr(const std::vector<std::string_view>& words, std::size_t index, int fallback) {
  if (index >= words.size()) return fallback;
  std::optional<int32_t> value = DecodeInteger(words[index]);
  return value ? *value : fallback;
}

// A hand-edited position far off the screen must not wrap around.
int ClampedSum(int a, int b) {
  int64_t sum = static_cast<int64_t>(a) + b;
  return static_cast<int>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

std::string PositionText(int a, int b, int c, int d) {
  return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," + std::to_string(d);
}

// ---- Setting a property through the control's own setter ----------------------------------
// Each returns false when the control has no such property; the entry is then skipped.

bool SetBooleanProperty(Control& control, std::string_view property, bool value) {
  if (EqualsIgnoreCase(property, "Enabled")) {
    control.SetEnabled(value);
    return true;
  }
  if (!EqualsIgnoreCase(property, "Checked")) return false;
  if (auto* box = dynamic_cast<CheckBox*>(&control)) {
    box->SetChecked(value);
    return true;
  }
  if (auto* radio = dynamic_cast<RadioButton*>(&control)) {
    radio->SetChecked(value);
    return true;
  }
  return false;
}

bool SetIntegerProperty(Control& control, std::string_view property, int value) {
  if (EqualsIgnoreCase(property, "Position")) {
    auto* bar = dynamic_cast<TrackBar*>(&control);
    if (bar) bar->SetPosition(value);
    return bar != nullptr;
  }
  if (EqualsIgnoreCase(property, "ItemIndex")) {
    auto* list = dynamic_cast<ItemList*>(&control);
    if (list) list->SetItemIndex(value);
    return list != nullptr;
  }
  if (EqualsIgnoreCase(property, "Value")) {
    auto* spin = dynamic_cast<SpinEdit*>(&control);
    if (spin) spin->SetValue(value);
    return spin != nullptr;
  }
  return false;
}

bool SetTextProperty(Control& control, std::string_view property, const std::string& value) {
  if (EqualsIgnoreCase(property, "Caption")) {
    control.SetCaption(value);
    return true;
  }
  if (!EqualsIgnoreCase(property, "Text")) return false;
  auto* edit = dynamic_cast<Edit*>(&control);
  if (edit) edit->SetText(value);
  return edit != nullptr;
}

bool SetColourProperty(Control& control, std::string_view property, uint32_t value) {
  if (!EqualsIgnoreCase(property, "Selected")) return false;
  auto* box = dynamic_cast<ColorBox*>(&control);
  if (box) box->SetSelected(value);
  return box != nullptr;
}

// Decodes by the entry's kind; a value the kind cannot read leaves the control alone.
void ApplyStoredValue(Control& control, const StoredProp& entry, const std::string& text) {
  switch (entry.kind) {
    case StoredValueKind::Boolean:
      if (std::optional<bool> value = DecodeBoolean(text))
        SetBooleanProperty(control, entry.property, *value);
      return;
    case StoredValueKind::Integer:
      if (std::optional<int32_t> value = DecodeInteger(text))
        SetIntegerProperty(control, entry.property, *value);
      return;
    case StoredValueKind::Text:
      SetTextProperty(control, entry.property, text);
      return;
    case StoredValueKind::Colour:
      if (std::optional<uint32_t> value = DecodeColour(text))
        SetColourProperty(control, entry.property, *value);
      return;
  }
}

// ---- Reading a property back as the text the file holds ------------------------------------

std::optional<bool> BooleanProperty(const Control& control, std::string_view property) {
  if (EqualsIgnoreCase(property, "Enabled")) return control.Enabled();
  if (!EqualsIgnoreCase(property, "Checked")) return std::nullopt;
  if (auto* box = dynamic_cast<const CheckBox*>(&control)) return box->Checked();
  if (auto* radio = dynamic_cast<const RadioButton*>(&control)) return radio->Checked();
  return std::nullopt;
}

std::optional<int> IntegerProperty(const Control& control, std::string_view property) {
  if (EqualsIgnoreCase(property, "Position")) {
    if (auto* bar = dynamic_cast<const TrackBar*>(&control)) return bar->Position();
    return std::nullopt;
  }
  if (EqualsIgnoreCase(property, "ItemIndex")) {
    if (auto* list = dynamic_cast<const ItemList*>(&control)) return list->ItemIndex();
    return std::nullopt;
  }
  if (EqualsIgnoreCase(property, "Value")) {
    if (auto* spin = dynamic_cast<const SpinEdit*>(&control)) return spin->Value();
  }
  return std::nullopt;
}

std::optional<std::string> TextProperty(const Control& control, std::string_view property) {
  if (EqualsIgnoreCase(property, "Caption")) return control.Caption();
  if (!EqualsIgnoreCase(property, "Text")) return std::nullopt;
  if (auto* edit = dynamic_cast<const Edit*>(&control)) return edit->Text();
  return std::nullopt;
}

std::optional<uint32_t> ColourProperty(const Control& control, std::string_view property) {
  if (!EqualsIgnoreCase(property, "Selected")) return std::nullopt;
  if (auto* box = dynamic_cast<const ColorBox*>(&control)) return box->Selected();
  return std::nullopt;
}

std::optional<std::string> EncodedProperty(const Control& control, const StoredProp& entry) {
  switch (entry.kind) {
    case StoredValueKind::Boolean:
      if (std::optional<bool> value = BooleanProperty(control, entry.property)) return EncodeBoolean(*value);
      return std::nullopt;
    case StoredValueKind::Integer:
      if (std::optional<int> value = IntegerProperty(control, entry.property)) return EncodeInteger(*value);
      return std::nullopt;
    case StoredValueKind::Text:
      return TextProperty(control, entry.property);
    case StoredValueKind::Colour:
      if (std::optional<uint32_t> value = ColourProperty(control, entry.property))
        return EncodeColour(*value);
      return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

FormStorage::FormStorage(Control& window, IniFileStorage& storage, PlatformMainWindow& mainWindow,
                         PlatformScreen& screen)
    : window_(window), storage_(storage), mainWindow_(mainWindow), screen_(screen) {
  // Bound once: an entry naming a component the window lacks never reaches the file.
  for (const StoredProp& entry : StoredProps) {
    Control* control = window_.FindNamed(std::string(entry.component));
    if (control) props_.push_back({control, &entry});
  }
}

void FormStorage::ExpandStoragePath() { sectionPath_ = ExpandFormName(kStoragePath, window_.Name()); }

std::string FormStorage::ValuePath(const std::string& name) const { return sectionPath_ + name; }

int FormStorage::ReadWindowInteger(const std::string& name, int defaultValue) const {
  std::string path = ValuePath(name);
  if (!storage_.ValueExists(path)) return defaultValue;
  std::string text = storage_.ReadString(path, "");
  std::optional<int32_t> value = DecodeInteger(text);
  if (!value) throw ZelvioError("'" + text + "' is not a valid integer value");
  return *value;
}

std::string FormStorage::ReadPositionText(const std::string& name, const std::string& suffix) const {
  std::string sized = ValuePath(name + suffix);
  if (storage_.ValueExists(sized)) return storage_.ReadString(sized, "");
  return storage_.ReadString(ValuePath(name), "");
}

void FormStorage::LoadWindowSettings() {
  if (!active_) return;
  ExpandStoragePath();
  saved_ = false;
  // An error in a window key leaves the load unfinished, so the close will not overwrite
  // the user's stored options with whatever the controls hold.
  if (ReadWindowInteger("FormVersion", 0) >= kFormVersion) {
    ReadPlacementKeys();
    ApplyStoredProps();
  }
  loaded_ = true;
}

void FormStorage::ReadPlacementKeys() {
  WindowPlacement placement = mainWindow_.GetPlacement();
  // Applying the placement must not show the window before its show steps have run.
  if (!mainWindow_.MainWindowVisible()) placement.showCmd = kShowHide;
  ReadWindowInteger("Flags", placement.flags);  // kept in the file, never applied

  const std::string suffix = ScreenSizeSuffix(screen_.GetScreenSize());
  const std::string minMax = ReadPositionText("MinMaxPos", suffix);
  if (!minMax.empty()) {
    std::vector<std::string_view> words = SplitPositionWords(minMax);
    placement.minX = WordOr(words, 0, 0);
    placement.minY = WordOr(words, 1, 0);
    placement.maxX = WordOr(words, 2, 0);
    placement.maxY = WordOr(words, 3, 0);
  }
  const std::string normal = ReadPositionText("NormPos", suffix);
  if (!normal.empty()) {
    // The window has a fixed-size border: only the place comes from the file.
    std::vector<std::string_view> words = SplitPositionWords(normal);
    Rect& rect = placement.normal;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    rect.left = WordOr(words, 0, rect.left);
    rect.top = WordOr(words, 1, rect.top);
    rect.right = ClampedSum(rect.left, width);
    rect.bottom = ClampedSum(rect.top, height);
  }
  if (!minMax.empty() || !normal.empty()) {
    // A position taken at another text size would put the window somewhere odd.
    const int pixelsPerInch = screen_.PixelsPerInch();
    if (ReadWindowInteger("PixelsPerInch", pixelsPerInch) == pixelsPerInch) {
      mainWindow_.SetPlacement(placement);
    }
  }

  switch (ReadWindowInteger("ShowCmd", 0)) {
    case kShowMinimized:
    case kShowMinimize:
    case kShowMinimizedNoActive:
      // Minimising goes through the program's own minimise handling once start-up is done.
      mainWindow_.SetMainWindowMaximized(false);
      mainWindow_.PostMinimize();
      return;
    case kShowMaximized:
      mainWindow_.SetMainWindowMaximized(true);
      return;
    default:
      mainWindow_.SetMainWindowMaximized(false);
      return;
  }
}

void FormStorage::ApplyStoredProps() {
  // List order matters: handlers that run here see earlier entries applied, later not yet.
  for (const BoundProp& prop : props_) {
    std::string path = ValuePath(StoredValueName(*prop.entry));
    if (!storage_.ValueExists(path)) continue;
    try {
      ApplyStoredValue(*prop.control, *prop.entry, storage_.ReadString(path, ""));
    } catch (const std::exception&) {
      // One option that cannot be set must not cost the user all the others.
    }
  }
}

void FormStorage::SaveWindowSettings() {
  if (!active_) return;
  ExpandStoragePath();
  storage_.WriteInteger(ValuePath("FormVersion"), kFormVersion);
  if (loaded_) {
    WritePlacementKeys();
    CollectStoredProps();
  }
  saved_ = true;
}

void FormStorage::WritePlacementKeys() {
  WindowPlacement placement = mainWindow_.GetPlacement();
  if (mainWindow_.ProgramMinimized()) placement.showCmd = kShowMinimized;
  const std::string suffix = ScreenSizeSuffix(screen_.GetScreenSize());
  const std::string minMax = PositionText(placement.minX, placement.minY, placement.maxX, placement.maxY);
  const Rect& rect = placement.normal;
  const std::string normal = PositionText(rect.left, rect.top, rect.right, rect.bottom);

  storage_.WriteInteger(ValuePath("ShowCmd"), placement.showCmd);
  storage_.WriteInteger(ValuePath("Flags"), placement.flags);
  storage_.WriteInteger(ValuePath("PixelsPerInch"), screen_.PixelsPerInch());
  storage_.WriteString(ValuePath("MinMaxPos" + suffix), minMax);
  storage_.WriteString(ValuePath("MinMaxPos"), minMax);
  storage_.WriteString(ValuePath("NormPos" + suffix), normal);
  storage_.WriteString(ValuePath("NormPos"), normal);
}

void FormStorage::CollectStoredProps() {
  for (const BoundProp& prop : props_) {
    std::optional<std::string> text = EncodedProperty(*prop.control, *prop.entry);
    if (text) storage_.WriteString(ValuePath(StoredValueName(*prop.entry)), *text);
  }
}

}  // namespace zelvio
