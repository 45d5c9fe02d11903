// TPinList: the pins of one filter in the filter's own order.
#pragma once

#include <dshow.h>

#include <string>
#include <vector>

#include "common/win32/com_ptr.h"

namespace zelvio {

struct PinDetails {
  PIN_DIRECTION direction = PINDIR_INPUT;
  std::string name;  // up to the first zero, at most 128 characters, ANSI
};

class TPinList {
 public:
  explicit TPinList(IBaseFilter* filter);

  int Count() const { return static_cast<int>(pins_.size()); }
  IPin* Pin(int index) const { return pins_[static_cast<size_t>(index)].Get(); }
  const ComPtr<IPin>& PinPtr(int index) const { return pins_[static_cast<size_t>(index)]; }
  PinDetails Details(int index) const;
  void Remove(int index) { pins_.erase(pins_.begin() + index); }

 private:
  std::vector<ComPtr<IPin>> pins_;
};

}  // namespace zelvio
