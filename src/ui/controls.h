// The control layer: every option of the program lives in one of these objects.
//
// A control keeps its own state and mirrors it to a peer (a real HWND in the product,
// nothing in native tests). Code and the user go through the same setters, so the
// reactions the rest of the program relies on live here and nowhere else:
//   - a check box whose state changes runs its click handler;
//   - a radio button that becomes checked unchecks its siblings, then runs its handler;
//   - a track bar clamps, ignores a maximum below its minimum, and fires on a real change;
//   - a list position outside the list means no selection, and runs no handler.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zelvio {

using Handler = std::function<void()>;

enum class ControlKind {
  Form,
  Panel,
  GroupBox,
  PageControl,
  TabSheet,
  Label,
  Edit,
  Button,
  ImageButton,
  CheckBox,
  RadioButton,
  TrackBar,
  ComboBox,
  ListBox,
  ColorBox,
  SpinEdit,
  Timer,
};

class Control;

// Mirrors a control's state to whatever shows it. Refresh is called after every change
// of the control's own state; the peer reads what it needs back from the control.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void Refresh(Control& control) = 0;
};

class Control {
 public:
  Control(ControlKind kind, std::string name, Control* parent);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  Control* Parent() const { return parent_; }
  const std::vector<Control*>& Children() const { return children_; }
  // This control or one anywhere below it by design name; null when there is none.
  Control* FindNamed(const std::string& name);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Enabled and every container above it enabled: disabling a panel disables all it holds.
  bool EffectivelyEnabled() const;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }

  void AttachPeer(ControlPeer* peer) { peer_ = peer; }
  ControlPeer* Peer() const { return peer_; }

 protected:
  void Changed();

 private:
  void RefreshSubtree();

  ControlKind kind_;
  std::string name_;
  Control* parent_;
  std::vector<Control*> children_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  std::string hint_;
  ControlPeer* peer_ = nullptr;
};

// Containers and plain texts need nothing beyond the base.
class Panel : public Control {
 public:
  Panel(ControlKind kind, std::string name, Control* parent) : Control(kind, std::move(name), parent) {}
  Panel(std::string name, Control* parent) : Panel(ControlKind::Panel, std::move(name), parent) {}
};

// The other containers differ from a panel in their kind only, which decides the window
// that shows them; a group box and a tab sheet show their caption.
class GroupBox : public Panel {
 public:
  GroupBox(std::string name, Control* parent, const std::string& caption = {})
      : Panel(ControlKind::GroupBox, std::move(name), parent) {
    SetCaption(caption);
  }
};

class PageControl : public Panel {
 public:
  PageControl(std::string name, Control* parent) : Panel(ControlKind::PageControl, std::move(name), parent) {}
};

class TabSheet : public Panel {
 public:
  TabSheet(std::string name, Control* parent, const std::string& caption)
      : Panel(ControlKind::TabSheet, std::move(name), parent) {
    SetCaption(caption);
  }
};

class Label : public Control {
 public:
  Label(std::string name, Control* parent, const std::string& caption);
};

class Edit : public Control {
 public:
  Edit(std::string name, Control* parent);
  const std::string& Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }
  // Where the caret stands; the peer scrolls the text so the caret is in view.
  size_t CaretPosition() const { return caret_; }
  void SetCaretToEnd();

 private:
  size_t caret_ = 0;
};

// A push button with a caption (`BitBtn...`, `Button...`).
class Button : public Control {
 public:
  Button(std::string name, Control* parent, const std::string& caption);
  Handler OnClick;
  // A user's click: runs the handler only while the button can be used.
  void Click();

 protected:
  Button(ControlKind kind, std::string name, Control* parent, const std::string& caption);
};

class ImageButton : public Button {
 public:
  ImageButton(std::string name, Control* parent, int imageIndex);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);

 private:
  int imageIndex_;
};

