#include "filter/acquisition/converter_unpack.h"

#include <bit>
#include <cstring>

#include "filter/acquisition/converter_avx512.h"
#include "filter/acquisition/converter_isa.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace Orvo::conv {
namespace {

inline std::uint32_t word(const std::uint8_t* g, int x, int y, int z) {
  return (std::uint32_t(g[x]) << 16) | (std::uint32_t(g[y]) << 8) | g[z];
}

inline std::uint32_t flagBit(std::uint8_t flags, int w) { return std::uint32_t((flags >> (7 - w)) & 1u) << 24; }

// Four bytes, first byte the lowest, whatever the machine's byte order.
inline void storeLittle32(std::uint8_t* dst, std::uint32_t v) {
  if constexpr (std::endian::native != std::endian::little) v = __builtin_bswap32(v);
  std::memcpy(dst, &v, sizeof v);
}

}  // namespace

void ReadDmaGroups(const std::uint8_t* dma, std::size_t groups, std::uint32_t* words) {
  std::size_t g = 0;
  if (ActiveIsa() == Isa::Avx512) g = avx512::ReadDmaBlocks(dma, groups, words);
  for (; g < groups; ++g) {
    const std::uint8_t* block = dma + g / kGroupsPerBlock * kBlockBytes;
    const std::size_t slot = g % kGroupsPerBlock;
    const std::uint8_t* b = block + slot * kGroupBytes;
    const std::uint8_t f = block[kGroupsPerBlock * kGroupBytes + slot];
    std::uint32_t* w = words + g * kWordsPerGroup;
    w[0] = word(b, 0, 1, 2) | flagBit(f, 0);
    w[1] = word(b, 3, 4, 5) | flagBit(f, 1);
    w[2] = word(b, 6, 7, 15) | flagBit(f, 2);
    w[3] = word(b, 8, 9, 10) | flagBit(f, 3);
    w[4] = word(b, 11, 12, 13) | flagBit(f, 4);
    w[5] = word(b, 14, 22, 23) | flagBit(f, 5);
    w[6] = word(b, 16, 17, 18) | flagBit(f, 6);
    w[7] = word(b, 19, 20, 21) | flagBit(f, 7);
  }
}

