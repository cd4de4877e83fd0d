// Pack -> independent reference decode must give back the 8 most significant
// bits of every sample, whatever the frame size and whatever the DMA buffers
// held before.
#include "kellib3/frame/packing.h"

#include "kellib3/frame/frame_strip.h"
#include "kellib3/frame/scene.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <stdexcept>
#include <vector>

#include "tests/kellib3/frame/reference_decoder.h"

namespace kellib3 {
namespace {

using Parts = std::array<std::vector<std::uint8_t>, 4>;

struct Size {
  unsigned w, h;
};

// 1280x1024, 640x480 and 320x240 fill whole blocks; 100x10 (100 words),
// 130x7 (91 words: a partial group) and 50x10 (50 words: less than a block)
// leave the last block partly empty.
const Size kSizes[] = {{1280, 1024}, {640, 480}, {320, 240}, {100, 10}, {130, 7}, {50, 10}};

Parts packInto(const std::vector<std::uint16_t>& samples, unsigned w, unsigned h, std::uint8_t fill) {
  Parts parts;
  for (auto& p : parts) p.assign(dmaPartBytes(w, h), fill);
  packFrame(samples, w, h, {parts[0], parts[1], parts[2], parts[3]});
  return parts;
}

std::vector<std::uint16_t> randomSamples(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> dist(0, 1023);
  std::vector<std::uint16_t> s(n);
  for (auto& v : s) v = static_cast<std::uint16_t>(dist(rng));
  return s;
}

std::vector<std::uint8_t> msb8(const std::vector<std::uint16_t>& samples) {
  std::vector<std::uint8_t> out(samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) out[i] = static_cast<std::uint8_t>(samples[i] >> 2);
  return out;
}

TEST(Packing, RoundTripsRandomSamplesAtEverySize) {
  for (const Size& sz : kSizes) {
    SCOPED_TRACE(testing::Message() << sz.w << "x" << sz.h);
    const std::size_t bytes = dmaPartBytes(sz.w, sz.h);
    EXPECT_EQ(bytes % 200, 0u);
    // Whole blocks covering the range the reader walks, and no more.
    EXPECT_GE(bytes, std::size_t(10) * sz.w * sz.h / 32);
    EXPECT_LT(bytes, std::size_t(10) * sz.w * sz.h / 32 + 200);

    const auto samples = randomSamples(std::size_t(sz.w) * sz.h, sz.w * 7919u + sz.h);
    // Stale buffer contents must not leak into the result.
    const Parts parts = packInto(samples, sz.w, sz.h, 0xA5);
    EXPECT_EQ(test::referenceUnpack(parts, sz.w, sz.h), msb8(samples));
  }
}

// Scene frames of every size (input windows) and both sensors travel intact,
// and the frame number can be read from what the grabber delivers.
TEST(Packing, RoundTripsSceneFramesWithTheirNumber) {
  for (bool bayer : {false, true}) {
    for (const Size& sz : kSizes) {
      SCOPED_TRACE(testing::Message() << (bayer ? "bayer " : "mono ") << sz.w << "x" << sz.h);
      SceneSettings s;
      s.bayer = bayer;
      s.windowWidth = sz.w;
      s.windowHeight = sz.h;
      const std::uint32_t number = 0xC0FFEE00u + sz.h;
      std::vector<std::uint16_t> samples(std::size_t(sz.w) * sz.h);
      renderScene(s, number, samples);
      const auto picture = test::referenceUnpack(packInto(samples, sz.w, sz.h, 0xFF), sz.w, sz.h);
      EXPECT_EQ(picture, msb8(samples));
      if (sz.w >= 128 && sz.h >= 8) {
        EXPECT_EQ(readFrameStrip(picture, sz.w, sz.h, 1, sz.w), number);
      }
    }
  }
}

TEST(Packing, WordsBeyondTheFrameAreZero) {
  for (const Size& sz : kSizes) {
    SCOPED_TRACE(testing::Message() << sz.w << "x" << sz.h);
    const std::size_t words = std::size_t(sz.w) * sz.h / 10;
    const Parts parts = packInto(std::vector<std::uint16_t>(std::size_t(sz.w) * sz.h, 1023), sz.w, sz.h, 0xFF);
    for (int p = 0; p < 4; ++p) {
      std::size_t index = 0;
      for (std::size_t block = 0; block < parts[p].size(); block += 200) {
        for (std::size_t g = 0; g < 8; ++g) {
          for (std::uint32_t word : test::referenceGroup(parts[p], block, g)) {
            if (index >= words) {
              EXPECT_EQ(word, 0u) << "part " << p + 1 << " word " << index;
            }
            ++index;
          }
        }
      }
    }
  }
}

// Every 10-bit value at every position of a group packs differently: the two
// low bits travel too, including those of the two scattered pixels.
TEST(Packing, KeepsAllTenBitsOfEveryPosition) {
  for (unsigned pos = 0; pos < 10; ++pos) {
    std::set<Parts> seen;
    for (unsigned v = 0; v < 1024; ++v) {
      std::vector<std::uint16_t> samples(10, 0);
      samples[pos] = static_cast<std::uint16_t>(v);
      seen.insert(packInto(samples, 10, 1, 0));
    }
    EXPECT_EQ(seen.size(), 1024u) << "position " << pos;
  }
}

TEST(Packing, RejectsBadSizesAndShortBuffers) {
  EXPECT_THROW(dmaPartBytes(7, 3), std::invalid_argument);
  EXPECT_THROW(dmaPartBytes(0, 10), std::invalid_argument);

  std::vector<std::uint16_t> samples(100, 0);
  Parts parts;
  for (auto& p : parts) p.assign(dmaPartBytes(10, 10), 0);
  std::vector<std::uint8_t> shortPart(dmaPartBytes(10, 10) - 1);
  EXPECT_THROW(packFrame(samples, 10, 10, {parts[0], parts[1], shortPart, parts[3]}), std::invalid_argument);
  EXPECT_THROW(packFrame(std::span(samples).first(99), 10, 10, {parts[0], parts[1], parts[2], parts[3]}),
               std::invalid_argument);
  EXPECT_THROW(packFrame(samples, 9, 9, {parts[0], parts[1], parts[2], parts[3]}), std::invalid_argument);
}

}  // namespace
}  // namespace kellib3