class CheckBox : public Control {
 public:
  CheckBox(std::string name, Control* parent, const std::string& caption);
  bool Checked() const { return checked_; }
  // A change of state runs OnClick; setting the state it already has does nothing.
  void SetChecked(bool checked);
  // A user's click toggles the state through the same setter.
  void Click();
  Handler OnClick;

 private:
  bool checked_ = false;
};

class RadioButton : public Control {
 public:
  RadioButton(std::string name, Control* parent, const std::string& caption);
  bool Checked() const { return checked_; }
  // Checking unchecks the siblings under the same parent, then runs OnClick.
  // Unchecking runs nothing and touches no sibling.
  void SetChecked(bool checked);
  void Click() { SetChecked(true); }
  Handler OnClick;

 private:
  bool checked_ = false;
};

class TrackBar : public Control {
 public:
  enum class Orientation { Horizontal, Vertical };
  TrackBar(std::string name, Control* parent, Orientation orientation, int min, int max, int position);
  Orientation GetOrientation() const { return orientation_; }
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  // A maximum below the minimum is ignored; a valid one clamps the position.
  void SetMax(int max);
  // Clamped into [Min, Max]; a real change runs OnChange.
  void SetPosition(int position);
  Handler OnChange;

 private:
  void ClampAndNotify();
  Orientation orientation_;
  int min_;
  int max_;
  int position_;
};

// Drop-down list without typing, and list box: positions index Items.
class ItemList : public Control {
 public:
  ItemList(ControlKind kind, std::string name, Control* parent);
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  void AddItem(const std::string& item);
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  int ItemIndex() const { return index_; }
  // Out of range (including -1) means no selection. Never runs a handler: only the
  // user's choice does (UserSelect).
  void SetItemIndex(int index);
  // The selected item's text, or "" without a selection.
  std::string Text() const;

 protected:
  std::vector<std::string> items_;
  int index_ = -1;
};

class ComboBox : public ItemList {
 public:
  ComboBox(std::string name, Control* parent) : ItemList(ControlKind::ComboBox, std::move(name), parent) {}
  void UserSelect(int index);
  Handler OnChange;
};

class ListBox : public ItemList {
 public:
  ListBox(std::string name, Control* parent) : ItemList(ControlKind::ListBox, std::move(name), parent) {}
  void UserSelect(int index);
  Handler OnClick;
};

// The background colour list: "Custom..." first (its colour is whatever was last put
// there), then the sixteen standard colours.
class ColorBox : public Control {
 public:
  struct Entry {
    std::string name;
    uint32_t colour;
  };
  ColorBox(std::string name, Control* parent);
  const std::vector<Entry>& Entries() const { return entries_; }
  int ItemIndex() const { return index_; }
  // The selected colour; black without a selection.
  uint32_t Selected() const;
  // A colour the list does not offer becomes the custom entry's colour and is selected.
  // Runs no handler.
  void SetSelected(uint32_t colour);
  // The user picked an entry (for "Custom...", after the colour dialog gave `colour`).
  void UserSelect(int index);
  void UserSelectCustom(uint32_t colour);
  Handler OnClick;

 private:
  std::vector<Entry> entries_;
  int index_ = -1;
};

class SpinEdit : public Control {
 public:
  SpinEdit(std::string name, Control* parent, int min, int max, int value);
  int MinValue() const { return min_; }
  int MaxValue() const { return max_; }
  // The text read as a decimal integer; the minimum when it is not one.
  int Value() const;
  const std::string& Text() const { return Caption(); }
  // Values set from code are pulled into range.
  void SetValue(int value);
  // What the user typed stays as typed until the box loses the focus.
  void UserType(const std::string& text);
  void LoseFocus();
  // An arrow click: one step, never out of range.
  void Step(int delta);

 private:
  int min_;
  int max_;
};

// A window timer. The peer starts and stops the real one; tests call Tick().
class Timer : public Control {
 public:
  Timer(std::string name, Control* parent, unsigned interval);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned interval);
  void Tick();
  Handler OnTimer;

 private:
  unsigned interval_;
};

}  // namespace zelvio