namespace {

void unpackScalar(const std::uint32_t* __restrict p1, const std::uint32_t* __restrict p2,
                 const std::uint32_t* __restrict p3, const std::uint32_t* __restrict p4, std::size_t words,
                 std::uint8_t* __restrict samples) {
  // Pixels 0-3 and 6-9 of a word sit whole in bits 9..2 and 19..12; they are
  // moved into place with one shift and mask each. Pixels 4 and 5 gather
  // their bits from two words each.
  for (std::size_t k = 0; k < words; ++k) {
    const std::uint32_t a = p1[k], b = p2[k], c = p3[k], d = p4[k];
    const std::uint32_t px0123 =
        ((a >> 2) & 0xFFu) | ((b << 6) & 0xFF00u) | ((a << 4) & 0xFF0000u) | ((b << 12) & 0xFF000000u);
    const std::uint32_t px4 = ((a >> 17) & 0xC0u) | ((c >> 19) & 0x30u) | ((a >> 19) & 0x0Eu) | ((c >> 22) & 0x01u);
    const std::uint32_t px5 = ((b >> 17) & 0x80u) | ((d >> 18) & 0x40u) | ((b >> 18) & 0x20u) | ((d >> 19) & 0x10u) |
                              ((b >> 19) & 0x08u) | ((d >> 20) & 0x06u) | ((b >> 21) & 0x01u);
    const std::uint32_t px4567 = px4 | (px5 << 8) | ((c << 14) & 0xFF0000u) | ((d << 22) & 0xFF000000u);
    std::uint8_t* s = samples + k * kPixelsPerWord;
    storeLittle32(s, px0123);
    storeLittle32(s + 4, px4567);
    s[8] = static_cast<std::uint8_t>(c >> 12);
    s[9] = static_cast<std::uint8_t>(d >> 12);
  }
}

#if defined(__x86_64__) || defined(__i386__)
// Four words of each part at a time: the same shifts and masks on four lanes,
// then the three 4-byte lane sets shuffled into forty consecutive samples.
__attribute__((target("ssse3"))) void unpackSsse3(const std::uint32_t* p1, const std::uint32_t* p2,
                                                  const std::uint32_t* p3, const std::uint32_t* p4,
                                                  std::size_t words, std::uint8_t* samples) {
  const __m128i ff = _mm_set1_epi32(0xFF);
  auto field = [](__m128i v, int right, int left, std::uint32_t mask) {
    const __m128i shifted = right > 0 ? _mm_srli_epi32(v, right) : _mm_slli_epi32(v, left);
    return _mm_and_si128(shifted, _mm_set1_epi32(static_cast<int>(mask)));
  };
  constexpr char X = -128;  // pshufb: write zero
  const __m128i s0a = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, X, X, 8, 9, 10, 11, 12, 13);
  const __m128i s0c = _mm_setr_epi8(X, X, X, X, X, X, X, X, 0, 1, X, X, X, X, X, X);
  const __m128i s1a = _mm_setr_epi8(14, 15, X, X, X, X, X, X, X, X, X, X, X, X, X, X);
  const __m128i s1b = _mm_setr_epi8(X, X, X, X, 0, 1, 2, 3, 4, 5, 6, 7, X, X, 8, 9);
  const __m128i s1c = _mm_setr_epi8(X, X, 4, 5, X, X, X, X, X, X, X, X, 8, 9, X, X);
  const __m128i s2b = _mm_setr_epi8(10, 11, 12, 13, 14, 15, X, X, X, X, X, X, X, X, X, X);
  const __m128i s2c = _mm_setr_epi8(X, X, X, X, X, X, 12, 13, X, X, X, X, X, X, X, X);
  std::size_t k = 0;
  for (; k + 4 <= words; k += 4) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p1 + k));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p2 + k));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p3 + k));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p4 + k));
    const __m128i px0123 = _mm_or_si128(_mm_or_si128(_mm_and_si128(_mm_srli_epi32(a, 2), ff), field(b, 0, 6, 0xFF00u)),
                                        _mm_or_si128(field(a, 0, 4, 0xFF0000u), field(b, 0, 12, 0xFF000000u)));
    const __m128i px4 = _mm_or_si128(_mm_or_si128(field(a, 17, 0, 0xC0u), field(c, 19, 0, 0x30u)),
                                     _mm_or_si128(field(a, 19, 0, 0x0Eu), field(c, 22, 0, 0x01u)));
    const __m128i px5 = _mm_or_si128(
        _mm_or_si128(_mm_or_si128(field(b, 17, 0, 0x80u), field(d, 18, 0, 0x40u)),
                     _mm_or_si128(field(b, 18, 0, 0x20u), field(d, 19, 0, 0x10u))),
        _mm_or_si128(_mm_or_si128(field(b, 19, 0, 0x08u), field(d, 20, 0, 0x06u)), field(b, 21, 0, 0x01u)));
    const __m128i px4567 = _mm_or_si128(_mm_or_si128(px4, _mm_slli_epi32(px5, 8)),
                                        _mm_or_si128(field(c, 0, 14, 0xFF0000u), field(d, 0, 22, 0xFF000000u)));
    const __m128i px89 = _mm_or_si128(_mm_and_si128(_mm_srli_epi32(c, 12), ff), field(d, 4, 0, 0xFF00u));
    const __m128i lo = _mm_unpacklo_epi32(px0123, px4567);  // words k, k+1: samples 0-7
    const __m128i hi = _mm_unpackhi_epi32(px0123, px4567);  // words k+2, k+3
    const __m128i out0 = _mm_or_si128(_mm_shuffle_epi8(lo, s0a), _mm_shuffle_epi8(px89, s0c));
    const __m128i out1 = _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(lo, s1a), _mm_shuffle_epi8(hi, s1b)),
                                      _mm_shuffle_epi8(px89, s1c));
    const __m128i out2 = _mm_or_si128(_mm_shuffle_epi8(hi, s2b), _mm_shuffle_epi8(px89, s2c));
    std::uint8_t* o = samples + k * kPixelsPerWord;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), out0);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 16), out1);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(o + 32), out2);
  }
  unpackScalar(p1 + k, p2 + k, p3 + k, p4 + k, words - k, samples + k * kPixelsPerWord);
}
#endif

}  // namespace

void UnpackWords(const std::uint32_t* p1, const std::uint32_t* p2, const std::uint32_t* p3, const std::uint32_t* p4,
                 std::size_t words, std::uint8_t* samples) {
  const Isa isa = ActiveIsa();
  std::size_t k = 0;
  if (isa == Isa::Avx512) k = avx512::UnpackWords(p1, p2, p3, p4, words, samples);
#if defined(__x86_64__) || defined(__i386__)
  if (isa == Isa::Ssse3) {
    unpackSsse3(p1, p2, p3, p4, words, samples);
    return;
  }
#endif
  unpackScalar(p1 + k, p2 + k, p3 + k, p4 + k, words - k, samples + k * kPixelsPerWord);
}

}  // namespace Orvo::conv
