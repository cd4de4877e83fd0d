// A binding's first data in each apply mode, and what its destruction does.
#include <gtest/gtest.h>

#include "shell/settings/RecordValues.h"
#include "shell/settings/Setting.h"
#include "shell/settings/SettingBinding.h"
#include "tests/shell/settings/setting_ids.h"
#include "tests/shell/settings/settings_rig.h"

namespace kel::test {
namespace {

using Sett::ApplyImmediately;
using Sett::ApplyOnRelease;
using Sett::Detached;
using ScalarBinding = Sett::SettingBinding<Sett::ScalarValue>;

Sett::Scalar::Value cached(ScalarBinding& b) {
  Sett::Scalar::Value v;
  b.value.Value(v);
  return v;
}

class Binding : public ::testing::Test {
 protected:
  void SetUp() override { rig.setCameraScalar(kGain, 0, 2, 0); }
  SettingsRig rig;
};

TEST_F(Binding, ImmediateTakesTheStoredValueToTheCamera) {
  rig.store.scalars.push_back({kGain, 9, 0, {}});
  ScalarBinding gain(kGain, 0, "Усиление", ApplyImmediately);
  ASSERT_TRUE(gain.Initialise(""));
  EXPECT_EQ(cached(gain).value, 9);
  EXPECT_EQ(rig.cameraScalar(kGain, 0, 0), 9);
  EXPECT_TRUE(rig.store.scalars.empty()) << "the entry is taken";
}

TEST_F(Binding, ImmediateShowsWhatTheCameraAcceptedNotWhatWasStored) {
  rig.store.scalars.push_back({kGain, 500, 0, {}});
  ScalarBinding gain(kGain, 0, "Усиление", ApplyImmediately);
  ASSERT_TRUE(gain.Initialise(""));
  EXPECT_EQ(cached(gain).value, rig.cameraScalar(kGain, 0, 0));
  EXPECT_LE(cached(gain).value, 16);
}

TEST_F(Binding, ARefusedValueShowsTheCamerasValueAndOneLogLine) {
  const std::int32_t camera = rig.cameraEnum(kStartEvent);
  rig.store.enums.push_back({kStartEvent, 999});
  Sett::SettingBinding<Sett::EnumValue> start(kStartEvent, 0, "Событие начала ввода", ApplyImmediately);
  ASSERT_TRUE(start.Initialise(""));
  Sett::Enum::Value shown;
  start.value.Value(shown);
  EXPECT_EQ(shown.value, camera);
  EXPECT_EQ(rig.cameraEnum(kStartEvent), camera);
  const auto log = rig.log();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("OptionEnum:No implementation"), std::string::npos) << log[0];
}

TEST_F(Binding, OnReleaseKeepsTheStoredValueAwayFromTheCamera) {
  rig.store.scalars.push_back({kGain, 9, 0, {}});
  {
    ScalarBinding gain(kGain, 0, "Усиление", ApplyOnRelease);
    ASSERT_TRUE(gain.Initialise(""));
    EXPECT_EQ(cached(gain).value, 9);
    EXPECT_EQ(rig.cameraScalar(kGain, 0, 0), 2);
    gain.value.SetValue({11, 0});
  }
  // Destruction writes and saves for the next owner.
  EXPECT_EQ(rig.cameraScalar(kGain, 0, 0), 11);
  ASSERT_EQ(rig.store.scalars.size(), 1u);
  EXPECT_EQ(rig.store.scalars[0].key, kGain);
  EXPECT_EQ(rig.store.scalars[0].value, 11);
}

TEST_F(Binding, WithNothingStoredTheCamerasValueIsRead) {
  for (auto mode : {ApplyImmediately, ApplyOnRelease, Detached}) {
    ScalarBinding gain(kGain, 0, "Усиление", mode);
    ASSERT_TRUE(gain.Initialise(""));
    EXPECT_EQ(cached(gain).value, 2) << "mode " << mode;
  }
}

TEST_F(Binding, ARecordTextIsWrittenOnlyInImmediateMode) {
  {
    ScalarBinding gain(kGain, 0, "Усиление", Detached);
    ASSERT_TRUE(gain.Initialise("4194314;Усиление;5;Raw"));
    EXPECT_EQ(cached(gain).value, 5);
    EXPECT_EQ(rig.cameraScalar(kGain, 0, 0), 2);
  }
  EXPECT_EQ(rig.cameraScalar(kGain, 0, 0), 2) << "a detached binding never writes";
  EXPECT_TRUE(rig.store.scalars.empty());
  {
    ScalarBinding gain(kGain, 0, "Усиление", ApplyImmediately);
    ASSERT_TRUE(gain.Initialise("4194314;Усиление;6;Raw"));
    EXPECT_EQ(rig.cameraScalar(kGain, 0, 0), 6);
  }
  EXPECT_TRUE(rig.store.scalars.empty()) << "an immediate binding saves nothing";
}

TEST_F(Binding, AnOptionTheCameraLacksIsUnsupportedAndLeftAlone) {
  rig.store.scalars.push_back({kVoltage, 300, 12, {}});
  {
    ScalarBinding voltage(kVoltage, 0, "Напряжение", ApplyOnRelease);
    EXPECT_FALSE(voltage.Initialise(""));
  }
  ASSERT_EQ(rig.store.scalars.size(), 1u) << "nothing restored, nothing saved";
  EXPECT_TRUE(rig.log().empty());
}

TEST_F(Binding, ACopyIsDetachedSoOnlyTheOriginalWritesOnRelease) {
  {
    ScalarBinding gain(kGain, 0, "Усиление", ApplyOnRelease);
    ASSERT_TRUE(gain.Initialise(""));
    gain.value.SetValue({7, 0});
    ScalarBinding copy(gain);
    EXPECT_EQ(copy.mode, Detached);
    copy.value.SetValue({13, 0});
  }
  EXPECT_EQ(rig.cameraScalar(kGain, 0, 0), 7);
  EXPECT_EQ(rig.store.scalars.size(), 1u);
}

TEST_F(Binding, WhiteBalanceAndSummationSurviveThroughTheStore) {
  {
    Sett::SettingBinding<Sett::WBValue> wb(0, 0, "Баланс белого", ApplyOnRelease);
    Sett::SettingBinding<Sett::SummationValue> sum(1, 0, "Суммирование", ApplyOnRelease);
    EXPECT_TRUE(wb.Initialise(""));
    EXPECT_TRUE(sum.Initialise(""));
    wb.value.SetValue({1, 0, 10, 20, 30});
    sum.value.SetValue({1});
  }
  ASSERT_EQ(rig.store.records.size(), 2u);
  Sett::SettingBinding<Sett::WBValue> wb(0, 0, "Баланс белого", ApplyOnRelease);
  Sett::SettingBinding<Sett::SummationValue> sum(1, 0, "Суммирование", ApplyOnRelease);
  EXPECT_TRUE(wb.Initialise(""));
  EXPECT_TRUE(sum.Initialise(""));
  Sett::WB::Value w;
  Sett::Summation::Value s;
  wb.value.Value(w);
  sum.value.Value(s);
  EXPECT_EQ(w, (Sett::WB::Value{1, 0, 10, 20, 30}));
  EXPECT_EQ(s.value, 1);
  EXPECT_TRUE(rig.store.records.empty());
}

}  // namespace
}  // namespace kel::test
