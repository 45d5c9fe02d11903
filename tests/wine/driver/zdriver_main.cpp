// zdriver: operates and inspects the running recorder from outside, through real window
// messages, for the end-to-end tests. One command per run; see kCommands for the list.
#include <cstdio>
#include <string>
#include <vector>

#include <windows.h>
#include <shellapi.h>

#include "args.h"
#include "commands.h"
#include "commands_desktop.h"
#include "platform/wide_text_win32.h"
#include "commands_dpi.h"

namespace {

using zdriver::Args;

struct Command {
  const char* name;
  size_t minArgs;
  size_t maxArgs;
  const char* usage;
  int (*run)(const Args&);
};

const Command kCommands[] = {
    {"wait-window", 1, 3, "<class> [title|-] [timeout_ms]", zdriver::WaitWindowCommand},
    {"window-info", 1, 2, "<class> [title|-]", zdriver::WindowInfoCommand},
    {"wait-gone", 1, 3, "<class> [title|-] [timeout_ms]", zdriver::WaitGoneCommand},
    {"close-main", 0, 0, "", zdriver::CloseMainCommand},
    {"hotkey", 1, 1, "<id>", zdriver::HotkeyCommand},
    {"hotkey-sequence", 1, 8, "<id|w<ms>>...", zdriver::HotkeySequenceCommand},
    {"press-keys", 1, 8, "<[ALT+|CTRL+|SHIFT+|WIN+]KEY>...", zdriver::PressKeysCommand},
    {"control", 1, 1, "<designName|#id>", zdriver::ControlCommand},
    {"controls", 0, 0, "", zdriver::ControlsCommand},
    {"click", 1, 1, "<designName|#id>", zdriver::ClickCommand},
    {"select", 2, 2, "<designName|#id> <index>", zdriver::SelectCommand},
    {"set-trackbar", 2, 2, "<designName|#id> <position>", zdriver::SetTrackBarCommand},
    {"select-tab", 2, 2, "<pageControlName|#id> <index>", zdriver::SelectTabCommand},
    {"messagebox", 0, 1, "[timeout_ms]", zdriver::MessageBoxCommand},
    {"dismiss", 0, 1, "[timeout_ms]", zdriver::DismissCommand},
    {"dialog", 1, 9, "<caption> [timeout_ms] [get:ID|set:ID=TEXT|checked:ID|click:ID]...", zdriver::DialogCommand},
    {"messageboxes-dismiss-all", 0, 1, "[quiet_ms]", zdriver::DismissAllCommand},
    {"start-timed", 3, 5, "<exe> <folder> <class> [timeout_ms] [arguments]", zdriver::StartTimedCommand},
    {"window-exstyle", 1, 2, "<class> [title|-]", zdriver::WindowExStyleCommand},
    {"move-main", 2, 2, "<x> <y>", zdriver::MoveMainCommand},
    {"show-main", 1, 1, "<minimize|restore|hide|show>", zdriver::ShowMainCommand},
    {"show-window", 2, 2, "<class> <hide|show>", zdriver::ShowWindowCommand},
    {"post-close", 1, 2, "<class> [title|-]", zdriver::PostCloseCommand},
    {"pixel", 2, 2, "<x> <y>", zdriver::PixelCommand},
    {"flash-or-box", 4, 5, "<hotkey id> <x> <y> <RRGGBB> [timeout_ms]", zdriver::FlashOrBoxCommand},
    {"pick-folder", 1, 2, "<path> [timeout_ms]", zdriver::PickFolderCommand},
    {"command", 1, 1, "<id>", zdriver::MenuCommandCommand},
    {"tray-click", 1, 1, "<left|right>", zdriver::TrayClickCommand},
    {"terminate", 1, 2, "<class> [title|-]", zdriver::TerminateCommand},
    {"resources", 1, 2, "<class> [title|-]", zdriver::ResourcesCommand},
    {"file-attributes", 1, 2, "<path> [+r|-r]", zdriver::FileAttributesCommand},
    {"end-session", 0, 1, "[logoff|shutdown]", zdriver::EndSessionCommand},
    {"hold-file", 2, 3, "<path> <ms> [release-file]", zdriver::HoldFileCommand},
    {"set-text", 2, 2, "<designName|#id> <text>", zdriver::SetTextCommand},
    {"popup-menu", 0, 2, "[close | items N]", zdriver::PopupMenuCommand},
    {"layout", 0, 1, "[dpi]", zdriver::LayoutCommand},
    {"dpi-changed", 5, 5, "<dpi> <left> <top> <right> <bottom>", zdriver::DpiChangedCommand},
    {"manifest", 1, 1, "<exe path>", zdriver::ManifestCommand},
    {"time-click", 3, 4, "<designName|#id> <folder> <pattern> [timeout_ms]", zdriver::TimeClickCommand},
};

int Usage() {
  std::printf("usage: zdriver <command> [arguments]\n");
  for (const Command& command : kCommands) std::printf("  %s %s\n", command.name, command.usage);
  return 2;
}

}  // namespace

// The arguments in UTF-8, taken from the UTF-16 command line: a text in a script the ANSI
// code page cannot spell would reach argv as '?'.
std::vector<std::string> Utf8Arguments() {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(zelvio::Narrow(wide[i]));
  LocalFree(wide);
  return arguments;
}

int main() {
  const std::vector<std::string> arguments = Utf8Arguments();
  if (arguments.size() < 2) return Usage();
  std::string name = arguments[1];
  Args args(arguments.begin() + 2, arguments.end());
  for (const Command& command : kCommands) {
    if (name != command.name) continue;
    if (args.size() < command.minArgs || args.size() > command.maxArgs) {
      std::printf("usage: zdriver %s %s\n", command.name, command.usage);
      return 2;
    }
    return command.run(args);
  }
  return Usage();
}
