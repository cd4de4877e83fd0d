// Test frames for the converter: 8-bit samples packed by the virtual camera's
// packer into four DMA parts, and the process settings reset to their start.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "filter/acquisition/FrameConverter.h"
#include "filter/acquisition/converter_isa.h"

namespace Orvo::conv {
// Test parameters print as the instruction set's name.
inline void PrintTo(Isa isa, std::ostream* os) { *os << IsaName(isa); }
}  // namespace Orvo::conv

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

// A test run once for every instruction set the processor supports, with the
// settings reset before and the widest instruction set restored after.
class IsaTest : public ::testing::TestWithParam<Orvo::conv::Isa> {
 protected:
  void SetUp() override {
    resetSettings();
    Orvo::conv::SetIsaLimit(GetParam());
  }
  void TearDown() override { Orvo::conv::SetIsaLimit(Orvo::conv::Isa::Avx512); }
};

std::string isaName(const ::testing::TestParamInfo<Orvo::conv::Isa>& info);

// Runs the suite's tests for every supported instruction set.
#define KEL_FOR_EVERY_ISA(Suite) \
  INSTANTIATE_TEST_SUITE_P(Isa, Suite, ::testing::ValuesIn(Orvo::conv::SupportedIsas()), kel::test::isaName)

}  // namespace kel::test
