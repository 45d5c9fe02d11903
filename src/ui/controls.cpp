#include "ui/controls.h"

#include <algorithm>
#include <charconv>

#include "common/decimal_text.h"
#include "ui/colours.h"

namespace zelvio {

namespace {

void Run(const Handler& handler) {
  if (handler) handler();
}

}  // namespace

// ---- Control ---------------------------------------------------------------------------

Control::Control(ControlKind kind, std::string name, Control* parent)
    : kind_(kind), name_(std::move(name)), parent_(parent) {
  if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
  if (!parent_) return;
  auto& siblings = parent_->children_;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Changed();
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  // What a container holds looks and acts disabled with it, so every peer below refreshes.
  RefreshSubtree();
}

Control* Control::FindNamed(const std::string& name) {
  std::vector<Control*> pending = {this};
  while (!pending.empty()) {
    Control* c = pending.back();
    pending.pop_back();
    if (c->Name() == name) return c;
    for (Control* child : c->Children()) pending.push_back(child);
  }
  return nullptr;
}

bool Control::EffectivelyEnabled() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->enabled_) return false;
  }
  return true;
}

void Control::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  Changed();
}

void Control::Changed() {
  if (peer_) peer_->Refresh(*this);
}

void Control::RefreshSubtree() {
  Changed();
  for (Control* child : children_) child->RefreshSubtree();
}

// ---- Simple controls ---------------------------------------------------------------------

Label::Label(std::string name, Control* parent, const std::string& caption)
    : Control(ControlKind::Label, std::move(name), parent) {
  SetCaption(caption);
}

Edit::Edit(std::string name, Control* parent) : Control(ControlKind::Edit, std::move(name), parent) {}

void Edit::SetCaretToEnd() {
  caret_ = Text().size();
  Changed();
}

Button::Button(std::string name, Control* parent, const std::string& caption)
    : Button(ControlKind::Button, std::move(name), parent, caption) {}

Button::Button(ControlKind kind, std::string name, Control* parent, const std::string& caption)
    : Control(kind, std::move(name), parent) {
  SetCaption(caption);
}

void Button::Click() {
  if (!EffectivelyEnabled()) return;
  Run(OnClick);
}

ImageButton::ImageButton(std::string name, Control* parent, int imageIndex)
    : Button(ControlKind::ImageButton, std::move(name), parent, ""), imageIndex_(imageIndex) {}

void ImageButton::SetImageIndex(int index) {
  if (imageIndex_ == index) return;
  imageIndex_ = index;
  Changed();
}

// ---- Check box and radio button --------------------------------------------------------

CheckBox::CheckBox(std::string name, Control* parent, const std::string& caption)
    : Control(ControlKind::CheckBox, std::move(name), parent) {
  SetCaption(caption);
}

void CheckBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Changed();
  Run(OnClick);
}

void CheckBox::Click() { SetChecked(!checked_); }

RadioButton::RadioButton(std::string name, Control* parent, const std::string& caption)
    : Control(ControlKind::RadioButton, std::move(name), parent) {
  SetCaption(caption);
}

void RadioButton::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Changed();
  if (!checked) return;
  if (Parent()) {
    for (Control* sibling : Parent()->Children()) {
      if (sibling == this || sibling->Kind() != ControlKind::RadioButton) continue;
      auto* radio = static_cast<RadioButton*>(sibling);
      if (!radio->checked_) continue;
      radio->checked_ = false;
      radio->Changed();
    }
  }
  Run(OnClick);
}

// ---- Track bar ---------------------------------------------------------------------------

TrackBar::TrackBar(std::string name, Control* parent, Orientation orientation, int min, int max, int position)
    : Control(ControlKind::TrackBar, std::move(name), parent),
      orientation_(orientation),
      min_(min),
      max_(max),
      position_(std::clamp(position, min, max)) {}

void TrackBar::SetMax(int max) {
  if (max < min_) return;
  max_ = max;
  ClampAndNotify();
}

