// The codec's modal settings dialog: key frame interval and speed or size.
#pragma once
#include <windows.h>

#include "screencodec/core/codec_settings.h"

namespace zelvio::screencodec {

// Shows the dialog over `parent` with `settings`; on OK, stores the new settings in
// `settings` and in the settings file and returns true. A file that cannot be written is
// reported in a box; the new settings still hold for this instance.
bool ShowCodecSettingsDialog(HWND parent, CodecSettings& settings);

}  // namespace zelvio::screencodec
