#include "zmbv_pixels.h"

#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ZELVIO_SSE2 1
#endif

namespace zelvio::screencodec {
namespace {

constexpr uint32_t kColours = 0x00FFFFFFu;

uint32_t Load(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

void Store(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

}  // namespace

// A still screen is decided here: every pixel of a frame passes through SameColours once,
// so it has to run at memory speed. SSE2 is on every x86-64 CPU (the only Windows target);
// the plain loop keeps the file portable.
bool SameColours(const uint8_t* source, const uint8_t* kept, size_t count) {
  size_t i = 0;
#ifdef ZELVIO_SSE2
  const __m128i mask = _mm_set1_epi32(int(kColours));
  // 16 pixels a step, one test of the OR of four differences.
  for (; i + 16 <= count; i += 16) {
    const uint8_t* s = source + i * 4;
    const uint8_t* k = kept + i * 4;
    __m128i d0 = _mm_xor_si128(_mm_loadu_si128((const __m128i*)s), _mm_loadu_si128((const __m128i*)k));
    __m128i d1 =
        _mm_xor_si128(_mm_loadu_si128((const __m128i*)(s + 16)), _mm_loadu_si128((const __m128i*)(k + 16)));
    __m128i d2 =
        _mm_xor_si128(_mm_loadu_si128((const __m128i*)(s + 32)), _mm_loadu_si128((const __m128i*)(k + 32)));
    __m128i d3 =
        _mm_xor_si128(_mm_loadu_si128((const __m128i*)(s + 48)), _mm_loadu_si128((const __m128i*)(k + 48)));
    __m128i any = _mm_and_si128(_mm_or_si128(_mm_or_si128(d0, d1), _mm_or_si128(d2, d3)), mask);
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) != 0xFFFF) return false;
  }
#endif
  for (; i < count; ++i)
    if ((Load(source + i * 4) ^ Load(kept + i * 4)) & kColours) return false;
  return true;
}

size_t CountDifferent(const uint8_t* source, const uint8_t* kept, size_t count, size_t limit) {
  size_t different = 0;
  for (size_t i = 0; i < count; ++i) {
    if ((Load(source + i * 4) ^ Load(kept + i * 4)) & kColours) {
      if (++different > limit) break;
    }
  }
  return different;
}

size_t CountDifferentBytes(const uint8_t* source, const uint8_t* kept, size_t count, size_t limit) {
  size_t different = 0;
  size_t i = 0;
#ifdef ZELVIO_SSE2
  const __m128i mask = _mm_set1_epi32(int(kColours));
  const __m128i zero = _mm_setzero_si128();
  const __m128i one = _mm_set1_epi8(1);
  // 4 pixels a step: a 1 for every byte that differs, summed by the SAD against 0. The X
  // bytes are masked to 0, so they never count.
  for (; i + 4 <= count; i += 4) {
    __m128i d = _mm_and_si128(_mm_xor_si128(_mm_loadu_si128((const __m128i*)(source + i * 4)),
                                            _mm_loadu_si128((const __m128i*)(kept + i * 4))),
                              mask);
    __m128i ones = _mm_andnot_si128(_mm_cmpeq_epi8(d, zero), one);
    __m128i sums = _mm_sad_epu8(ones, zero);
    different += size_t(_mm_cvtsi128_si32(sums)) + size_t(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    if (different > limit) return different;
  }
#endif
  for (; i < count; ++i) {
    uint32_t d = (Load(source + i * 4) ^ Load(kept + i * 4)) & kColours;
    different += size_t((d & 0xFF) != 0) + size_t((d & 0xFF00) != 0) + size_t((d & 0xFF0000) != 0);
    if (different > limit) break;
  }
  return different;
}

void CopyColours(uint8_t* dst, const uint8_t* source, size_t count) {
  size_t i = 0;
#ifdef ZELVIO_SSE2
  const __m128i mask = _mm_set1_epi32(int(kColours));
  for (; i + 4 <= count; i += 4)
    _mm_storeu_si128((__m128i*)(dst + i * 4),
                     _mm_and_si128(_mm_loadu_si128((const __m128i*)(source + i * 4)), mask));
#endif
  for (; i < count; ++i) Store(dst + i * 4, Load(source + i * 4) & kColours);
}

void XorColours(uint8_t* dst, const uint8_t* source, const uint8_t* kept, size_t count) {
  size_t i = 0;
#ifdef ZELVIO_SSE2
  const __m128i mask = _mm_set1_epi32(int(kColours));
  for (; i + 4 <= count; i += 4) {
    __m128i s = _mm_loadu_si128((const __m128i*)(source + i * 4));
    __m128i k = _mm_loadu_si128((const __m128i*)(kept + i * 4));
    _mm_storeu_si128((__m128i*)(dst + i * 4), _mm_and_si128(_mm_xor_si128(s, k), mask));
  }
#endif
  for (; i < count; ++i) Store(dst + i * 4, (Load(source + i * 4) ^ Load(kept + i * 4)) & kColours);
}

}  // namespace zelvio::screencodec
