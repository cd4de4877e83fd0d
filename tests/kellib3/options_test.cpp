// Options: the catalogue as the filter probes it, units and conversions,
// ranges that follow the period and decimation, relative steps, adjustment.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/kellib3/session.h"

namespace kel::test {
namespace {

constexpr std::uint32_t kExposure = 0x400002, kPeriod = 0x400003, kFrames = 0x400007, kPartitions = 0x400009,
                        kGain = 0x40000a, kDecimation = 0x400055;

enum class Kind { Scalar, Enum, Rect, None };

// Probes every option of list 2 the way the capture filter builds its catalogue.
std::map<std::pair<std::uint32_t, std::uint32_t>, Kind> probeCatalogue(Session& s) {
  std::map<std::pair<std::uint32_t, std::uint32_t>, Kind> kinds;
  const auto list = KelLib3ListGetStdList(2);
  const char* name = nullptr;
  std::int32_t id = 0;
  for (std::uint32_t pos = 0; KelLib3ListGetAll(&name, &id, pos, list); ++pos) {
    KL3_HANDLE h = 0;
    for (std::uint32_t index = 0; KelLib3SystemGetCInterface(s.system(), id, index, &h, s.error()) == 0; ++index) {
      std::int32_t v = 0, a = 0, b = 0, c = 0;
      std::uint32_t unit = 0;
      Kind k = Kind::None;
      if (KelLib3OptionGetEnumVal(h, &v, s.error()) == 0) k = Kind::Enum;
      else if (KelLib3OptionNextScalarUnit(h, &unit, s.error()) == 0) k = Kind::Scalar;
      else if (KelLib3OptionGetRect(h, &v, &a, &b, &c, s.error()) == 0) k = Kind::Rect;
      kinds[{static_cast<std::uint32_t>(id), index}] = k;
    }
  }
  return kinds;
}

class Options : public ::testing::Test {
 protected:
  TempDir dir;
};

TEST_F(Options, CatalogueHoldsEveryOptionWithItsKindAndShutterOptionsOnlyWhenFitted) {
  const std::map<std::pair<std::uint32_t, std::uint32_t>, Kind> always = {
      {{0x400002, 0}, Kind::Scalar}, {{0x400003, 0}, Kind::Scalar}, {{0x400004, 0}, Kind::Enum},
      {{0x400005, 0}, Kind::Enum},   {{0x400006, 0}, Kind::Rect},   {{0x400007, 0}, Kind::Scalar},
      {{0x400009, 0}, Kind::Scalar}, {{0x40000a, 0}, Kind::Scalar}, {{0x40000d, 0}, Kind::Scalar},
      {{0x400011, 0}, Kind::Enum},   {{0x400016, 0}, Kind::Enum},   {{0x400017, 0}, Kind::Enum},
      {{0x400020, 0}, Kind::Scalar}, {{0x400054, 0}, Kind::Scalar}, {{0x400055, 0}, Kind::Scalar}};
  const std::map<std::pair<std::uint32_t, std::uint32_t>, Kind> shutter = {
      {{0x400003, 1}, Kind::Scalar}, {{0x400022, 0}, Kind::Scalar}, {{0x400041, 0}, Kind::Scalar},
      {{0x400042, 0}, Kind::Enum}};
  for (const char* fitted : {"0", "1"}) {
    SessionEnv env(dir.path(), 1e6, {{"KELLIB3_SHUTTER", fitted}});
    Session s;
    auto expected = always;
    if (std::string(fitted) == "1") expected.insert(shutter.begin(), shutter.end());
    EXPECT_EQ(probeCatalogue(s), expected) << "KELLIB3_SHUTTER=" << fitted;
  }
}

TEST_F(Options, UnitsAcceptedAndWalkedInOrder) {
  SessionEnv env(dir.path(), 1e6, {{"KELLIB3_SHUTTER", "1"}});
  Session s;
  const std::map<std::uint32_t, std::vector<std::uint32_t>> accepted = {
      {kExposure, {1, 2, 3}}, {kPeriod, {1, 2, 3, 31}}, {kFrames, {0, 6}}, {0x400022, {12}}, {kGain, {0}}};
  for (const auto& [id, units] : accepted) {
    for (std::uint32_t u : {0u, 1u, 2u, 3u, 6u, 12u, 31u}) {
      const bool ok = std::find(units.begin(), units.end(), u) != units.end();
      EXPECT_EQ(KelLib3OptionQueryScalarUnit(s.iface(id), u, s.error()) == 0, ok) << std::hex << id << " unit " << u;
    }
  }
  std::vector<std::uint32_t> walked;
  std::uint32_t unit = 0;
  while (KelLib3OptionNextScalarUnit(s.iface(kPeriod), &unit, s.error()) == 0 && walked.size() < 10) walked.push_back(unit);
  EXPECT_EQ(walked, (std::vector<std::uint32_t>{1, 2, 3, 31}));
  unit = 0;
  ASSERT_EQ(KelLib3OptionNextScalarUnit(s.iface(kGain), &unit, s.error()), 0);
  EXPECT_EQ(unit, 0u) << "a plain number reports unit 0 once";
  EXPECT_NE(KelLib3OptionNextScalarUnit(s.iface(0x400004), &unit, s.error()), 0) << "an enum is no scalar";
}

TEST_F(Options, TimesConvertBetweenUnitsAndFrameRate) {
  SessionEnv env(dir.path());
  Session s;
  ASSERT_EQ(s.setScalar(kPeriod, 1000, KELLIB3_UNIT_FPS), 0) << s.lastError();
  EXPECT_EQ(s.scalar(kPeriod, KELLIB3_UNIT_US), 1000);
  EXPECT_EQ(s.scalar(kPeriod, KELLIB3_UNIT_NS), 1'000'000);
  EXPECT_EQ(s.scalar(kPeriod, KELLIB3_UNIT_MS), 1);
  ASSERT_EQ(s.setScalar(kPeriod, 3333, KELLIB3_UNIT_US), 0);
  EXPECT_EQ(s.scalar(kPeriod, KELLIB3_UNIT_FPS), 300);
  const auto fps = s.range(kPeriod, KELLIB3_UNIT_FPS);
  EXPECT_EQ(fps.first, 1);
  EXPECT_EQ(fps.second, 200000) << "5 us shortest period";
  ASSERT_EQ(s.setScalar(kExposure, 500, KELLIB3_UNIT_NS), 0);
  EXPECT_EQ(s.scalar(kExposure, KELLIB3_UNIT_US), 0) << "below 1 us reads as 0 us";
  EXPECT_EQ(s.scalar(kExposure, KELLIB3_UNIT_NS), 500);
  EXPECT_EQ(s.setScalar(kExposure, 5, KELLIB3_UNIT_FPS), 9) << "exposure has no frame rate";
  EXPECT_NE(s.lastError().find("unit 31"), std::string::npos) << s.lastError();
}

TEST_F(Options, ExposureAndWindowFollowThePeriodAndDecimation) {
  SessionEnv env(dir.path());
  Session s;
  ASSERT_EQ(s.setScalar(kPeriod, 2000, KELLIB3_UNIT_US), 0);
  ASSERT_EQ(s.setScalar(kExposure, 5000, KELLIB3_UNIT_US), 0) << "too long exposures are adjusted";
  const auto longest = s.range(kExposure, KELLIB3_UNIT_US).second;
  EXPECT_LE(longest, 2000);
  EXPECT_EQ(s.scalar(kExposure, KELLIB3_UNIT_US), longest);

  ASSERT_EQ(s.setScalar(kPeriod, 100, KELLIB3_UNIT_US), 0);
  EXPECT_LE(s.range(kExposure, KELLIB3_UNIT_US).second, 100);
  EXPECT_LE(s.scalar(kExposure, KELLIB3_UNIT_US), 100) << "a shorter period shortens the exposure";
  std::int32_t x, y, w, h;
  ASSERT_EQ(KelLib3OptionMaxRect(s.iface(0x400006), &x, &y, &w, &h, s.error()), 0);
  EXPECT_EQ(h, 52) << "rows readable in 100 us";
  ASSERT_EQ(KelLib3OptionGetRect(s.iface(0x400006), &x, &y, &w, &h, s.error()), 0);
  EXPECT_EQ(h, 52) << "the window shrinks with the period";

  ASSERT_EQ(s.setScalar(kPeriod, 20000, KELLIB3_UNIT_US), 0);
  ASSERT_EQ(s.setScalar(kDecimation, 2, 0), 0);
  ASSERT_EQ(KelLib3OptionMaxRect(s.iface(0x400006), &x, &y, &w, &h, s.error()), 0);
  EXPECT_EQ(h, 512) << "decimation 2 halves the rows of a 1024-row sensor";
  ASSERT_EQ(s.setRect(0, 0, 1280, 512), 0);
  ASSERT_EQ(KelLib3OptionMaxRect(s.iface(0x400006), &x, &y, &w, &h, s.error()), 0);
  EXPECT_EQ(y, 0) << "the window already covers the whole sensor";
}

TEST_F(Options, RelativeStepsMoveAtLeastOneHardwareStep) {
  SessionEnv env(dir.path());
  Session s;
  ASSERT_EQ(s.setScalar(kGain, 3, 0), 0);
  ASSERT_EQ(KelLib3OptionRelScalar(s.iface(kGain), 2, 0, s.error()), 0);
  EXPECT_EQ(s.scalar(kGain, 0), 5);
  ASSERT_EQ(KelLib3OptionRelScalar(s.iface(kGain), 100, 0, s.error()), 0);
  EXPECT_EQ(s.scalar(kGain, 0), 16) << "steps stop at the limit";

  ASSERT_EQ(s.setScalar(kExposure, 1000, KELLIB3_UNIT_NS), 0);
  ASSERT_EQ(KelLib3OptionRelScalar(s.iface(kExposure), 1, KELLIB3_UNIT_US, s.error()), 0);
  EXPECT_EQ(s.scalar(kExposure, KELLIB3_UNIT_NS), 2000);
  ASSERT_EQ(KelLib3OptionRelScalar(s.iface(kExposure), -1, KELLIB3_UNIT_NS, s.error()), 0);
  EXPECT_EQ(s.scalar(kExposure, KELLIB3_UNIT_NS), 1990) << "one ns is finer than the 10 ns step";

  ASSERT_EQ(s.setScalar(kPeriod, 500, KELLIB3_UNIT_FPS), 0);
  ASSERT_EQ(KelLib3OptionRelScalar(s.iface(kPeriod), 1, KELLIB3_UNIT_FPS, s.error()), 0);
  EXPECT_EQ(s.scalar(kPeriod, KELLIB3_UNIT_FPS), 501);
}

// What a slider stands on: in every unit the value read lies within the
// range read, and a step of one unit moves by one unit, either way.
TEST_F(Options, ValuesInACoarseUnitStayInTheirRangeAndStepByOneUnit) {
  SessionEnv env(dir.path());
  Session s;
  ASSERT_EQ(s.setScalar(kPeriod, 20000, KELLIB3_UNIT_US), 0);
  const auto [minNs, maxNs] = s.range(kExposure, KELLIB3_UNIT_NS);
  const struct {
    std::uint32_t unit;
    std::int32_t ns;
  } units[] = {{KELLIB3_UNIT_NS, 1}, {KELLIB3_UNIT_US, 1000}, {KELLIB3_UNIT_MS, 1'000'000}};
  for (const std::int32_t ns : {100, 990, 1'234'560, 19'989'000}) {
    for (const auto& u : units) {
      SCOPED_TRACE(testing::Message() << ns << " ns in unit " << u.unit);
      ASSERT_EQ(s.setScalar(kExposure, ns, KELLIB3_UNIT_NS), 0);
      const auto [lo, hi] = s.range(kExposure, u.unit);
      const std::int32_t shown = s.scalar(kExposure, u.unit);
      EXPECT_LE(lo, shown);
      EXPECT_LE(shown, hi);
      if (u.unit == KELLIB3_UNIT_NS) continue;  // 1 ns is finer than the hardware step
      for (const std::int32_t delta : {1, -1}) {
        ASSERT_EQ(s.setScalar(kExposure, ns, KELLIB3_UNIT_NS), 0);
        ASSERT_EQ(KelLib3OptionRelScalar(s.iface(kExposure), delta, u.unit, s.error()), 0);
        EXPECT_EQ(s.scalar(kExposure, KELLIB3_UNIT_NS), std::clamp(ns + delta * u.ns, minNs, maxNs)) << delta;
        EXPECT_EQ(s.scalar(kExposure, u.unit), std::clamp(shown + delta, lo, hi)) << delta;
      }
    }
  }
}

TEST_F(Options, OutOfRangeValuesAreAdjustedAndUnknownEnumValuesRefused) {
  SessionEnv env(dir.path());
  Session s;
  ASSERT_EQ(s.setScalar(kGain, 100, 0), 0);
  EXPECT_EQ(s.scalar(kGain, 0), 16);
  ASSERT_EQ(s.setScalar(kGain, -5, 0), 0);
  EXPECT_EQ(s.scalar(kGain, 0), 1);
  ASSERT_EQ(s.setScalar(kExposure, 12345, KELLIB3_UNIT_NS), 0);
  EXPECT_EQ(s.scalar(kExposure, KELLIB3_UNIT_NS), 12350) << "10 ns steps";
  ASSERT_EQ(s.setRect(33, 7, 333, 101), 0);
  std::int32_t x, y, w, h;
  ASSERT_EQ(KelLib3OptionGetRect(s.iface(0x400006), &x, &y, &w, &h, s.error()), 0);
  EXPECT_EQ(std::vector<std::int32_t>({x, y, w, h}), (std::vector<std::int32_t>{34, 8, 330, 102}));

  EXPECT_EQ(s.setEnum(0x400004, 99), 8);
  EXPECT_NE(s.lastError().find("99"), std::string::npos) << s.lastError();
  std::int32_t v = 0;
  ASSERT_EQ(KelLib3OptionGetEnumVal(s.iface(0x400004), &v, s.error()), 0);
  EXPECT_NE(v, 99);
  EXPECT_EQ(KelLib3OptionQueryEnumVal(s.iface(0x400005), 37, s.error()), 0);
  EXPECT_NE(KelLib3OptionQueryEnumVal(s.iface(0x400005), 33, s.error()), 0);
}

TEST_F(Options, CapacityFollowsTheWindowAndBoundsFramesToRecord) {
  SessionEnv env(dir.path());
  Session s;
  const auto capacity = [&] {
    std::int32_t n = 0;
    std::uint32_t type = 0;
    EXPECT_EQ(KelLib3GetInfoScalarVal(s.iface(0x900003), &n, &type, s.error()), 0);
    return s.scalar(kPartitions, 0) * (n - 1);  // as the filter computes it
  };
  ASSERT_EQ(s.setScalar(kPartitions, 1, 0), 0);
  const auto full = capacity();
  EXPECT_EQ(s.range(kFrames, KELLIB3_UNIT_FRAMES).second, full);
  ASSERT_EQ(s.setRect(0, 0, 640, 512), 0);
  const auto quarter = capacity();
  EXPECT_GE(quarter, 4 * full);
  EXPECT_LE(quarter, 4 * full + 4);
  ASSERT_EQ(s.setScalar(kFrames, 1'000'000, KELLIB3_UNIT_FRAMES), 0);
  EXPECT_EQ(s.scalar(kFrames, 0), quarter);
}

}  // namespace
}  // namespace kel::test
