// The codec's settings file, ScreenCodec.ini beside the codec's module: read by every new
// instance, written by the settings dialog in one step (a crash never leaves half a file).
#pragma once
#include <windows.h>

#include <string>

#include "screencodec/core/codec_settings.h"

namespace zelvio::screencodec {

// The full path of the settings file; empty when the module's own path cannot be had.
std::wstring CodecSettingsPath();
// The defaults where the file is missing or unreadable.
CodecSettings LoadCodecSettings();
// ERROR_SUCCESS or the system's code for what failed.
DWORD SaveCodecSettings(const CodecSettings& settings);

}  // namespace zelvio::screencodec