void TrackBar::ClampAndNotify() {
  int clamped = std::clamp(position_, min_, max_);
  if (clamped == position_) {
    Changed();
    return;
  }
  position_ = clamped;
  Changed();
  Run(OnChange);
}

void TrackBar::SetPosition(int position) {
  int clamped = std::clamp(position, min_, max_);
  if (clamped == position_) return;
  position_ = clamped;
  Changed();
  Run(OnChange);
}

// ---- Lists -------------------------------------------------------------------------------

ItemList::ItemList(ControlKind kind, std::string name, Control* parent)
    : Control(kind, std::move(name), parent) {}

void ItemList::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  index_ = -1;
  Changed();
}

void ItemList::AddItem(const std::string& item) {
  items_.push_back(item);
  Changed();
}

void ItemList::Clear() {
  items_.clear();
  index_ = -1;
  Changed();
}

void ItemList::SetItemIndex(int index) {
  if (index < 0 || index >= Count()) index = -1;
  if (index_ == index) return;
  index_ = index;
  Changed();
}

std::string ItemList::Text() const {
  if (index_ < 0 || index_ >= Count()) return "";
  return items_[static_cast<size_t>(index_)];
}

void ComboBox::UserSelect(int index) {
  SetItemIndex(index);
  Run(OnChange);
}

void ListBox::UserSelect(int index) {
  SetItemIndex(index);
  Run(OnClick);
}

// ---- Colour list ---------------------------------------------------------------------------

ColorBox::ColorBox(std::string name, Control* parent)
    : Control(ControlKind::ColorBox, std::move(name), parent) {
  entries_.push_back({"Custom...", 0x000000});
  for (const auto& c : StandardColours()) entries_.push_back({c.displayName, c.value});
}

uint32_t ColorBox::Selected() const {
  if (index_ < 0) return 0;
  return entries_[static_cast<size_t>(index_)].colour;
}

void ColorBox::SetSelected(uint32_t colour) {
  for (size_t i = 1; i < entries_.size(); ++i) {
    if (entries_[i].colour != colour) continue;
    index_ = static_cast<int>(i);
    Changed();
    return;
  }
  entries_[0].colour = colour;
  index_ = 0;
  Changed();
}

void ColorBox::UserSelect(int index) {
  if (index < 0 || index >= static_cast<int>(entries_.size())) index = -1;
  index_ = index;
  Changed();
  Run(OnClick);
}

void ColorBox::UserSelectCustom(uint32_t colour) {
  entries_[0].colour = colour;
  UserSelect(0);
}

// ---- Spin edit ---------------------------------------------------------------------------

SpinEdit::SpinEdit(std::string name, Control* parent, int min, int max, int value)
    : Control(ControlKind::SpinEdit, std::move(name), parent), min_(min), max_(max) {
  SetValue(value);
}

int SpinEdit::Value() const { return ParseDecimal(Text()).value_or(min_); }

void SpinEdit::SetValue(int value) { SetCaption(std::to_string(std::clamp(value, min_, max_))); }

void SpinEdit::UserType(const std::string& text) { SetCaption(text); }

void SpinEdit::LoseFocus() { SetValue(Value()); }

void SpinEdit::Step(int delta) {
  long long next = static_cast<long long>(Value()) + delta;
  SetValue(static_cast<int>(std::clamp<long long>(next, min_, max_)));
}

// ---- Timer -------------------------------------------------------------------------------

Timer::Timer(std::string name, Control* parent, unsigned interval)
    : Control(ControlKind::Timer, std::move(name), parent), interval_(interval) {
  SetEnabled(false);
}

void Timer::SetInterval(unsigned interval) {
  if (interval_ == interval) return;
  interval_ = interval;
  Changed();
}

void Timer::Tick() {
  if (!Enabled()) return;
  Run(OnTimer);
}

}  // namespace zelvio
