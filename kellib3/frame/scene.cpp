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
#include "kellib3/frame/scene_background.h"
#include "kellib3/frame/scene_exposure.h"
#include "kellib3/frame/scene_layout.h"
#include "kellib3/frame/scene_sites.h"
#include "kellib3/frame/test_chart.h"

namespace kellib3 {
namespace {

using scene::Rgb;
using Sites = std::array<Rgb, 2>;

constexpr Rgb kBlade{0.3f, 0.5f, 0.9f};
constexpr Rgb kLeadBlade{0.95f, 0.6f, 0.15f};  // one blade stands out so the turn is visible
constexpr Rgb kHub{0.12f, 0.12f, 0.14f};
constexpr Rgb kBall{0.9f, 0.12f, 0.1f};
constexpr Rgb kGlint{1.0f, 0.92f, 0.85f};

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

// The objects are flat colours: one exposed sample per column parity.
void paintSpan(std::uint16_t* out, scene::Span span, unsigned sx0, unsigned n, const Rgb& colour, const Sites& w,
               const scene::Exposure& e) {
  const int begin = std::max(span.begin - int(sx0), 0);
  const int end = std::min(span.end - int(sx0), int(n));
  const std::uint16_t v[2] = {e.sample(scene::seen(colour, w[0]) * e.scale()),
                              e.sample(scene::seen(colour, w[1]) * e.scale())};
  for (int i = begin; i < end; ++i) out[i] = v[i & 1];
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
  const scene::Exposure exposure(s);
  const scene::Background background(s);
  for (unsigned row = 0; row < height; ++row) {
    const unsigned sy = s.windowY + row * s.decimation;
    std::uint16_t* dst = out.data() + std::size_t(row) * width;
    if (s.testPattern) {
      scene::renderChartRow(s, row, sy, dst);
      continue;
    }
    const Sites w = scene::siteWeights(s.bayer, row);
    background.paintRow(sy, w, exposure, dst);
    auto paint = [&](scene::Span span, const Rgb& colour) { paintSpan(dst, span, s.windowX, width, colour, w, exposure); };
    const int y = int(sy);
    for (std::size_t b = 0; b < layout.blades.size(); ++b) {
      paint(scene::bladeSpan(layout.blades[b], y), b == 0 ? kLeadBlade : kBlade);
    }
    paint(scene::discSpan(layout.hub, y), kHub);
    paint(scene::discSpan(layout.ball, y), kBall);
    paint(scene::discSpan(layout.highlight, y), kGlint);
  }
  writeFrameStrip(frameNumber, width, height, out);
}

}  // namespace kellib3
