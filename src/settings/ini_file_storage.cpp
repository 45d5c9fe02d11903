#include "settings/ini_file_storage.h"

#include <string_view>

#include "settings/stored_values.h"

namespace zelvio {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool StartsWithUtf8Mark(const std::string& contents) {
  return contents.compare(0, kUtf8ByteOrderMark.size(), kUtf8ByteOrderMark) == 0;
}

// "settings" becomes "settings.ini"; a name that already has an extension stays as it is.
std::string WithIniExtension(const std::string& fileName) {
  std::size_t lastSeparator = fileName.find_last_of("\\/");
  std::size_t nameStart = (lastSeparator == std::string::npos) ? 0 : lastSeparator + 1;
  if (fileName.find('.', nameStart) != std::string::npos) return fileName;
  return fileName + ".ini";
}

// The file lives beside the executable, never in the working directory: a portable
// folder started from a shortcut must still find its own settings.
std::string BesideExecutable(const std::string& directory, const std::string& fileName) {
  if (directory.empty()) return fileName;
  char last = directory.back();
  if (last == '\\' || last == '/') return directory + fileName;
  return directory + "\\" + fileName;
}

}  // namespace

IniFileStorage::IniFileStorage(PlatformFiles& files, PlatformText& codePage, const std::string& fileName)
    : files_(files), codePage_(codePage) {
  if (fileName.empty()) return;
  fullFileName_ = BesideExecutable(files_.ExecutableDirectory(), WithIniExtension(fileName));
  // Asked before the read, so a read-only file that cannot be read is still never replaced.
  readOnly_ = files_.IsReadOnlyFile(fullFileName_);
  std::string contents;
  if (files_.ReadWholeFile(fullFileName_, contents)) {
    // With the mark the file is UTF-8, as we write it when the ANSI code page cannot spell
    // a value; without it, the ANSI code page the file has always been written in.
    document_ =
        IniDocument::Parse(StartsWithUtf8Mark(contents) ? contents : codePage_.TextFromAnsi(contents));
    return;
  }
  // Only a file that is not there is a first run. One that is there but would not open
  // holds the user's options: the defaults written over it would lose them for good.
  unreadable_ = files_.FileExists(fullFileName_);
}

bool IniFileStorage::ValueExists(const std::string& path) const {
  IniValuePath where = SplitValuePath(path);
  return document_.HasValue(where.section, where.name);
}

std::string IniFileStorage::ReadString(const std::string& path, const std::string& defaultValue) const {
  IniValuePath where = SplitValuePath(path);
  return document_.ReadString(where.section, where.name).value_or(defaultValue);
}

void IniFileStorage::WriteString(const std::string& path, const std::string& value) {
  // A read-only file is honoured for the whole run, not just at the end.
  if (readOnly_ || unreadable_) return;
  IniValuePath where = SplitValuePath(path);
  document_.WriteString(where.section, where.name, value);
}

void IniFileStorage::WriteInteger(const std::string& path, int value) {
  WriteString(path, EncodeInteger(value));
}

void IniFileStorage::WriteBoolean(const std::string& path, bool value) {
  WriteString(path, EncodeBoolean(value));
}

void IniFileStorage::FlushSettingsFile() {
  if (readOnly_ || unreadable_ || fullFileName_.empty()) return;
  // Replaced in one step so a full disk or a crash half-way keeps the previous file. A
  // failure is not worth a message at shut-down: the user can do nothing about it then.
  //
  // A file the ANSI code page can spell is written in it, byte for byte as it always was, so
  // older copies of the program and other tools read it as before. Otherwise (a folder named
  // in Cyrillic on an English Windows, say) it goes out as UTF-8 behind a byte-order mark:
  // every name and every other value stays ASCII, so even a reader that knows nothing of
  // UTF-8 still finds all the options, and only that folder's name looks odd to it.
  const std::string text = document_.Serialize();
  std::string ansi;
  if (codePage_.TextToAnsi(text, ansi)) {
    files_.ReplaceWholeFile(fullFileName_, ansi);
    return;
  }
  files_.ReplaceWholeFile(fullFileName_, std::string(kUtf8ByteOrderMark) + text);
}

}  // namespace zelvio
