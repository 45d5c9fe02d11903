// Binds the settings file to the main window: the placement and the stored control
// properties are applied at the first showing and collected at the close request.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "settings/ini_file_storage.h"
#include "settings/stored_props.h"

namespace zelvio {

class Control;

class FormStorage {
 public:
  // The window is the root control: its name keys the section, and the stored properties
  // bind to the controls below it by design name. The placement is kept per screen size
  // and pixel density, hence the screen.
  FormStorage(Control& window, IniFileStorage& storage, PlatformMainWindow& mainWindow,
              PlatformScreen& screen);

  bool SettingsActive() const { return active_; }
  void SetSettingsActive(bool active) { active_ = active; }
  bool SettingsLoaded() const { return loaded_; }
  bool SettingsSaved() const { return saved_; }

  // Throws ZelvioError ("'%s' is not a valid integer value") for a faulty window key.
  void LoadWindowSettings();
  void SaveWindowSettings();

 private:
  // A stored property whose component exists on the window.
  struct BoundProp {
    Control* control;
    const StoredProp* entry;
  };

  void ExpandStoragePath();
  std::string ValuePath(const std::string& name) const;
  int ReadWindowInteger(const std::string& name, int defaultValue) const;
  std::string ReadPositionText(const std::string& name, const std::string& suffix) const;
  void ReadPlacementKeys();
  void WritePlacementKeys();
  void ApplyStoredProps();
  void CollectStoredProps();

  Control& window_;
  IniFileStorage& storage_;
  PlatformMainWindow& mainWindow_;
  PlatformScreen& screen_;
  bool active_ = false;
  bool loaded_ = false;
  bool saved_ = false;
  std::vector<BoundProp> props_;
  std::string sectionPath_;  // the storage path with the window's name put in
};

}  // namespace zelvio
