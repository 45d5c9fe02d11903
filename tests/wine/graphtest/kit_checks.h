// Checks of the filter kit's COM behaviour through real filters: the push source's offered
// types, enumerator semantics, the tee's growing outputs and the file writer's IStream.
#pragma once
#include <string>

#include "checks.h"

namespace graphtest {

void CheckKit(const std::string& pushSourceModule, const std::wstring& scratchFile, ztest::Report& report);

}  // namespace graphtest
