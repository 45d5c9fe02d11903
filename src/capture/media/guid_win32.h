// Conversions between the portable Guid and the Windows GUID (same fields, same order).
#pragma once

#include <guiddef.h>

#include "capture/media/guid.h"

namespace zelvio {

inline Guid ToGuid(const GUID& guid) {
  Guid result;
  result.Data1 = guid.Data1;
  result.Data2 = guid.Data2;
  result.Data3 = guid.Data3;
  for (int i = 0; i < 8; ++i) result.Data4[i] = guid.Data4[i];
  return result;
}

inline GUID ToWindowsGuid(const Guid& guid) {
  GUID result;
  result.Data1 = guid.Data1;
  result.Data2 = guid.Data2;
  result.Data3 = guid.Data3;
  for (int i = 0; i < 8; ++i) result.Data4[i] = guid.Data4[i];
  return result;
}

}  // namespace zelvio
