// Replacing a file in one step: the new bytes go to a temporary file first, flushed to
// disk, and only then move over the real name, so a failure never leaves a cut-off file
// under it and the previous one stays whole.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace zelvio {

// ERROR_SUCCESS, or the system error of the step that failed (ERROR_HANDLE_DISK_FULL when
// the disk took fewer bytes than given). The temporary file is gone on every failure.
DWORD WriteThenReplace(const std::string& temporary, const std::string& path, const void* data, size_t size);

}  // namespace zelvio
