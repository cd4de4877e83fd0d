// The option catalogue built by probing the library's option list.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "filter/acquisition/System.h"
#include "tests/filter/camera_env.h"
#include "tests/filter/library_probe.h"

namespace {

using kel::test::BoxRecorder;
using kel::test::CameraEnv;
using kel::test::LibraryProbe;
using Options::Kind;

std::unique_ptr<Orvo::System> openSystem() {
  auto s = std::make_unique<Orvo::System>(3);
  s->Init(0);
  return s;
}

// The kinds this system relies on for the identifiers it uses itself.
const std::map<std::uint32_t, Kind> kKnownKinds = {
    {0x400002, Kind::Scalar}, {0x400003, Kind::Scalar}, {0x400004, Kind::Enum},   {0x400005, Kind::Enum},
    {0x400006, Kind::Rect},   {0x400007, Kind::Scalar}, {0x400009, Kind::Scalar}, {0x40000a, Kind::Scalar},
    {0x40000d, Kind::Scalar}, {0x400011, Kind::Enum},   {0x400016, Kind::Enum},   {0x400017, Kind::Enum},
    {0x400020, Kind::Scalar}, {0x400022, Kind::Scalar}, {0x400041, Kind::Scalar}, {0x400042, Kind::Enum},
    {0x400054, Kind::Scalar}, {0x400055, Kind::Scalar},
};

struct Address {
  std::uint32_t id;
  std::uint32_t index;
  std::string name;
};

// What the library offers, in its list order: every option at every index
// whose interface it hands out.
std::vector<Address> offered(KL3_HANDLE system, KL3_HANDLE error) {
  std::vector<Address> out;
  for (const auto& [name, id] : kel::test::listEntries(2)) {
    for (std::uint32_t index = 0;; ++index) {
      KL3_HANDLE h = 0;
      if (KelLib3SystemGetCInterface(system, static_cast<std::uint32_t>(id), index, &h, error) != 0) break;
      out.push_back({static_cast<std::uint32_t>(id), index, name});
    }
  }
  return out;
}

void expectCatalogueFollowsTheList(CameraEnv& camera) {
  BoxRecorder boxes;
  auto system = openSystem();
  const auto expected = offered(system->Handle(), camera.error());
  const auto& records = system->Catalogue().Records();
  ASSERT_EQ(records.size(), expected.size());
  auto it = records.begin();
  for (const auto& e : expected) {
    SCOPED_TRACE(std::to_string(e.id) + "/" + std::to_string(e.index));
    EXPECT_EQ(it->Id(), e.id);
    EXPECT_EQ(it->Index(), e.index);
    EXPECT_EQ(it->Name(), e.name);
    EXPECT_NE(it->Handle(), 0u);
    ASSERT_TRUE(kKnownKinds.count(e.id));
    EXPECT_EQ(it->kind, kKnownKinds.at(e.id));
    ++it;
  }
  EXPECT_EQ(boxes.count(), 0u);
}

TEST(Catalogue, FollowsTheOptionListWithoutShutter) {
  CameraEnv camera;
  expectCatalogueFollowsTheList(camera);
}

TEST(Catalogue, FollowsTheOptionListWithShutterAndKeepsSecondInstancesApart) {
  CameraEnv camera({{"KELLIB3_SHUTTER", "1"}});
  expectCatalogueFollowsTheList(camera);
  auto system = openSystem();
  auto* period = system->FindOption(0x400003, 0);
  auto* shutter = system->FindOption(0x400003, 1);
  ASSERT_NE(period, nullptr);
  ASSERT_NE(shutter, nullptr);
  EXPECT_NE(period, shutter);
  EXPECT_EQ(shutter->Index(), 1u);
  EXPECT_NE(period->Handle(), shutter->Handle());
  EXPECT_EQ(system->FindOption(0x400003, 2), nullptr);
  EXPECT_EQ(system->FindOption(0x123456, 0), nullptr);
}

TEST(Catalogue, ScalarNamesAreTheAcceptedPhysicalUnitsAndTheCacheStartsInTheFirst) {
  CameraEnv camera;
  auto system = openSystem();
  LibraryProbe hw(system->Handle(), camera.error());

  // Exposure: a time, in nanoseconds, microseconds and milliseconds.
  const auto* exposure = system->FindOption(0x400002, 0);
  ASSERT_NE(exposure, nullptr);
  ASSERT_EQ(exposure->names.size(), 3u);
  const std::uint32_t units[] = {KELLIB3_UNIT_NS, KELLIB3_UNIT_US, KELLIB3_UNIT_MS};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(exposure->names[i].id, static_cast<std::int32_t>(units[i]));
    EXPECT_EQ(exposure->names[i].text, kel::test::listText(3, static_cast<std::int32_t>(units[i])));
  }
  EXPECT_EQ(exposure->scalar.Cached().unit, KELLIB3_UNIT_NS);
  EXPECT_EQ(exposure->scalar.Cached().value, hw.scalar(0x400002, KELLIB3_UNIT_NS));

