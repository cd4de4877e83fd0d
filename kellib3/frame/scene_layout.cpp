#include "kellib3/frame/scene_layout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kellib3::scene {
namespace {

constexpr std::int64_t kFanTurnNs = 50'000'000;      // 20 revolutions per second
constexpr std::int64_t kBallCrossNs = 1'300'000'000;  // there and back across the picture
constexpr std::int64_t kBounceNs = 700'000'000;

// Fraction of the way through a cycle at time frame * period, reduced modulo
// the cycle first so that any frame number keeps full precision and nothing
// overflows.
double phase(std::uint32_t frame, std::int64_t period, std::int64_t cycle) {
  const std::uint64_t f = frame % std::uint64_t(cycle);
  std::int64_t p = period % cycle;
  if (p < 0) p += cycle;
  return double(f * std::uint64_t(p) % std::uint64_t(cycle)) / double(cycle);
}

// The real interval of x where lo <= a*x + b <= hi.
struct Range {
  double lo, hi;
};

Range solve(double a, double b, double lo, double hi) {
  constexpr double kAll = 1e9;
  if (std::abs(a) < 1e-12) return (b >= lo && b <= hi) ? Range{-kAll, kAll} : Range{1, 0};
  const double x0 = (lo - b) / a;
  const double x1 = (hi - b) / a;
  return {std::min(x0, x1), std::max(x0, x1)};
}

// Pixels whose centres x + 0.5 fall in the closed interval.
Span pixels(Range r) {
  if (r.lo > r.hi) return {};
  const double lo = std::clamp(r.lo, -1e6, 1e6);
  const double hi = std::clamp(r.hi, -1e6, 1e6);
  return {static_cast<int>(std::ceil(lo - 0.5)), static_cast<int>(std::floor(hi - 0.5)) + 1};
}

}  // namespace

Layout layoutAt(unsigned sensorWidth, unsigned sensorHeight, std::uint32_t frameNumber, std::int64_t periodNs) {
  const double w = sensorWidth;
  const double h = sensorHeight;
  const double s = std::min(w, h);
  Layout l{};

  const double fanX = 0.36 * w;
  const double fanY = 0.45 * h;
  const double turn = 2 * std::numbers::pi * phase(frameNumber, periodNs, kFanTurnNs);
  for (std::size_t i = 0; i < l.blades.size(); ++i) {
    const double a = turn + double(i) * 2 * std::numbers::pi / double(l.blades.size());
    l.blades[i] = {fanX, fanY, std::cos(a), std::sin(a), 0.34 * s, 0.045 * s};
  }
  l.hub = {fanX, fanY, 0.07 * s};

  // Straight there and back horizontally, falling and rebounding vertically.
  const double r = 0.08 * s;
  const double across = phase(frameNumber, periodNs, kBallCrossNs);
  const double tri = across < 0.5 ? 2 * across : 2 - 2 * across;
  const double bx = r + tri * std::max(0.0, w - 2 * r);
  const double u = phase(frameNumber, periodNs, kBounceNs);
  const double floorY = h - r;
  const double by = floorY - 4 * u * (1 - u) * 0.6 * std::max(0.0, h - 2 * r);
  l.ball = {bx, by, r};
  l.highlight = {bx - 0.35 * r, by - 0.35 * r, 0.3 * r};
  return l;
}

Span discSpan(const Disc& d, int y) {
  const double dy = y + 0.5 - d.cy;
  const double rest = d.r * d.r - dy * dy;
  if (rest < 0) return {};
  const double half = std::sqrt(rest);
  return pixels({d.cx - half, d.cx + half});
}

Span bladeSpan(const Blade& b, int y) {
  // With q = p - centre: 0 <= q.d <= length and |q.n| <= halfWidth, n = (-dy, dx).
  // On a fixed row both are linear in q.x.
  const double qy = y + 0.5 - b.cy;
  const Range along = solve(b.dx, b.dy * qy, 0, b.length);
  const Range across = solve(-b.dy, b.dx * qy, -b.halfWidth, b.halfWidth);
  const Range both{std::max(along.lo, across.lo), std::min(along.hi, across.hi)};
  if (both.lo > both.hi) return {};
  return pixels({both.lo + b.cx, both.hi + b.cx});
}

}  // namespace kellib3::scene
