#include "control_describe.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "control_type.h"
#include "platform/wide_text_win32.h"
#include "output.h"
#include "remote_buffer.h"
#include "windows_find.h"

namespace zdriver {

namespace {

constexpr UINT kItemTimeoutMs = 2000;

std::string Hex(unsigned long long value) {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "0x%llx", value);
  return buffer;
}

bool HasStyle(HWND window, LONG bits) { return (GetWindowLongA(window, GWL_STYLE) & bits) != 0; }

// Owner-drawn lists without strings keep a value per item instead of text (a colour list,
// say); for them the item data is what identifies an item.
bool ComboHoldsText(HWND combo) {
  if (!HasStyle(combo, CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) return true;
  return HasStyle(combo, CBS_HASSTRINGS);
}

bool ListHoldsText(HWND list) {
  if (!HasStyle(list, LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) return true;
  return HasStyle(list, LBS_HASSTRINGS);
}

// Asked in UTF-16 and converted here: Wine hands an ANSI caller in another process the
// item text of LB_GETTEXT / CB_GETLBTEXT still in UTF-16.
std::string ItemText(HWND control, UINT lengthMessage, UINT textMessage, int index) {
  LRESULT length = Query(control, lengthMessage, static_cast<WPARAM>(index));
  if (length <= 0) return std::string();
  std::vector<wchar_t> wide(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, textMessage, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(wide.data()), SMTO_ABORTIFHUNG, kItemTimeoutMs,
                           &copied)) {
    return std::string();
  }
  int wideLength = static_cast<int>(copied);
  if (wideLength <= 0 || wideLength > static_cast<int>(length)) return std::string();
  return zelvio::NarrowBounded(wide.data(), static_cast<size_t>(wideLength));
}

void PrintItem(int index, const std::string& text) {
  std::string key = "item " + std::to_string(index);
  PrintField(key.c_str(), text);
}

void DescribeButton(HWND button) {
  PrintField("checked", static_cast<long long>(Query(button, BM_GETCHECK)));
}

void DescribeCombo(HWND combo) {
  int count = static_cast<int>(Query(combo, CB_GETCOUNT));
  int selection = static_cast<int>(Query(combo, CB_GETCURSEL));
  bool holdsText = ComboHoldsText(combo);
  PrintField("count", count);
  PrintField("selection", selection);
  for (int i = 0; i < count; ++i) {
    if (holdsText) {
      PrintItem(i, ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, i));
    } else {
      PrintItem(i, Hex(static_cast<unsigned long long>(Query(combo, CB_GETITEMDATA, i))));
    }
  }
  if (selection < 0 || selection >= count) return;
  if (holdsText) {
    PrintField("selected", ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, selection));
  } else {
    PrintField("selected", Hex(static_cast<unsigned long long>(Query(combo, CB_GETITEMDATA, selection))));
  }
}

void DescribeList(HWND list) {
  int count = static_cast<int>(Query(list, LB_GETCOUNT));
  int selection = static_cast<int>(Query(list, LB_GETCURSEL));
  bool holdsText = ListHoldsText(list);
  PrintField("count", count);
  PrintField("selection", selection);
  for (int i = 0; i < count && holdsText; ++i) {
    PrintItem(i, ItemText(list, LB_GETTEXTLEN, LB_GETTEXT, i));
  }
  if (selection >= 0 && selection < count && holdsText) {
    PrintField("selected", ItemText(list, LB_GETTEXTLEN, LB_GETTEXT, selection));
  }
}

void DescribeEdit(HWND edit) {
  PrintFlag("readonly", HasStyle(edit, ES_READONLY));
  DWORD selection = static_cast<DWORD>(Query(edit, EM_GETSEL));
  PrintField("selstart", static_cast<long long>(LOWORD(selection)));
  PrintField("selend", static_cast<long long>(HIWORD(selection)));
}

void DescribeTrackBar(HWND bar) {
  PrintField("position", static_cast<long long>(Query(bar, TBM_GETPOS)));
  PrintField("min", static_cast<long long>(Query(bar, TBM_GETRANGEMIN)));
  PrintField("max", static_cast<long long>(Query(bar, TBM_GETRANGEMAX)));
  PrintFlag("vertical", HasStyle(bar, TBS_VERT));
}

// TCM_GETITEMA is not carried across processes: the structure and the text buffer it
// points to are placed in the tab control's own process.
std::string TabCaption(HWND tabs, int index) {
  constexpr size_t kTextSize = 256;
  RemoteBuffer remote(ProcessOf(tabs), sizeof(TCITEMA) + kTextSize);
  if (!remote.Valid()) return std::string();
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = remote.Address() + sizeof(TCITEMA);
  item.cchTextMax = kTextSize;
  char empty[kTextSize] = {};
  if (!remote.Write(0, &item, sizeof(item))) return std::string();
  if (!remote.Write(sizeof(TCITEMA), empty, sizeof(empty))) return std::string();
  if (Query(tabs, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(remote.Address())) == 0) {
    return std::string();
  }
  char text[kTextSize] = {};
  if (!remote.Read(sizeof(TCITEMA), text, sizeof(text) - 1)) return std::string();
  return text;
}

void DescribeTabs(HWND tabs) {
  int count = static_cast<int>(Query(tabs, TCM_GETITEMCOUNT));
  int selection = static_cast<int>(Query(tabs, TCM_GETCURSEL));
  PrintField("count", count);
  PrintField("selection", selection);
  for (int i = 0; i < count; ++i) PrintItem(i, TabCaption(tabs, i));
  if (selection >= 0 && selection < count) PrintField("selected", TabCaption(tabs, selection));
}

void DescribeUpDown(HWND upDown) {
  PrintField("position", static_cast<long long>(Query(upDown, UDM_GETPOS32)));
}

}  // namespace

void DescribeControl(HWND control) {
  ControlType type = TypeOf(control);
  PrintField("hwnd", Hex(reinterpret_cast<unsigned long long>(control)));
  PrintField("id", GetDlgCtrlID(control));
  PrintField("class", ClassOf(control));
  PrintField("type", TypeName(type));
  PrintField("text", WindowText(control));
  PrintFlag("enabled", IsWindowEnabled(control) != FALSE);
  // "visible" is the control's own flag; "showing" also needs every parent visible, so a
  // control on a tab that is not in front is visible but not showing.
  PrintFlag("visible", HasStyle(control, WS_VISIBLE));
  PrintFlag("showing", IsWindowVisible(control) != FALSE);
  switch (type) {
    case ControlType::CheckBox:
    case ControlType::RadioButton:
      DescribeButton(control);
      break;
    case ControlType::ComboBox:
      DescribeCombo(control);
      break;
    case ControlType::ListBox:
      DescribeList(control);
      break;
    case ControlType::Edit:
      DescribeEdit(control);
      break;
    case ControlType::TrackBar:
      DescribeTrackBar(control);
      break;
    case ControlType::TabControl:
      DescribeTabs(control);
      break;
    case ControlType::UpDown:
      DescribeUpDown(control);
      break;
    default:
      break;
  }
}

}  // namespace zdriver
