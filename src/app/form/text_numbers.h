// Decimal texts of the controls (carrier labels, read-outs) read back as numbers.
#pragma once

#include <string>

namespace zelvio {

// The text as a plain decimal integer (optional "-"), or `fallback` when it is not one.
int IntegerOr(const std::string& text, int fallback);

}  // namespace zelvio
