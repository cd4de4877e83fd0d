// Shared pieces of the converter's AVX-512 loops: the target attribute, byte
// tables built at compile time, partial-register masks and the 256-entry
// table lookup by byte permutes. Included only by those loops' sources.
#pragma once

#if defined(__x86_64__)

#include <array>
#include <cstddef>
#include <cstdint>
#include <immintrin.h>

// GCC's AVX-512 intrinsics start some results from a deliberately
// undefined register, which its flow analysis reports as uninitialised.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

#define KEL_AVX512 __attribute__((target("avx512f,avx512bw,avx512vbmi")))
// A lambda inside such a function needs the same target to use its registers.
#define KEL_AVX512_LAMBDA __attribute__((target("avx512f,avx512bw,avx512vbmi")))

namespace Orvo::conv::avx512 {

using Bytes64 = std::array<std::uint8_t, 64>;

template <typename F>
constexpr Bytes64 bytes64(F f) {
  Bytes64 b{};
  for (int j = 0; j < 64; ++j) b[j] = static_cast<std::uint8_t>(f(j));
  return b;
}

// The first three bytes of every 4-byte pixel.
constexpr __mmask64 kColourBytes = 0x7777777777777777ull;
constexpr __mmask64 kOddLanes = 0xAAAAAAAAAAAAAAAAull;

KEL_AVX512 inline __mmask64 firstBytes(std::size_t n) { return n >= 64 ? ~__mmask64(0) : (__mmask64(1) << n) - 1; }

KEL_AVX512 inline __m512i load(const void* p) { return _mm512_loadu_si512(p); }
KEL_AVX512 inline __m512i load(const Bytes64& b) { return _mm512_loadu_si512(b.data()); }
KEL_AVX512 inline void store(void* p, __m512i v) { _mm512_storeu_si512(p, v); }

// A 256-entry table in four registers: two 128-entry permutes, bit 7 of the
// index chooses between them.
struct Lut {
  __m512i t0, t1, t2, t3;
};

KEL_AVX512 inline Lut loadLut(const std::uint8_t* t) { return {load(t), load(t + 64), load(t + 128), load(t + 192)}; }

KEL_AVX512 inline __m512i lookup(const Lut& l, __m512i idx) {
  const __m512i lo = _mm512_permutex2var_epi8(l.t0, idx, l.t1);
  const __m512i hi = _mm512_permutex2var_epi8(l.t2, idx, l.t3);
  return _mm512_mask_blend_epi8(_mm512_movepi8_mask(idx), lo, hi);
}

}  // namespace Orvo::conv::avx512

#endif
