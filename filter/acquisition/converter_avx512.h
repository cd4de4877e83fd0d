// The converter's loops in AVX-512 (F, BW and VBMI): 64 bytes a step, the
// 256-entry tables looked up with byte permutes, partial steps done with
// masked loads and stores. Call only while ActiveIsa() is Isa::Avx512; the
// portable loops next to each caller give the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "filter/acquisition/converter_bayer.h"

namespace Orvo::conv::avx512 {

// Rebuilds the words of whole 200-byte blocks; returns the groups done (the
// groups of a last, partial block are left to the caller).
std::size_t ReadDmaBlocks(const std::uint8_t* dma, std::size_t groups, std::uint32_t* words);

// Unpacks 16 words of each part at a time; returns the words done.
std::size_t UnpackWords(const std::uint32_t* p1, const std::uint32_t* p2, const std::uint32_t* p3,
                        const std::uint32_t* p4, std::size_t words, std::uint8_t* samples);

// Pixel i of `out` gets table[samples[i]] (samples[i] when `table` is null)
// in its three colour bytes; every 4-byte pixel gets 255 in its fourth.
void WriteGrey(const std::uint8_t* samples, std::size_t pixels, const std::uint8_t* table, std::uint8_t* out,
               int stride);

// The (W/2) x (H/2) picture of 2x2 sums, limited to 255, through the table.
void WriteSums(const std::uint8_t* samples, std::size_t width, std::size_t height, const std::uint8_t* table,
               std::uint8_t* out, int stride);

ChannelSums SumChannels(const std::uint8_t* mosaic, std::size_t width, std::size_t height);

// out[i] = table[in[i]] for i below n.
void MapRow(const std::uint8_t* in, std::size_t n, const std::uint8_t* table, std::uint8_t* out);

// Pixels 0 to W - 3 of one output row from its two mosaic rows. `mappedEven`
// is the even row through the red table, `mappedOdd` the odd row through the
// blue table. Every row may be read up to 66 bytes past its end.
void DemosaicRow(const std::uint8_t* even, const std::uint8_t* odd, std::size_t width,
                 const std::uint8_t* mappedEven, const std::uint8_t* mappedOdd, const std::uint8_t* greenTable,
                 std::uint8_t* out, int stride);

}  // namespace Orvo::conv::avx512
