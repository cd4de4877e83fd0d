// Renders the virtual camera's picture row by row: a tiled, grainy background,
// a three-bladed fan and a bouncing ball, all in sensor coordinates, then the
// exposure, gain and black level, and finally the frame-number strip.
#include "kellib3/frame/scene.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "kellib3/frame/frame_strip.h"
#include "kellib3/frame/scene_layout.h"
#include "kellib3/frame/scene_sites.h"
#include "kellib3/frame/test_chart.h"

namespace kellib3 {
namespace {

using scene::Rgb;
using Sites = std::array<Rgb, 2>;

constexpr Rgb kBackgroundTint{1.0f, 0.9f, 0.75f};
constexpr Rgb kBlade{0.3f, 0.5f, 0.9f};
constexpr Rgb kLeadBlade{0.95f, 0.6f, 0.15f};  // one blade stands out so the turn is visible
constexpr Rgb kHub{0.12f, 0.12f, 0.14f};
constexpr Rgb kBall{0.9f, 0.12f, 0.1f};
constexpr Rgb kGlint{1.0f, 0.92f, 0.85f};

// Reflectance 1 reaches full scale at 1 ms exposure and gain 1, so the
// background (about 0.4) is a little below mid-grey at half a 2 ms period.
constexpr double kFullScaleNs = 1'000'000.0;

void check(const SceneSettings& s) {
  auto fail = [](const std::string& what) { throw std::invalid_argument("scene settings: " + what); };
  if (s.sensorWidth == 0 || s.sensorHeight == 0) fail("empty sensor");
  if (s.windowWidth == 0 || s.windowHeight == 0) fail("empty input window");
  if (std::uint64_t(s.windowX) + s.windowWidth > s.sensorWidth ||
      std::uint64_t(s.windowY) + s.windowHeight > s.sensorHeight) {
    fail("input window " + std::to_string(s.windowWidth) + "x" + std::to_string(s.windowHeight) + " at (" +
         std::to_string(s.windowX) + "," + std::to_string(s.windowY) + ") lies outside the " +
         std::to_string(s.sensorWidth) + "x" + std::to_string(s.sensorHeight) + " sensor");
  }
  if (s.decimation == 0) fail("decimation 0");
  if (s.windowHeight < s.decimation) fail("decimation leaves no rows");
  if (s.exposureNs < 0) fail("negative exposure");
  if (s.periodNs < 0) fail("negative frame period");
  if (!std::isfinite(s.gain) || s.gain < 0) fail("gain must be a finite value >= 0");
}

// The tiled floor with a fine grain, lighter towards the bottom of the sensor.
void paintBackground(float* refl, unsigned sx0, unsigned n, unsigned sy, const SceneSettings& s, const Sites& w) {
  const unsigned side = std::min(s.sensorWidth, s.sensorHeight);
  const unsigned tileShift = std::countr_zero(std::bit_floor(std::max(8u, side / 12)));
  const float shade = 0.8f + 0.2f * (float(sy) + 0.5f) / float(s.sensorHeight);
  const float tint0 = scene::seen(kBackgroundTint, w[0]) * shade;
  const float tintStep = scene::seen(kBackgroundTint, w[1]) * shade - tint0;
  const std::uint32_t yHash = sy * 0x85EBCA77u;
  const std::uint32_t yTile = (sy >> tileShift) & 1u;
  for (unsigned i = 0; i < n; ++i) {
    const std::uint32_t x = sx0 + i;
    std::uint32_t h = (x * 0x9E3779B1u) ^ yHash;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 13;
    const float tile = float(int(((x >> tileShift) & 1u) ^ yTile));
    const float grain = float(int(h >> 24)) * (0.1f / 255.0f);
    const float tint = tint0 + tintStep * float(int(i & 1u));
    refl[i] = (0.42f + 0.16f * tile + grain) * tint;
  }
}

void paintSpan(float* refl, scene::Span span, unsigned sx0, unsigned n, const Rgb& colour, const Sites& w) {
  const int begin = std::max(span.begin - int(sx0), 0);
  const int end = std::min(span.end - int(sx0), int(n));
  const float v[2] = {scene::seen(colour, w[0]), scene::seen(colour, w[1])};
  for (int i = begin; i < end; ++i) refl[i] = v[i & 1];
}

void expose(const float* refl, unsigned n, const SceneSettings& s, std::uint16_t* out) {
  const float scale = static_cast<float>(1023.0 * double(s.exposureNs) / kFullScaleNs * s.gain);
  // The black level is added after rounding so it shifts every sample by
  // exactly its value; the signal is limited before the conversion to int.
  const int black = std::clamp(s.blackLevel, -2048, 2048);
  for (unsigned i = 0; i < n; ++i) {
    const int signal = int(std::min(refl[i] * scale + 0.5f, 2048.0f));
    out[i] = static_cast<std::uint16_t>(std::clamp(signal + black, 0, 1023));
  }
}

}  // namespace

unsigned sceneFrameWidth(const SceneSettings& s) { return s.windowWidth; }

unsigned sceneFrameHeight(const SceneSettings& s) {
  if (s.decimation == 0) throw std::invalid_argument("scene settings: decimation 0");
  return s.windowHeight / s.decimation;
}

void renderScene(const SceneSettings& s, std::uint32_t frameNumber, std::span<std::uint16_t> out) {
  check(s);
  const unsigned width = sceneFrameWidth(s);
  const unsigned height = sceneFrameHeight(s);
  if (out.size() < std::size_t(width) * height) {
    throw std::invalid_argument("renderScene: output holds fewer samples than the frame's pixels");
  }

  const scene::Layout layout = scene::layoutAt(s.sensorWidth, s.sensorHeight, frameNumber, s.periodNs);
  std::vector<float> refl(width);
  for (unsigned row = 0; row < height; ++row) {
    const unsigned sy = s.windowY + row * s.decimation;
    std::uint16_t* dst = out.data() + std::size_t(row) * width;
    if (s.testPattern) {
      scene::renderChartRow(s, row, sy, dst);
      continue;
    }
    const Sites w = scene::siteWeights(s.bayer, row);
    const int y = int(sy);
    paintBackground(refl.data(), s.windowX, width, sy, s, w);
    for (std::size_t b = 0; b < layout.blades.size(); ++b) {
      paintSpan(refl.data(), scene::bladeSpan(layout.blades[b], y), s.windowX, width, b == 0 ? kLeadBlade : kBlade, w);
    }
    paintSpan(refl.data(), scene::discSpan(layout.hub, y), s.windowX, width, kHub, w);
    paintSpan(refl.data(), scene::discSpan(layout.ball, y), s.windowX, width, kBall, w);
    paintSpan(refl.data(), scene::discSpan(layout.highlight, y), s.windowX, width, kGlint, w);
    expose(refl.data(), width, s, dst);
  }
  writeFrameStrip(frameNumber, width, height, out);
}

}  // namespace kellib3
