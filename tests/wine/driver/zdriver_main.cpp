// zdriver: operates and inspects the running recorder from outside, through real window
// messages, for the end-to-end tests. One command per run; see kCommands for the list.
#include <cstdio>
#include <string>

#include "args.h"
#include "commands.h"
#include "commands_desktop.h"

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
    {"control", 1, 1, "<designName|#id>", zdriver::ControlCommand},
    {"controls", 0, 0, "", zdriver::ControlsCommand},
    {"click", 1, 1, "<designName|#id>", zdriver::ClickCommand},
    {"select", 2, 2, "<designName|#id> <index>", zdriver::SelectCommand},
    {"set-trackbar", 2, 2, "<designName|#id> <position>", zdriver::SetTrackBarCommand},
    {"select-tab", 2, 2, "<pageControlName|#id> <index>", zdriver::SelectTabCommand},
    {"messagebox", 0, 1, "[timeout_ms]", zdriver::MessageBoxCommand},
    {"dismiss", 0, 1, "[timeout_ms]", zdriver::DismissCommand},
    {"messageboxes-dismiss-all", 0, 1, "[quiet_ms]", zdriver::DismissAllCommand},
    {"start-timed", 3, 5, "<exe> <folder> <class> [timeout_ms] [arguments]", zdriver::StartTimedCommand},
    {"window-exstyle", 1, 2, "<class> [title|-]", zdriver::WindowExStyleCommand},
    {"move-main", 2, 2, "<x> <y>", zdriver::MoveMainCommand},
    {"show-main", 1, 1, "<minimize|restore|hide|show>", zdriver::ShowMainCommand},
    {"post-close", 1, 2, "<class> [title|-]", zdriver::PostCloseCommand},
    {"pixel", 2, 2, "<x> <y>", zdriver::PixelCommand},
    {"command", 1, 1, "<id>", zdriver::MenuCommandCommand},
    {"tray-click", 1, 1, "<left|right>", zdriver::TrayClickCommand},
    {"terminate", 1, 2, "<class> [title|-]", zdriver::TerminateCommand},
    {"file-attributes", 1, 2, "<path> [+r|-r]", zdriver::FileAttributesCommand},
    {"end-session", 0, 1, "[logoff|shutdown]", zdriver::EndSessionCommand},
    {"hold-file", 2, 3, "<path> <ms> [release-file]", zdriver::HoldFileCommand},
    {"set-text", 2, 2, "<designName|#id> <text>", zdriver::SetTextCommand},
    {"popup-menu", 0, 2, "[close | items N]", zdriver::PopupMenuCommand},
    {"time-click", 3, 4, "<designName|#id> <folder> <pattern> [timeout_ms]", zdriver::TimeClickCommand},
};

int Usage() {
  std::printf("usage: zdriver <command> [arguments]\n");
  for (const Command& command : kCommands) std::printf("  %s %s\n", command.name, command.usage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string name = argv[1];
  Args args(argv + 2, argv + argc);
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
