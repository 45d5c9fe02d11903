// A recording stand-in for the file system: files and folders in memory, beside the two
// folders the program knows (its current one and the executable's). It logs on FakeLog:
//   "read: D:\Apps\Zelvio\settings.ini"      ReadWholeFile (" (missing)" when absent,
//                                           " (unreadable)" when it will not open)
//   "replace: D:\Apps\Zelvio\settings.ini"   ReplaceWholeFile (" (failed)" when refused)
//   "remove: C:\...\x.avi.recovery"           RemoveFile (" (failed)" when refused)
// and, while `logQueries` is on, "current directory", "executable directory",
// "read-only?: path", "exists?: path", "folder?: path", "list: C:\...\Screencasts\*.recovery".
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "fake_log.h"
#include "platform/platform.h"

namespace zelvio {

class FakeFiles : public FakeLog, public PlatformFiles {
 public:
  struct File {
    std::string contents;
    bool readOnly = false;
    bool unreadable = false;  // there, but every read fails (locked, no permission)
  };

  std::string currentDirectory = "C:\\Users\\me\\Zelvio";
  std::string executableDirectory = "D:\\Apps\\Zelvio";

  // The file system: full path -> file. Paths compare exactly, letter case included.
  std::map<std::string, File> files;
  std::set<std::string> failingWrites;    // paths whose replacement fails; old contents stay
  std::set<std::string> failingRemovals;  // paths whose deletion fails; the file stays
  std::set<std::string> missingFolders;   // every other folder exists

  std::string SettingsPath() const { return executableDirectory + "\\settings.ini"; }
  void PutFile(const std::string& path, const std::string& contents, bool readOnly = false) {
    files[path] = File{contents, readOnly};
  }
  bool HasFile(const std::string& path) const { return files.count(path) != 0; }
  // The contents, or "" for a missing file.
  std::string FileContents(const std::string& path) const {
    auto found = files.find(path);
    return found == files.end() ? std::string() : found->second.contents;
  }

  // ---- PlatformFiles ---------------------------------------------------------------------------
  std::string CurrentDirectory() override {
    Query("current directory");
    return currentDirectory;
  }

  std::string ExecutableDirectory() override {
    Query("executable directory");
    return executableDirectory;
  }

  bool ReadWholeFile(const std::string& path, std::string& contents) override {
    auto found = files.find(path);
    bool missing = found == files.end();
    bool unreadable = !missing && found->second.unreadable;
    log.push_back("read: " + path + (missing ? " (missing)" : unreadable ? " (unreadable)" : ""));
    if (missing || unreadable) return false;
    contents = found->second.contents;
    return true;
  }

  bool FileExists(const std::string& path) override {
    Query("exists?: " + path);
    return files.count(path) != 0;
  }

  bool IsReadOnlyFile(const std::string& path) override {
    Query("read-only?: " + path);
    auto found = files.find(path);
    return found != files.end() && found->second.readOnly;
  }

  bool ReplaceWholeFile(const std::string& path, const std::string& contents) override {
    auto found = files.find(path);
    bool refused = failingWrites.count(path) != 0 ||
                   (found != files.end() && (found->second.readOnly || found->second.unreadable));
    log.push_back("replace: " + path + (refused ? " (failed)" : ""));
    if (refused) return false;
    files[path] = File{contents, false};
    return true;
  }

  bool RemoveFile(const std::string& path) override {
    bool refused = failingRemovals.count(path) != 0;
    log.push_back("remove: " + path + (refused ? " (failed)" : ""));
    if (!refused) files.erase(path);
    return !refused;
  }

  bool FolderExists(const std::string& path) override {
    Query("folder?: " + path);
    return missingFolders.count(path) == 0;
  }

  std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix) override {
    Query("list: " + folder + "\\*" + suffix);
    std::vector<std::string> names;
    const std::string prefix = folder + "\\";
    for (const auto& [path, file] : files) {
      if (path.compare(0, prefix.size(), prefix) != 0) continue;
      std::string name = path.substr(prefix.size());
      if (name.find('\\') != std::string::npos || !EndsWithIgnoringCase(name, suffix)) continue;
      names.push_back(name);
    }
    return names;  // the map keeps them sorted
  }

 private:
  static bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix) {
    if (suffix.size() > text.size()) return false;
    for (size_t i = 0; i < suffix.size(); ++i) {
      char a = text[text.size() - suffix.size() + i];
      char b = suffix[i];
      if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
      if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
      if (a != b) return false;
    }
    return true;
  }
};

}  // namespace zelvio
