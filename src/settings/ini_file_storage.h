// The settings file beside the executable: read once into a document, served from memory,
// written back once at the end of the run.
#pragma once

#include <string>

#include "platform/platform.h"
#include "settings/ini_document.h"

namespace zelvio {

class IniFileStorage {
 public:
  // Reads the file (a missing file gives an empty document). `fileName` without an
  // extension gets ".ini". The code page carries the file's text to and from UTF-8.
  IniFileStorage(PlatformFiles& files, PlatformText& codePage, const std::string& fileName = "settings.ini");

  const std::string& FullFileName() const { return fullFileName_; }
  // True when the file existed with the read-only attribute: nothing is ever written.
  bool ReadOnly() const { return readOnly_; }
  // True when the file exists but could not be read (locked by another program, no read
  // permission, too large): the run goes on with the defaults and the file is left alone.
  bool Unreadable() const { return unreadable_; }

  // Paths are "Section\Name".
  bool ValueExists(const std::string& path) const;
  std::string ReadString(const std::string& path, const std::string& defaultValue) const;
  void WriteString(const std::string& path, const std::string& value);
  void WriteInteger(const std::string& path, int value);
  void WriteBoolean(const std::string& path, bool value);

  // Writes the whole document, replacing the file in one step; failures are silent.
  void FlushSettingsFile();

  const IniDocument& Document() const { return document_; }

 private:
  PlatformFiles& files_;
  PlatformText& codePage_;
  std::string fullFileName_;
  bool readOnly_ = false;
  bool unreadable_ = false;
  IniDocument document_;
};

}  // namespace zelvio
