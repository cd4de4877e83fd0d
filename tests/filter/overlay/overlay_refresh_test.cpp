// The camera values the overlay reads from the virtual camera, and the
// hardware errors of that refresh.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "filter/acquisition/System.h"
#include "filter/acquisition/settings_records.h"
#include "filter/hardware/lib3_error.h"
#include "filter/processing/blend.h"
#include "tests/filter/camera_env.h"
#include "tests/filter/library_probe.h"

namespace {

using kel::test::CameraEnv;
using kel::test::LibraryProbe;

constexpr std::uint32_t kExposure = 0x400002, kPeriod = 0x400003, kWindow = 0x400006, kGain = 0x40000a,
                        kBlack = 0x40000d, kVoltage = 0x400022, kShutterCount = 0x400041, kDecimation = 0x400055;
constexpr std::uint32_t kNs = 1, kUs = 2, kVolt = 12;

std::unique_ptr<Orvo::System> openSystem(std::int32_t controller = 0) {
  auto s = std::make_unique<Orvo::System>(3);
  s->Init(controller);
  return s;
}

class OverlayRefresh : public ::testing::Test {
 protected:
  void SetUp() override {
    first_ = Orvo::Settings().save.firstFrame;
    last_ = Orvo::Settings().save.lastFrame;
  }
  void TearDown() override {
    Orvo::Settings().save.firstFrame = first_;
    Orvo::Settings().save.lastFrame = last_;
  }

 private:
  int first_ = 0, last_ = 0;
};

TEST_F(OverlayRefresh, ReadsTheCameraSettingsAndTheFilmLength) {
  CameraEnv camera;
  auto system = openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  hw.setScalar(kGain, 5, 0);
  hw.setScalar(kBlack, 17, 0);
  hw.setScalar(kDecimation, 2, 0);
  hw.setScalar(kExposure, 3000, kNs);
  Orvo::Settings().save.firstFrame = 20;
  Orvo::Settings().save.lastFrame = 1020;

  Blend::BlendInfoEx overlay(system->Handle());
  overlay.Refresh();
  const Blend::OverlayValues v = overlay.Values(9);
  std::int32_t x = 0, y = 0, width = 0, height = 0;
  ASSERT_EQ(KelLib3OptionGetRect(hw.option(kWindow), &x, &y, &width, &height, camera.error()), 0);
  EXPECT_EQ(v.windowWidth, width);
  EXPECT_EQ(v.windowHeight, height);
  EXPECT_GT(width, 0);
  EXPECT_EQ(v.period, hw.scalar(kPeriod, kUs));
  EXPECT_EQ(v.exposure, 3);
  EXPECT_TRUE(v.exposureInMicroseconds);
  EXPECT_EQ(v.gain, 5);
  EXPECT_EQ(v.black, 17);
  EXPECT_EQ(v.decimation, 2);
  EXPECT_EQ(v.filmLength, 1000);
  EXPECT_FALSE(v.shutter);
  EXPECT_EQ(Blend::OverlayCells(v).size(), 6u);

  // An exposure below a microsecond is shown in nanoseconds.
  hw.setScalar(kExposure, 100, kNs);
  overlay.Refresh();
  EXPECT_EQ(overlay.Values(0).exposure, 100);
  EXPECT_FALSE(overlay.Values(0).exposureInMicroseconds);
}

TEST_F(OverlayRefresh, ShutterCameraAddsItsRow) {
  CameraEnv camera({{"KELLIB3_SHUTTER", "1"}});
  auto system = openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  hw.setScalar(kVoltage, 250, kVolt);
  hw.setScalar(kShutterCount, 3, 0);

  Blend::BlendInfoEx overlay(system->Handle());
  overlay.Refresh();
  const auto cells = Blend::OverlayCells(overlay.Values(0));
  ASSERT_EQ(cells.size(), 7u);
  EXPECT_EQ(cells[6], "Затвор :250/3/" + std::to_string(hw.scalar(kPeriod, kUs, 1)));
}

TEST_F(OverlayRefresh, EachCameraSystemHasItsOwnOverlayAndConverter) {
  CameraEnv camera({{"KELLIB3_CONTROLLERS", "2"}});
  auto first = openSystem(0);
  auto second = openSystem(1);
  LibraryProbe(first->Handle(), camera.error()).setScalar(kGain, 3, 0);
  LibraryProbe(second->Handle(), camera.error()).setScalar(kGain, 7, 0);
  ASSERT_NE(&first->Overlay(), &second->Overlay());
  ASSERT_NE(&first->Converter(), &second->Converter());
  second->Overlay().Refresh();
  first->Overlay().Refresh();
  EXPECT_EQ(first->Overlay().Values(0).gain, 3);
  EXPECT_EQ(second->Overlay().Values(0).gain, 7) << "the other camera's refresh changed nothing here";
}

struct Fault {
  const char* name;
  bool shutter;
  int scalarRead;  // which KelLib3OptionGetScalar call of the refresh fails
  int line;
};

void PrintTo(const Fault& f, std::ostream* os) { *os << f.name; }

// Scalar reads made while a system opens: one per scalar option record.
std::uint64_t scalarReadsWhileOpening(bool shutter) {
  CameraEnv camera({{"KELLIB3_SHUTTER", shutter ? "1" : ""}});
  auto system = openSystem();
  std::uint64_t n = 0;
  for (const auto& r : system->Catalogue().Records()) n += r.kind == Options::Kind::Scalar;
  return n;
}

class OverlayRefreshFault : public OverlayRefresh, public ::testing::WithParamInterface<Fault> {};

TEST_P(OverlayRefreshFault, ThrowsWithTheBlendUnitAndLineKeepingEarlierValues) {
  const Fault& f = GetParam();
  const std::uint64_t n = scalarReadsWhileOpening(f.shutter) + static_cast<std::uint64_t>(f.scalarRead);
  CameraEnv camera({{"KELLIB3_SHUTTER", f.shutter ? "1" : ""},
                    {"KELLIB3_FAIL", "KelLib3OptionGetScalar:" + std::to_string(n)}});
  auto system = openSystem();
  Blend::BlendInfoEx overlay(system->Handle());
  try {
    overlay.Refresh();
    FAIL() << "no error";
  } catch (const LIB3::CError& e) {
    EXPECT_NE(e.Text().find("KelLib3OptionGetScalar"), std::string::npos) << e.Text();
    const std::string tail = "in File: blend Line: " + std::to_string(f.line);
    ASSERT_GE(e.Text().size(), tail.size());
    EXPECT_EQ(e.Text().substr(e.Text().size() - tail.size()), tail) << e.Text();
  }
  // Reads before the failing one took effect, the rest did not.
  const Blend::OverlayValues v = overlay.Values(0);
  EXPECT_GT(v.windowWidth, 0);
  EXPECT_EQ(v.period != 0, f.scalarRead > 1);
  EXPECT_EQ(v.gain != 0, f.scalarRead > 3);
  EXPECT_EQ(v.decimation != 0, f.scalarRead > 5);
  EXPECT_EQ(v.shutter, f.scalarRead > 6);
}

INSTANTIATE_TEST_SUITE_P(EveryRaisingRead, OverlayRefreshFault,
                         ::testing::Values(Fault{"Period", false, 1, 281}, Fault{"Gain", false, 3, 305},
                                           Fault{"Black", false, 4, 313}, Fault{"Decimation", false, 5, 321},
                                           Fault{"ShutterPeriod", true, 6, 329}, Fault{"Voltage", true, 7, 338},
                                           Fault{"ShutterCount", true, 8, 346}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
