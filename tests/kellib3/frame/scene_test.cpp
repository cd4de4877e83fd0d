// The scene is a pure function of frame number and settings: checked for
// repeatability, motion, brightness controls, window/decimation geometry,
// the test chart and where the mosaic puts each colour.
#include "kellib3/frame/scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "kellib3/frame/frame_strip.h"
#include "kellib3/frame/scene_layout.h"

namespace kellib3 {
namespace {

std::vector<std::uint16_t> render(const SceneSettings& s, std::uint32_t frame) {
  std::vector<std::uint16_t> out(std::size_t(sceneFrameWidth(s)) * sceneFrameHeight(s));
  renderScene(s, frame, out);
  return out;
}

SceneSettings sensor(bool bayer) {
  SceneSettings s;
  s.bayer = bayer;
  return s;
}

// Rows below the frame-number strip.
std::vector<std::uint16_t> belowStrip(const std::vector<std::uint16_t>& f, const SceneSettings& s) {
  const std::size_t skip = std::size_t(frameStripRows(sceneFrameHeight(s))) * sceneFrameWidth(s);
  return {f.begin() + skip, f.end()};
}

double mean(const std::vector<std::uint16_t>& v) {
  double sum = 0;
  for (auto x : v) sum += x;
  return sum / double(v.size());
}

TEST(Scene, SameFrameRepeatsAndNextFrameMoves) {
  for (bool bayer : {false, true}) {
    SCOPED_TRACE(bayer ? "bayer" : "mono");
    SceneSettings s = sensor(bayer);
    s.periodNs = 100'000;  // 10000 frames per second: still visible motion
    for (std::uint32_t frame : {0u, 1234u, 0xFFFFFFFFu}) {
      const auto a = render(s, frame);
      EXPECT_EQ(a, render(s, frame)) << "frame " << frame;
      const auto next = render(s, frame + 1);
      std::size_t changed = 0;
      const auto x = belowStrip(a, s), y = belowStrip(next, s);
      for (std::size_t i = 0; i < x.size(); ++i) changed += x[i] != y[i];
      EXPECT_GT(changed, 100u) << "frame " << frame << " to the next";
    }
  }
}

TEST(Scene, BrightnessFollowsExposureGainAndBlackLevel) {
  SceneSettings s = sensor(false);
  s.exposureNs = 200'000;
  const auto base = belowStrip(render(s, 9), s);
  // Half of a 2 ms period is about mid-grey.
  SceneSettings mid = s;
  mid.exposureNs = 1'000'000;
  EXPECT_NEAR(mean(belowStrip(render(mid, 9), mid)), 512, 160);

  SceneSettings longer = s;
  longer.exposureNs = 400'000;
  EXPECT_NEAR(mean(belowStrip(render(longer, 9), longer)) / mean(base), 2.0, 0.05);
  SceneSettings gained = s;
  gained.gain = 3.0;
  EXPECT_NEAR(mean(belowStrip(render(gained, 9), gained)) / mean(base), 3.0, 0.05);

  SceneSettings offset = s;
  offset.blackLevel = 100;
  const auto lifted = belowStrip(render(offset, 9), offset);
  for (std::size_t i = 0; i < base.size(); ++i) ASSERT_EQ(lifted[i], base[i] + 100) << "sample " << i;

  SceneSettings blown = s;
  blown.exposureNs = 50'000'000;
  for (auto v : belowStrip(render(blown, 9), blown)) ASSERT_EQ(v, 1023);
  SceneSettings crushed = s;
  crushed.blackLevel = -2000;
  for (auto v : belowStrip(render(crushed, 9), crushed)) ASSERT_EQ(v, 0);
}

// A windowed (and decimated) frame is the matching part of the full frame.
void expectCrop(const SceneSettings& win, std::uint32_t frame) {
  SceneSettings full = win;
  full.windowX = full.windowY = 0;
  full.windowWidth = full.sensorWidth;
  full.windowHeight = full.sensorHeight;
  full.decimation = 1;
  const auto whole = render(full, frame);
  const auto part = render(win, frame);
  const unsigned w = sceneFrameWidth(win), h = sceneFrameHeight(win);
  for (unsigned r = frameStripRows(h); r < h; ++r) {
    const unsigned sy = win.windowY + r * win.decimation;
    if (sy < frameStripRows(full.sensorHeight)) continue;
    for (unsigned c = 0; c < w; ++c) {
      ASSERT_EQ(part[std::size_t(r) * w + c], whole[std::size_t(sy) * full.sensorWidth + win.windowX + c])
          << "row " << r << " column " << c;
    }
  }
}

TEST(Scene, WindowAndDecimationPickPartsOfTheSamePicture) {
  for (bool pattern : {false, true}) {
    SCOPED_TRACE(pattern ? "chart" : "scene");
    SceneSettings s = sensor(false);
    s.testPattern = pattern;
    s.windowX = 203, s.windowY = 101, s.windowWidth = 640, s.windowHeight = 480;
    expectCrop(s, 42);
    s.decimation = 3;
    EXPECT_EQ(sceneFrameHeight(s), 160u);
    expectCrop(s, 42);

    // The mosaic follows the output, so colour windows start on even sites.
    SceneSettings c = sensor(true);
    c.testPattern = pattern;
    c.windowX = 320, c.windowY = 256, c.windowWidth = 320, c.windowHeight = 240;
    expectCrop(c, 7);
    c.windowY = 0, c.windowHeight = 1024, c.decimation = 5;
    expectCrop(c, 7);
  }
}

TEST(Scene, TestChartIgnoresTimeAndExposure) {
  for (bool bayer : {false, true}) {
    SceneSettings s = sensor(bayer);
    s.testPattern = true;
    const auto chart = belowStrip(render(s, 3), s);
    SceneSettings other = s;
    other.exposureNs = 20'000;
    other.gain = 4;
    other.blackLevel = 50;
    EXPECT_EQ(belowStrip(render(other, 99999), other), chart);
    SceneSettings live = s;
    live.testPattern = false;
    EXPECT_NE(belowStrip(render(live, 3), live), chart);
  }
}

struct Sites {
  double red = 0, green = 0, blue = 0;
};

// Mean sample per mosaic colour inside a rectangle of output pixels.
Sites sitesIn(const std::vector<std::uint16_t>& f, unsigned width, unsigned x0, unsigned y0, unsigned x1,
              unsigned y1) {
  double sum[3] = {}, n[3] = {};
  for (unsigned y = y0; y < y1; ++y) {
    for (unsigned x = x0; x < x1; ++x) {
      const int c = (y % 2 == 0 && x % 2 == 1) ? 0 : (y % 2 == 1 && x % 2 == 0) ? 2 : 1;
      sum[c] += f[std::size_t(y) * width + x];
      n[c] += 1;
    }
  }
  return {sum[0] / n[0], sum[1] / n[1], sum[2] / n[2]};
}

TEST(Scene, MosaicPutsColoursWhereTheConverterLooks) {
  // Chart bars: 1/8 of the width each, in the lower half; red is bar 5, blue bar 6.
  SceneSettings chart = sensor(true);
  chart.testPattern = true;
  const auto bars = render(chart, 0);
  const Sites red = sitesIn(bars, 1280, 5 * 160 + 8, 700, 6 * 160 - 8, 800);
  EXPECT_EQ(red.red, 1023);
  EXPECT_EQ(red.green, 0);
  EXPECT_EQ(red.blue, 0);
  const Sites blue = sitesIn(bars, 1280, 6 * 160 + 8, 700, 7 * 160 - 8, 800);
  EXPECT_EQ(blue.blue, 1023);
  EXPECT_EQ(blue.red + blue.green, 0);

  // The ball is red: a square inside it, below its glint.
  SceneSettings s = sensor(true);
  s.exposureNs = 800'000;
  for (std::uint32_t frame : {100u, 400u}) {
    const auto l = scene::layoutAt(1280, 1024, frame, s.periodNs);
    const auto f = render(s, frame);
    const unsigned cx = unsigned(l.ball.cx), cy = unsigned(l.ball.cy + 0.3 * l.ball.r);
    const unsigned half = unsigned(l.ball.r * 0.3);
    const Sites ball = sitesIn(f, 1280, cx - half, cy - half / 2, cx + half, cy + half / 2);
    EXPECT_GT(ball.red, 3 * ball.green) << "frame " << frame;
    EXPECT_GT(ball.red, 3 * ball.blue) << "frame " << frame;
  }
}

TEST(Scene, RejectsImpossibleSettings) {
  auto bad = [](auto change) {
    SceneSettings s;
    change(s);
    std::vector<std::uint16_t> out(1280 * 1024);
    EXPECT_THROW(renderScene(s, 0, out), std::invalid_argument);
  };
  bad([](SceneSettings& s) { s.windowX = 1; });
  bad([](SceneSettings& s) { s.windowHeight = 1025; });
  bad([](SceneSettings& s) { s.decimation = 0; });
  bad([](SceneSettings& s) { s.windowHeight = 4, s.decimation = 5; });
  bad([](SceneSettings& s) { s.gain = std::nan(""); });
  bad([](SceneSettings& s) { s.exposureNs = -1; });
  SceneSettings s;
  std::vector<std::uint16_t> shortOut(1280 * 1024 - 1);
  EXPECT_THROW(renderScene(s, 0, shortOut), std::invalid_argument);
}

}  // namespace
}  // namespace kellib3
