// Grey pixels, 2x2 sums, channel sums and demosaic rows, in AVX-512.
#include <algorithm>
#include <stdexcept>

#include "filter/acquisition/converter_avx512.h"
#include "filter/acquisition/converter_avx512_common.h"

namespace Orvo::conv::avx512 {

#if defined(__x86_64__)

namespace {

KEL_AVX512 inline std::uint64_t total(__m512i v) { return static_cast<std::uint64_t>(_mm512_reduce_add_epi64(v)); }

// ---- pixel interleaving ----

// Grey: output byte j of step v takes sample (64v + j) / stride.
constexpr Bytes64 spreadTable(int stride, int v) { return bytes64([=](int j) { return (64 * v + j) / stride; }); }
constexpr Bytes64 kSpread3[3] = {spreadTable(3, 0), spreadTable(3, 1), spreadTable(3, 2)};
constexpr Bytes64 kSpread4[4] = {spreadTable(4, 0), spreadTable(4, 1), spreadTable(4, 2), spreadTable(4, 3)};

// Colour: byte j of step v is channel (64v + j) % stride of pixel
// (64v + j) / stride; blue and green come from a two-register permute
// (green at +64), red from a second, masked one.
constexpr Bytes64 blueGreenTable(int stride, int v) {
  return bytes64([=](int j) {
    const int q = 64 * v + j;
    return q / stride + (q % stride == 1 ? 64 : 0);
  });
}
constexpr __mmask64 redLanes(int stride, int v) {
  __mmask64 m = 0;
  for (int j = 0; j < 64; ++j) m |= __mmask64((64 * v + j) % stride == 2) << j;
  return m;
}
constexpr Bytes64 kBlueGreen3[3] = {blueGreenTable(3, 0), blueGreenTable(3, 1), blueGreenTable(3, 2)};
constexpr Bytes64 kBlueGreen4[4] = {blueGreenTable(4, 0), blueGreenTable(4, 1), blueGreenTable(4, 2),
                                    blueGreenTable(4, 3)};
constexpr __mmask64 kRed3[3] = {redLanes(3, 0), redLanes(3, 1), redLanes(3, 2)};
constexpr __mmask64 kRed4 = redLanes(4, 0);
constexpr Bytes64 kPairDown = bytes64([](int j) { return j & ~1; });

// The fourth byte of every 4-byte pixel: 255, the opacity players read.
KEL_AVX512 inline __m512i opaque() { return _mm512_set1_epi32(static_cast<int>(0xFF000000u)); }

// Stores the `bytes` bytes of up to 64 pixels, whole registers where
// they fit; 4-byte pixels come with their fourth byte already set.
template <int Stride>
KEL_AVX512 inline void storePixels(std::uint8_t* out, const __m512i* v, std::size_t bytes) {
  constexpr int steps = Stride;  // 64 pixels take `Stride` registers
  for (int s = 0; s < steps; ++s) {
    const std::size_t left = bytes > std::size_t(64) * s ? bytes - std::size_t(64) * s : 0;
    if (left == 0) break;
    if (left >= 64) {
      store(out + 64 * s, v[s]);
    } else {
      _mm512_mask_storeu_epi8(out + 64 * s, firstBytes(left), v[s]);
    }
  }
}

// Stores 64 whole pixels, straight-line.
KEL_AVX512 inline void store64Pixels(std::uint8_t* out, __m512i a, __m512i b, __m512i c) {
  store(out, a);
  store(out + 64, b);
  store(out + 128, c);
}

// 4-byte pixels, their fourth bytes already set.
KEL_AVX512 inline void store64Pixels(std::uint8_t* out, __m512i a, __m512i b, __m512i c, __m512i d) {
  store(out, a);
  store(out + 64, b);
  store(out + 128, c);
  store(out + 192, d);
}

// Byte j of the result is sample `index`[j] of v in the colour bytes and 255
// in the fourth byte of each 4-byte pixel.
template <int Stride>
KEL_AVX512 inline __m512i spreadPixels(__m512i index, __m512i v) {
  if constexpr (Stride == 4) return _mm512_mask_permutexvar_epi8(opaque(), kColourBytes, index, v);
  return _mm512_permutexvar_epi8(index, v);
}

template <int Stride, bool Mapped>
KEL_AVX512 void writeGrey(const std::uint8_t* samples, std::size_t pixels, const std::uint8_t* table,
                          std::uint8_t* out) {
  Lut lut{};
  if constexpr (Mapped) lut = loadLut(table);
  const __m512i i0 = load(Stride == 3 ? kSpread3[0] : kSpread4[0]);
  const __m512i i1 = load(Stride == 3 ? kSpread3[1] : kSpread4[1]);
  const __m512i i2 = load(Stride == 3 ? kSpread3[2] : kSpread4[2]);
  const __m512i i3 = load(kSpread4[3]);
  auto pixelsOf = [&](__m512i v, __m512i* px) KEL_AVX512_LAMBDA {
    if constexpr (Mapped) v = lookup(lut, v);
    px[0] = spreadPixels<Stride>(i0, v);
    px[1] = spreadPixels<Stride>(i1, v);
    px[2] = spreadPixels<Stride>(i2, v);
    if constexpr (Stride == 4) px[3] = spreadPixels<Stride>(i3, v);
  };
  std::size_t i = 0;
  for (; i + 64 <= pixels; i += 64) {
    __m512i px[4];
    pixelsOf(load(samples + i), px);
    if constexpr (Stride == 3) {
      store64Pixels(out + 3 * i, px[0], px[1], px[2]);
    } else {
      store64Pixels(out + 4 * i, px[0], px[1], px[2], px[3]);
    }
  }
  if (i < pixels) {
    __m512i px[4];
    pixelsOf(_mm512_maskz_loadu_epi8(firstBytes(pixels - i), samples + i), px);
    storePixels<Stride>(out + Stride * i, px, Stride * (pixels - i));
  }
}

// One output row of 2x2 sums: pairs of columns added within each row by a
// multiply-add with ones, the two rows added, then packed to bytes with
// saturation at 255.
template <int Stride>
KEL_AVX512 void sumRow(const std::uint8_t* r0, const std::uint8_t* r1, std::size_t outWidth, const Lut& lut,
                       std::uint8_t* out) {
  const __m512i ones = _mm512_set1_epi8(1);
  const __m512i inOrder = _mm512_setr_epi64(0, 2, 4, 6, 1, 3, 5, 7);
  const __m512i i0 = load(Stride == 3 ? kSpread3[0] : kSpread4[0]);
  const __m512i i1 = load(Stride == 3 ? kSpread3[1] : kSpread4[1]);
  const __m512i i2 = load(Stride == 3 ? kSpread3[2] : kSpread4[2]);
  const __m512i i3 = load(kSpread4[3]);
  const std::size_t inWidth = 2 * outWidth;
  auto pairs = [&](std::size_t col) KEL_AVX512_LAMBDA {
    const __mmask64 m = firstBytes(col < inWidth ? inWidth - col : 0);
    return _mm512_add_epi16(_mm512_maddubs_epi16(_mm512_maskz_loadu_epi8(m, r0 + col), ones),
                            _mm512_maddubs_epi16(_mm512_maskz_loadu_epi8(m, r1 + col), ones));
  };
  for (std::size_t x = 0; x < outWidth; x += 64) {
    const __m512i sums = _mm512_permutexvar_epi64(inOrder, _mm512_packus_epi16(pairs(2 * x), pairs(2 * x + 64)));
    const __m512i v = lookup(lut, sums);
    __m512i px[4] = {spreadPixels<Stride>(i0, v), spreadPixels<Stride>(i1, v), spreadPixels<Stride>(i2, v),
                     spreadPixels<Stride>(i3, v)};
    storePixels<Stride>(out + Stride * x, px, Stride * std::min<std::size_t>(outWidth - x, 64));
  }
}

template <int Stride>
KEL_AVX512 void demosaicRow(const std::uint8_t* even, const std::uint8_t* odd, std::size_t width,
                            const std::uint8_t* mappedEven, const std::uint8_t* mappedOdd, const Lut& green,
                            std::uint8_t* out) {
  const std::size_t n = width - 2;
  const __m512i low7 = _mm512_set1_epi8(0x7F);
  const __m512i pairDown = load(kPairDown);
  __m512i bg[Stride];
  for (int s = 0; s < Stride; ++s) bg[s] = load(Stride == 3 ? kBlueGreen3[s] : kBlueGreen4[s]);
  for (std::size_t x = 0; x < n; x += 64) {
    // Pixel x + i: green 1 from even column x + i (i even) or x + i + 1 (i
    // odd), green 2 from odd column x + i + 1 (i even) or x + i (i odd).
    const __m512i e = _mm512_mask_blend_epi8(kOddLanes, load(even + x), load(even + x + 1));
    const __m512i o = _mm512_mask_blend_epi8(kOddLanes, load(odd + x + 1), load(odd + x));
    // The floor of the mean, without leaving 8 bits.
    const __m512i mean = _mm512_add_epi8(_mm512_and_si512(e, o),
                                         _mm512_and_si512(_mm512_srli_epi16(_mm512_xor_si512(e, o), 1), low7));
    const __m512i g = lookup(green, mean);
    const __m512i b = _mm512_permutexvar_epi8(pairDown, load(mappedOdd + x));
    const __m512i r = _mm512_mask_blend_epi8(kOddLanes, load(mappedEven + x + 1), load(mappedEven + x + 2));
    __m512i px[Stride];
    for (int s = 0; s < Stride; ++s) {
      const __m512i blueGreen = _mm512_permutex2var_epi8(b, bg[s], g);
      px[s] = _mm512_mask_permutexvar_epi8(blueGreen, Stride == 3 ? kRed3[s] : kRed4, bg[s], r);
      if constexpr (Stride == 4) px[s] = _mm512_or_si512(px[s], opaque());
    }
    if (n - x >= 64) {
      if constexpr (Stride == 3) {
        store64Pixels(out + 3 * x, px[0], px[1], px[2]);
      } else {
        store64Pixels(out + 4 * x, px[0], px[1], px[2], px[3]);
      }
    } else {
      storePixels<Stride>(out + Stride * x, px, Stride * (n - x));
    }
  }
}

}  // namespace

KEL_AVX512 void WriteGrey(const std::uint8_t* samples, std::size_t pixels, const std::uint8_t* table,
                          std::uint8_t* out, int stride) {
  if (stride == 3) {
    table ? writeGrey<3, true>(samples, pixels, table, out) : writeGrey<3, false>(samples, pixels, table, out);
  } else {
    table ? writeGrey<4, true>(samples, pixels, table, out) : writeGrey<4, false>(samples, pixels, table, out);
  }
}

KEL_AVX512 void WriteSums(const std::uint8_t* samples, std::size_t width, std::size_t height,
                          const std::uint8_t* table, std::uint8_t* out, int stride) {
  const Lut lut = loadLut(table);
  const std::size_t outWidth = width / 2;
  for (std::size_t y = 0; y < height / 2; ++y) {
    const std::uint8_t* r0 = samples + 2 * y * width;
    std::uint8_t* o = out + y * outWidth * stride;
    if (stride == 3) {
      sumRow<3>(r0, r0 + width, outWidth, lut, o);
    } else {
      sumRow<4>(r0, r0 + width, outWidth, lut, o);
    }
  }
}

KEL_AVX512 ChannelSums SumChannels(const std::uint8_t* mosaic, std::size_t width, std::size_t height) {
  // Per row parity: the sum of all samples and of the even columns, in
  // 64-bit lanes.
  const __m512i zero = _mm512_setzero_si512();
  const __m512i evenColumns = _mm512_set1_epi16(0x00FF);
  __m512i all[2] = {zero, zero}, evenCol[2] = {zero, zero};
  for (std::size_t i = 0; i < height; ++i) {
    const std::uint8_t* row = mosaic + i * width;
    __m512i a = zero, e = zero;
    for (std::size_t j = 0; j < width; j += 64) {
      const __m512i v = _mm512_maskz_loadu_epi8(firstBytes(width - j), row + j);
      a = _mm512_add_epi64(a, _mm512_sad_epu8(v, zero));
      e = _mm512_add_epi64(e, _mm512_sad_epu8(_mm512_and_si512(v, evenColumns), zero));
    }
    all[i % 2] = _mm512_add_epi64(all[i % 2], a);
    evenCol[i % 2] = _mm512_add_epi64(evenCol[i % 2], e);
  }
  ChannelSums s;
  s.red = total(all[0]) - total(evenCol[0]);
  s.green = total(evenCol[0]) + total(all[1]) - total(evenCol[1]);
  s.blue = total(evenCol[1]);
  return s;
}

KEL_AVX512 void MapRow(const std::uint8_t* in, std::size_t n, const std::uint8_t* table, std::uint8_t* out) {
  const Lut lut = loadLut(table);
  for (std::size_t i = 0; i < n; i += 64) {
    const __mmask64 m = firstBytes(n - i);
    _mm512_mask_storeu_epi8(out + i, m, lookup(lut, _mm512_maskz_loadu_epi8(m, in + i)));
  }
}

KEL_AVX512 void DemosaicRow(const std::uint8_t* even, const std::uint8_t* odd, std::size_t width,
                            const std::uint8_t* mappedEven, const std::uint8_t* mappedOdd,
                            const std::uint8_t* greenTable, std::uint8_t* out, int stride) {
  const Lut green = loadLut(greenTable);
  if (stride == 3) {
    demosaicRow<3>(even, odd, width, mappedEven, mappedOdd, green, out);
  } else {
    demosaicRow<4>(even, odd, width, mappedEven, mappedOdd, green, out);
  }
}

#else  // no AVX-512 build: ActiveIsa() never selects these

namespace {
[[noreturn]] void unavailable() { throw std::logic_error("AVX-512 converter loops are not built for this processor"); }
}  // namespace

void WriteGrey(const std::uint8_t*, std::size_t, const std::uint8_t*, std::uint8_t*, int) { unavailable(); }
ChannelSums SumChannels(const std::uint8_t*, std::size_t, std::size_t) { unavailable(); }
void WriteSums(const std::uint8_t*, std::size_t, std::size_t, const std::uint8_t*, std::uint8_t*, int) {
  unavailable();
}
void MapRow(const std::uint8_t*, std::size_t, const std::uint8_t*, std::uint8_t*) { unavailable(); }
void DemosaicRow(const std::uint8_t*, const std::uint8_t*, std::size_t, const std::uint8_t*, const std::uint8_t*,
                 const std::uint8_t*, std::uint8_t*, int) {
  unavailable();
}


#endif

}  // namespace Orvo::conv::avx512
