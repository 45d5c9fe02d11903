// The sixteen standard colours the background list offers, in list order.
// A colour is 0x00BBGGRR: the lowest byte is red.
#pragma once

#include <array>
#include <cstdint>

namespace zelvio {

struct StandardColour {
  const char* displayName;
  uint32_t value;
};

const std::array<StandardColour, 16>& StandardColours();

}  // namespace zelvio
