#include "tests/filter/converter/frame_source.h"

#include <span>

#include "filter/acquisition/settings_records.h"
#include "kellib3/frame/packing.h"

namespace kel::test {

PackedFrame packSamples(unsigned width, unsigned height, const std::vector<std::uint8_t>& samples,
                        std::mt19937& rng) {
  PackedFrame f;
  f.width = width;
  f.height = height;
  f.samples = samples;
  // Packed as one long row, which has the same linear layout.
  const unsigned padded = (width * height + 9) / 10 * 10;
  std::vector<std::uint16_t> tenBit(padded, 0);
  for (std::size_t i = 0; i < samples.size(); ++i) tenBit[i] = std::uint16_t(samples[i] << 2 | (rng() & 3u));
  for (auto& p : f.parts) p.assign(kellib3::dmaPartBytes(padded, 1), 0);
  kellib3::packFrame(tenBit, padded, 1, {f.parts[0], f.parts[1], f.parts[2], f.parts[3]});
  return f;
}

PackedFrame randomFrame(unsigned width, unsigned height, std::mt19937& rng) {
  std::vector<std::uint8_t> s(std::size_t(width) * height);
  for (auto& v : s) v = static_cast<std::uint8_t>(rng());
  return packSamples(width, height, s, rng);
}

void feed(Orvo::FrameConverter& converter, const PackedFrame& frame) {
  for (int n = 1; n <= 4; ++n) converter.TakePart(n, frame.width, frame.height, frame.parts[n - 1]);
}

void resetSettings() {
  Orvo::ProcessSettings& s = Orvo::Settings();
  Orvo::WhiteBalanceSettings& wb = s.whiteBalance;
  for (auto* f : {&wb.enabled, &wb.automatic, &wb.gamma, &wb.red, &wb.green, &wb.blue, &wb.averageRed,
                  &wb.averageGreen, &wb.averageBlue, &wb.colorCamera}) {
    f->store(0);
  }
  s.levels.summation = 0;
  s.levels.black = 0;
  s.levels.white = 255;
  s.levels.digitalGain = 0;
  s.repack = 0;
  s.monochrome = 0;
}

std::string isaName(const ::testing::TestParamInfo<Orvo::conv::Isa>& info) { return Orvo::conv::IsaName(info.param); }

}  // namespace kel::test
