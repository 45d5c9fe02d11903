#include "platform/dpi_scale.h"

#include <cstdint>

namespace zelvio {

namespace {

// a * b / c rounded to the nearest integer, a half away from zero.
int MulDivRounded(int a, int b, int c) {
  const int64_t product = static_cast<int64_t>(a) * b;
  const int64_t half = c / 2;
  const int64_t rounded = product >= 0 ? (product + half) / c : -((-product + half) / c);
  return static_cast<int>(rounded);
}

}  // namespace

int ScaleForDpi(int value, int dpi) {
  if (dpi <= 0 || dpi == kDesignDpi) return value;
  return MulDivRounded(value, dpi, kDesignDpi);
}

int FontHeightForDpi(int points, int dpi) {
  if (dpi <= 0) dpi = kDesignDpi;
  return -MulDivRounded(points, dpi, 72);
}

}  // namespace zelvio