  // Frames to record also take unit 6; unit 0 is never listed.
  const auto* frames = system->FindOption(0x400007, 0);
  ASSERT_NE(frames, nullptr);
  ASSERT_EQ(frames->names.size(), 1u);
  EXPECT_EQ(frames->names[0].id, static_cast<std::int32_t>(KELLIB3_UNIT_FRAMES));

  // Gain is a plain number: no names, cache in unit 0.
  const auto* gain = system->FindOption(0x40000a, 0);
  ASSERT_NE(gain, nullptr);
  EXPECT_TRUE(gain->names.empty());
  EXPECT_EQ(gain->scalar.Cached().unit, 0u);
  EXPECT_EQ(gain->scalar.Cached().value, hw.scalar(0x40000a, 0));
}

TEST(Catalogue, EnumNamesAreTheOfferedValuesAndTheCacheIsNotRead) {
  CameraEnv camera;
  auto system = openSystem();
  const auto* test = system->FindOption(0x400011, 0);
  ASSERT_NE(test, nullptr);
  std::vector<std::int32_t> expected;
  for (const auto& [text, value] : kel::test::listEntries(4))
    if (KelLib3OptionQueryEnumVal(test->Handle(), value, camera.error()) == 0) expected.push_back(value);
  ASSERT_EQ(test->names.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(test->names[i].id, expected[i]);
    EXPECT_EQ(test->names[i].text, kel::test::listText(4, expected[i]));
  }
  EXPECT_EQ(test->enumerated.Cached().value, 0);
  // The other two parts of the record stay default.
  EXPECT_EQ(test->scalar.Handle(), 0u);
  EXPECT_TRUE(test->rect.Name().empty());
}

TEST(Catalogue, RefusedFirstReadIsShownAndTheRecordStaysAtZero) {
  // The first scalar of the list (exposure) is the first GetScalar call.
  CameraEnv camera({{"KELLIB3_FAIL", "KelLib3OptionGetScalar:1"}});
  BoxRecorder boxes;
  auto system = openSystem();
  const auto* exposure = system->FindOption(0x400002, 0);
  ASSERT_NE(exposure, nullptr);
  EXPECT_EQ(exposure->scalar.Cached(), (Options::Scalar::Value{0, 0}));
  ASSERT_EQ(boxes.count(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text.rfind("GetValue(Data& retValue, UINT unit)\nError: ", 0), 0u);
}

TEST(Catalogue, RelativeStepOnlyForScalars) {
  CameraEnv camera;
  BoxRecorder boxes;
  auto system = openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  auto* test = system->FindOption(0x400011, 0);
  auto* window = system->FindOption(0x400006, 0);
  const std::int32_t before = hw.enumerated(0x400011);
  EXPECT_FALSE(test->SetRelativeValue(1));
  EXPECT_FALSE(window->SetRelativeValue(1));
  EXPECT_EQ(hw.enumerated(0x400011), before);
  EXPECT_EQ(boxes.count(), 0u);

  auto* black = system->FindOption(0x40000d, 0);
  const std::int32_t level = hw.scalar(0x40000d, 0);
  EXPECT_TRUE(black->SetRelativeValue(3));
  EXPECT_EQ(hw.scalar(0x40000d, 0), level + 3);
  EXPECT_EQ(black->scalar.Cached().value, level + 3);
}

TEST(Catalogue, EnumRangeQueriesDoNothing) {
  CameraEnv camera;
  auto system = openSystem();
  auto* test = system->FindOption(0x400011, 0);
  Options::Enum::Value out{-7};
  EXPECT_TRUE(test->enumerated.GetMinValue(out));
  EXPECT_TRUE(test->enumerated.GetMaxValue(out));
  EXPECT_EQ(out.value, -7);
}

}  // namespace
