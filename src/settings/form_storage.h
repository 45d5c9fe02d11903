// Binds the settings file to the main window: the placement and the stored control
// properties are applied at the first showing and collected at the close request.
#pragma once

#include <string>

#include "platform/platform.h"
#include "settings/ini_file_storage.h"

namespace zelvio {

class TFormMain;

class FormStorage {
 public:
  FormStorage(TFormMain& form, IniFileStorage& storage, Platform& platform);

  bool SettingsActive() const { return active_; }
  void SetSettingsActive(bool active) { active_ = active; }
  bool SettingsLoaded() const { return loaded_; }
  bool SettingsSaved() const { return saved_; }

  // Throws ZelvioError ("'%s' is not a valid integer value") for a faulty window key.
  void LoadWindowSettings();
  void SaveWindowSettings();

 private:
  TFormMain& form_;
  IniFileStorage& storage_;
  Platform& platform_;
  bool active_ = false;
  bool loaded_ = false;
  bool saved_ = false;
};

}  // namespace zelvio
