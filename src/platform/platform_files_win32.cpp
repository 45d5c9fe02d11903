// Files and folders (the settings file is read once and replaced in one step), and the
// ANSI code page the settings file is written in.
#include "platform/platform_win32.h"

#include <algorithm>
#include <vector>

#include "platform/file_replace_win32.h"
#include "common/win32/file_replace.h"
#include "common/win32/handles.h"
#include "common/win32/module_path.h"
#include "platform/wide_text_win32.h"

namespace zelvio {

namespace {

std::string FolderOf(const std::string& path) {
  size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

DWORD Attributes(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()); }

// Creates the folder and every missing folder above it.
bool EnsureFolder(const std::string& folder) {
  if (folder.empty()) return true;
  DWORD attributes = Attributes(folder);
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  // A drive ("C:") or a share root cannot be created; it either exists or the write fails.
  if (folder.size() <= 2 || folder.back() == ':') return false;
  if (!EnsureFolder(FolderOf(folder))) return false;
  return CreateDirectoryW(Widen(folder).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool EndsWithIgnoringCase(const std::wstring& text, const std::wstring& suffix) {
  if (suffix.size() > text.size()) return false;
  return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str() + (text.size() - suffix.size()),
                        static_cast<int>(suffix.size()), suffix.c_str(),
                        static_cast<int>(suffix.size())) == CSTR_EQUAL;
}

}  // namespace

DWORD WriteThenReplace(const std::string& temporary, const std::string& path, const void* data, size_t size) {
  return WriteThenReplaceFile(Widen(temporary).c_str(), Widen(path).c_str(), data, size);
}

std::string Win32CodePage::TextFromAnsi(const std::string& ansi) { return TextFromAnsiCodePage(ansi); }

bool Win32CodePage::TextToAnsi(const std::string& text, std::string& ansi) {
  return TextToAnsiCodePage(text, ansi);
}

std::string Win32Files::CurrentDirectory() {
  DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return {};
  std::wstring folder(needed, L'\0');
  DWORD length = GetCurrentDirectoryW(needed, folder.data());
  folder.resize(length < needed ? length : 0);
  return Narrow(folder);
}

std::string Win32Files::ExecutableDirectory() { return Narrow(ModuleFolder(nullptr)); }

bool Win32Files::ReadWholeFile(const std::string& path, std::string& contents) {
  UniqueHandle file = FileHandle(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return false;
  std::string data(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < data.size()) {
    DWORD got = 0;
    if (!ReadFile(file.get(), data.data() + done, static_cast<DWORD>(data.size() - done), &got, nullptr))
      return false;
    if (got == 0) break;
    done += got;
  }
  data.resize(done);
  contents = std::move(data);
  return true;
}

bool Win32Files::FileExists(const std::string& path) {
  if (Attributes(path) != INVALID_FILE_ATTRIBUTES) return true;
  DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

bool Win32Files::IsReadOnlyFile(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool Win32Files::ReplaceWholeFile(const std::string& path, const std::string& contents) {
  const std::string folder = FolderOf(path);
  if (!EnsureFolder(folder)) return false;
  wchar_t temporary[MAX_PATH] = {};
  if (!GetTempFileNameW(Widen(folder.empty() ? "." : folder).c_str(), L"zlv", 0, temporary)) return false;
  return WriteThenReplace(NarrowBounded(temporary, MAX_PATH), path, contents.data(), contents.size()) ==
         ERROR_SUCCESS;
}

bool Win32Files::RemoveFile(const std::string& path) {
  if (DeleteFileW(Widen(path).c_str())) return true;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool Win32Files::FolderExists(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::string> Win32Files::ListFiles(const std::string& folder, const std::string& suffix) {
  std::vector<std::string> names;
  const std::wstring wideSuffix = Widen(suffix);
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(Widen(folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::wstring name = found.cFileName;
    if (EndsWithIgnoringCase(name, wideSuffix)) names.push_back(Narrow(name));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace zelvio
