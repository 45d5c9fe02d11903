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

// The compressor the doubles offer unless a test names another.
inline const std::string kTestCompressor = "Zelvio Test Codec (dialog)";

struct FormRun {
  explicit FormRun(FakePlatform& machine) : platform(machine), form(machine.Services(), pipeline) {}
  // A run on a machine whose settings file holds `settings`: the window reads it as it is built.
  FormRun(FakePlatform& machine, const std::string& settings) : FormRun(WithSettings(machine, settings)) {}

  TFormMain& Start() {
    form.FormCreate();
    form.Show();
    return form;
  }
  // Started with `compressor` as the only one in the list, and chosen: Record can start.
  TFormMain& StartReadyToRecord(const std::string& compressor = kTestCompressor) {
    pipeline.compressors = {compressor};
    Start();
    form.ComboBoxVideoCompressors.SetItemIndex(0);
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

 private:
  static FakePlatform& WithSettings(FakePlatform& machine, const std::string& settings) {
    machine.PutFile(machine.SettingsPath(), settings);
    return machine;
  }
};

}  // namespace zelvio
