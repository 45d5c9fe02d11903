// One run of the main window on a fake machine: created, shown, closed and torn down as the
// program does, with the pipeline double beside it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/form/form_main.h"
#include "doubles/fake_pipeline.h"
#include "doubles/fake_platform.h"
#include "settings/ini_document.h"

namespace zelvio {

struct FormRun {
  explicit FormRun(FakePlatform& machine) : platform(machine), form(machine.Services(), pipeline) {}

  TFormMain& Start() {
    form.FormCreate();
    form.Show();
    return form;
  }
  void Close() {
    form.CloseQuery();
    form.Destroy();
  }
  // The overlay commands sent so far.
  std::vector<std::string> Commands() const { return platform.Entries("copydata: "); }
  // What the run left in "[FormMain]" of the settings file.
  std::optional<std::string> Saved(const std::string& name) const {
    return IniDocument::Parse(platform.FileContents(platform.SettingsPath())).ReadString("FormMain", name);
  }

  FakePlatform& platform;
  FakePipeline pipeline;
  TFormMain form;
};

}  // namespace zelvio
