#include "companions/priority.h"

namespace zelvio {

uint32_t PriorityClassForPosition(int position) {
  switch (position) {
    case 0:
      return 0x40;  // IDLE_PRIORITY_CLASS
    case 2:
      return 0x80;  // HIGH_PRIORITY_CLASS
    case 3:
      return 0x100;  // REALTIME_PRIORITY_CLASS
    default:
      return 0x20;  // NORMAL_PRIORITY_CLASS
  }
}

}  // namespace zelvio
