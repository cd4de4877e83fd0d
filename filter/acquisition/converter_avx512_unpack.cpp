// The DMA blocks into words and the four parts' words into samples, in
// AVX-512.
#include <cstring>

#include "filter/acquisition/converter_avx512.h"
#include "filter/acquisition/converter_avx512_common.h"

namespace Orvo::conv::avx512 {

#if defined(__x86_64__)

namespace {

KEL_AVX512 inline __m512i bits(__m512i v, std::uint32_t mask) {
  return _mm512_and_si512(v, _mm512_set1_epi32(static_cast<int>(mask)));
}

// ---- DMA blocks to words ----

// Byte offsets (x, y, z) inside a 24-byte group of the three bytes of word w.
constexpr std::uint8_t kWordBytes[8][3] = {{0, 1, 2},    {3, 4, 5},    {6, 7, 15},   {8, 9, 10},
                                           {11, 12, 13}, {14, 22, 23}, {16, 17, 18}, {19, 20, 21}};

// Two groups (48 bytes) into 16 little-endian words: bytes z, y, x, then 0.
constexpr Bytes64 kGroupPairToWords = bytes64([](int j) {
  const int lane = j / 4, group = lane / 8, w = lane % 8, b = j % 4;
  return b == 3 ? 0 : 24 * group + kWordBytes[w][2 - b];
});
// The flag byte of each word's group into the word's top byte.
constexpr Bytes64 kFlagToTopByte = bytes64([](int j) { return j % 4 == 3 ? j / 32 : 0; });
// The flag bit of each word: bit 7 - w.
constexpr Bytes64 kFlagBit = bytes64([](int j) { return j % 4 == 3 ? 0x80 >> (j / 4 % 8) : 0; });

// ---- four parts to samples ----

// Output byte q of 16 words: word q / 10, sample q % 10; samples 0-3 are in
// the first table's lane, 4-7 in the second's, 8-9 in the third's.
constexpr int unpackIndex(int q) {
  const int w = q / 10, r = q % 10;
  return r < 4 ? 4 * w + r : r < 8 ? 64 + 4 * w + r - 4 : 4 * w + r - 8;
}
constexpr Bytes64 unpackTable(int v) {
  return bytes64([v](int j) { return 64 * v + j < 160 ? unpackIndex(64 * v + j) : 0; });
}
constexpr __mmask64 unpackTail(int v) {
  __mmask64 m = 0;
  for (int j = 0; j < 64; ++j) {
    const int q = 64 * v + j;
    if (q < 160 && q % 10 >= 8) m |= __mmask64(1) << j;
  }
  return m;
}
constexpr Bytes64 kUnpack[3] = {unpackTable(0), unpackTable(1), unpackTable(2)};
constexpr __mmask64 kUnpackTail[3] = {unpackTail(0), unpackTail(1), unpackTail(2)};

}  // namespace

KEL_AVX512 std::size_t ReadDmaBlocks(const std::uint8_t* dma, std::size_t groups, std::uint32_t* words) {
  const std::size_t blocks = groups / 8;
  const __m512i toWords = load(kGroupPairToWords);
  const __m512i toTop = load(kFlagToTopByte);
  const __m512i flagBit = load(kFlagBit);
  const __m512i one = _mm512_set1_epi8(1);
  constexpr __mmask64 kTwoGroups = (__mmask64(1) << 48) - 1;
  for (std::size_t blk = 0; blk < blocks; ++blk) {
    const std::uint8_t* b = dma + blk * 200;
    std::uint64_t flags;
    std::memcpy(&flags, b + 192, sizeof flags);
    for (int m = 0; m < 4; ++m) {
      const __m512i pair = _mm512_maskz_loadu_epi8(kTwoGroups, b + 48 * m);
      const __m512i w = _mm512_maskz_permutexvar_epi8(kColourBytes, toWords, pair);
      const __m512i f = _mm512_permutexvar_epi8(toTop, _mm512_set1_epi64(static_cast<long long>(flags >> (16 * m))));
      const __m512i withFlag = _mm512_mask_mov_epi8(w, _mm512_test_epi8_mask(f, flagBit), one);
      store(words + blk * 64 + 16 * m, withFlag);
    }
  }
  return blocks * 8;
}

KEL_AVX512 std::size_t UnpackWords(const std::uint32_t* p1, const std::uint32_t* p2, const std::uint32_t* p3,
                                   const std::uint32_t* p4, std::size_t words, std::uint8_t* samples) {
  const __m512i i0 = load(kUnpack[0]), i1 = load(kUnpack[1]), i2 = load(kUnpack[2]);
  std::size_t k = 0;
  for (; k + 16 <= words; k += 16) {
    const __m512i a = load(p1 + k), b = load(p2 + k), c = load(p3 + k), d = load(p4 + k);
    const __m512i px0123 =
        _mm512_or_si512(_mm512_or_si512(bits(_mm512_srli_epi32(a, 2), 0xFFu), bits(_mm512_slli_epi32(b, 6), 0xFF00u)),
                        _mm512_or_si512(bits(_mm512_slli_epi32(a, 4), 0xFF0000u),
                                        bits(_mm512_slli_epi32(b, 12), 0xFF000000u)));
    const __m512i px4 =
        _mm512_or_si512(_mm512_or_si512(bits(_mm512_srli_epi32(a, 17), 0xC0u), bits(_mm512_srli_epi32(c, 19), 0x30u)),
                        _mm512_or_si512(bits(_mm512_srli_epi32(a, 19), 0x0Eu), bits(_mm512_srli_epi32(c, 22), 0x01u)));
    const __m512i px5 = _mm512_or_si512(
        _mm512_or_si512(
            _mm512_or_si512(bits(_mm512_srli_epi32(b, 17), 0x80u), bits(_mm512_srli_epi32(d, 18), 0x40u)),
            _mm512_or_si512(bits(_mm512_srli_epi32(b, 18), 0x20u), bits(_mm512_srli_epi32(d, 19), 0x10u))),
        _mm512_or_si512(
            _mm512_or_si512(bits(_mm512_srli_epi32(b, 19), 0x08u), bits(_mm512_srli_epi32(d, 20), 0x06u)),
            bits(_mm512_srli_epi32(b, 21), 0x01u)));
    const __m512i px4567 = _mm512_or_si512(
        _mm512_or_si512(px4, _mm512_slli_epi32(px5, 8)),
        _mm512_or_si512(bits(_mm512_slli_epi32(c, 14), 0xFF0000u), bits(_mm512_slli_epi32(d, 22), 0xFF000000u)));
    const __m512i px89 =
        _mm512_or_si512(bits(_mm512_srli_epi32(c, 12), 0xFFu), bits(_mm512_srli_epi32(d, 4), 0xFF00u));
    std::uint8_t* o = samples + k * 10;
    store(o, _mm512_mask_permutexvar_epi8(_mm512_permutex2var_epi8(px0123, i0, px4567), kUnpackTail[0], i0, px89));
    store(o + 64,
          _mm512_mask_permutexvar_epi8(_mm512_permutex2var_epi8(px0123, i1, px4567), kUnpackTail[1], i1, px89));
    const __m512i last =
        _mm512_mask_permutexvar_epi8(_mm512_permutex2var_epi8(px0123, i2, px4567), kUnpackTail[2], i2, px89);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(o + 128), _mm512_castsi512_si256(last));
  }
  return k;
}

#else  // no AVX-512 build: ActiveIsa() never selects these; nothing done

std::size_t ReadDmaBlocks(const std::uint8_t*, std::size_t, std::uint32_t*) { return 0; }
std::size_t UnpackWords(const std::uint32_t*, const std::uint32_t*, const std::uint32_t*, const std::uint32_t*,
                        std::size_t, std::uint8_t*) {
  return 0;
}

#endif

}  // namespace Orvo::conv::avx512
