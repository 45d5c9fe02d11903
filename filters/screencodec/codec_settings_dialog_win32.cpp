#include "codec_settings_dialog_win32.h"

#include <commctrl.h>

#include <string>

#include "codec_module_win32.h"
#include "codec_resources.h"
#include "codec_settings_file_win32.h"
#include "common/win32/system_error.h"

namespace zelvio::screencodec {

namespace {

constexpr const wchar_t* kCaption = L"Zelvio Screen Codec";

// "1 to 600", from the limits the settings keep, so the dialog never says other numbers.
std::wstring RangeText() {
  return std::to_wstring(CodecSettings::kMinKeyFrameSeconds) + L" to " +
         std::to_wstring(CodecSettings::kMaxKeyFrameSeconds);
}

void Fill(HWND dialog, const CodecSettings& settings) {
  SendDlgItemMessageW(dialog, IDC_KEY_FRAME_SPIN, UDM_SETRANGE32, CodecSettings::kMinKeyFrameSeconds,
                      CodecSettings::kMaxKeyFrameSeconds);
  SetDlgItemTextW(dialog, IDC_KEY_FRAME_RANGE, (L"seconds (" + RangeText() + L")").c_str());
  SetDlgItemInt(dialog, IDC_KEY_FRAME_SECONDS, static_cast<UINT>(settings.keyFrameSeconds), FALSE);
  CheckRadioButton(dialog, IDC_EFFORT_FASTER, IDC_EFFORT_SMALLER,
                   settings.effort == Effort::Smaller ? IDC_EFFORT_SMALLER : IDC_EFFORT_FASTER);
}

// False, with the user told and the field focused, when the seconds are not in range.
bool Read(HWND dialog, CodecSettings& settings) {
  BOOL number = FALSE;
  UINT seconds = GetDlgItemInt(dialog, IDC_KEY_FRAME_SECONDS, &number, FALSE);
  if (!number || seconds < CodecSettings::kMinKeyFrameSeconds ||
      seconds > CodecSettings::kMaxKeyFrameSeconds) {
    const std::wstring text = L"Enter a key frame interval from " + RangeText() + L" seconds.";
    MessageBoxW(dialog, text.c_str(), kCaption, MB_OK | MB_ICONWARNING);
    HWND field = GetDlgItem(dialog, IDC_KEY_FRAME_SECONDS);
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, 0, -1);
    return false;
  }
  settings.keyFrameSeconds = static_cast<int>(seconds);
  settings.effort =
      IsDlgButtonChecked(dialog, IDC_EFFORT_SMALLER) == BST_CHECKED ? Effort::Smaller : Effort::Faster;
  return true;
}

std::wstring SystemText(DWORD code) {
  std::wstring words = SystemErrorWords(code);
  return words.empty() ? L"Error " + std::to_wstring(code) : words;
}

void ReportSaveFailure(HWND dialog, DWORD code) {
  std::wstring text = L"The codec's settings could not be saved to \"" + CodecSettingsPath() + L"\": " +
                      SystemText(code) + L".\nThey hold until Zelvio closes.";
  MessageBoxW(dialog, text.c_str(), kCaption, MB_OK | MB_ICONERROR);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      Fill(dialog, *reinterpret_cast<CodecSettings*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* settings = reinterpret_cast<CodecSettings*>(GetWindowLongPtrW(dialog, DWLP_USER));
        CodecSettings edited = *settings;
        if (!Read(dialog, edited)) return TRUE;
        *settings = edited;
        DWORD code = SaveCodecSettings(edited);
        if (code != ERROR_SUCCESS) ReportSaveFailure(dialog, code);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

bool ShowCodecSettingsDialog(HWND parent, CodecSettings& settings) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  CodecSettings edited = settings;
  INT_PTR result = DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_CODEC_SETTINGS), parent, DialogProc,
                                   reinterpret_cast<LPARAM>(&edited));
  if (result != IDOK) return false;
  settings = edited;
  return true;
}

}  // namespace zelvio::screencodec
