#include "codec_settings_file_win32.h"

#include <vector>

#include "codec_module_win32.h"
#include "common/win32/file_replace.h"
#include "common/win32/handles.h"
#include "common/win32/module_path.h"

namespace zelvio::screencodec {

std::wstring CodecSettingsPath() {
  std::wstring folder = ModuleFolder(ModuleInstance());
  if (folder.empty()) return {};
  return folder + L"\\" + kCodecSettingsFileName;
}

CodecSettings LoadCodecSettings() {
  std::wstring path = CodecSettingsPath();
  if (path.empty()) return {};
  UniqueHandle file = FileHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  // A settings file is a few dozen bytes; anything past 64 KB is not ours.
  std::string text(65536, '\0');
  DWORD got = 0;
  if (!ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr)) return {};
  text.resize(got);
  return ParseCodecSettings(text);
}

DWORD SaveCodecSettings(const CodecSettings& settings) {
  std::wstring path = CodecSettingsPath();
  if (path.empty()) return ERROR_PATH_NOT_FOUND;
  std::string text = FormatCodecSettings(settings);
  return WriteThenReplaceFile((path + L".tmp").c_str(), path.c_str(), text.data(), text.size());
}

}  // namespace zelvio::screencodec
