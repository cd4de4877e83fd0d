// Test frames for the converter: 8-bit samples packed by the virtual camera's
// packer into four DMA parts, and the process settings reset to their start.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "filter/acquisition/FrameConverter.h"

namespace kel::test {

struct PackedFrame {
  unsigned width = 0;
  unsigned height = 0;
  std::vector<std::uint8_t> samples;  // what the converter should read back
  std::array<std::vector<std::uint8_t>, 4> parts;
};

// Packs the samples as the top 8 of 10 bits, with random low bits that the
// converter must ignore. A pixel count that is not a multiple of 10 is
// padded with zero samples to the next whole word.
PackedFrame packSamples(unsigned width, unsigned height, const std::vector<std::uint8_t>& samples,
                        std::mt19937& rng);

PackedFrame randomFrame(unsigned width, unsigned height, std::mt19937& rng);

void feed(Orvo::FrameConverter& converter, const PackedFrame& frame);

// Every process setting back to its initial value.
void resetSettings();

}  // namespace kel::test
