// The setting values against the virtual camera: record texts, parsing,
// the store, steps on the quadratic scale, and failures in the log.
#include <gtest/gtest.h>

#include "shell/settings/RecordValues.h"
#include "shell/settings/Setting.h"
#include "tests/shell/settings/setting_ids.h"
#include "tests/shell/settings/settings_rig.h"

namespace kel::test {
namespace {

template <class Value>
std::string formatted(Value& value, std::int32_t id) {
  std::string text;
  EXPECT_TRUE(value.Format(id, text));
  return text;
}

template <class Value>
typename Value::Data data(Value& value) {
  typename Value::Data d;
  value.Value(d);
  return d;
}

class SettingValues : public ::testing::Test {
 protected:
  SettingsRig rig;
};

TEST_F(SettingValues, RecordTextsOfEveryKind) {
  Sett::ScalarValue gain, exposure;
  ASSERT_TRUE(gain.Connect(kGain, 0));
  ASSERT_TRUE(exposure.Connect(kExposure, 0));
  gain.SetValue({7, 0});
  exposure.SetValue({250, kUnitUs});
  // Unit 0 is the plain number, which the camera does not name.
  EXPECT_EQ(formatted(gain, kGain), "4194314;Усиление;7;Raw");
  EXPECT_EQ(formatted(exposure, kExposure), "4194306;Экспозиция;250;мкс");

  Sett::EnumValue start;
  ASSERT_TRUE(start.Connect(kStartEvent, 0));
  start.SetValue({5});
  EXPECT_EQ(formatted(start, kStartEvent), "4194308;Событие начала ввода;Внешнее событие");

  Sett::RectValue window;
  ASSERT_TRUE(window.Connect(kWindow, 0));
  window.SetValue({8, -16, 320, 240});
  EXPECT_EQ(formatted(window, kWindow), "4194310;Окно ввода;8;-16;320;240");

  Sett::WBValue wb;
  EXPECT_EQ(formatted(wb, 0), "0;WHITE_BAL;1;0;0;0;0") << "starts automatic, not enabled";
  wb.SetValue({1, 0, 10, 20, 30});
  EXPECT_EQ(formatted(wb, 0), "0;WHITE_BAL;0;1;10;20;30") << "automatic before enabled";

  Sett::SummationValue sum;
  sum.SetValue({1});
  EXPECT_EQ(formatted(sum, 1), "1;SUMMATION;1");
  EXPECT_TRUE(rig.log().empty());
}

TEST_F(SettingValues, ParseTakesBackWhatFormatWrote) {
  Sett::ScalarValue exposure;
  Sett::EnumValue start;
  Sett::RectValue window;
  ASSERT_TRUE(exposure.Connect(kExposure, 0) && start.Connect(kStartEvent, 0) && window.Connect(kWindow, 0));
  EXPECT_TRUE(exposure.Parse("4194306;Экспозиция;300;нс"));
  EXPECT_EQ(data(exposure), (Sett::Scalar::Value{300, kUnitNs}));
  EXPECT_TRUE(start.Parse("4194308;Событие начала ввода;Непрерывный ввод"));
  EXPECT_EQ(data(start).value, 33);
  EXPECT_TRUE(window.Parse("4194310;Окно ввода;2;4;64;32"));
  EXPECT_EQ(data(window), (Sett::Rect::Value{2, 4, 64, 32}));
  Sett::WBValue wb;
  EXPECT_TRUE(wb.Parse("0;WHITE_BAL;0;1;10;20;30"));
  EXPECT_EQ(data(wb), (Sett::WB::Value{1, 0, 10, 20, 30}));
  Sett::SummationValue sum;
  EXPECT_TRUE(sum.Parse("1;SUMMATION;1"));
  EXPECT_EQ(data(sum).value, 1);
}

TEST_F(SettingValues, ARecordOfAnotherOptionChangesNothing) {
  Sett::ScalarValue gain;
  Sett::EnumValue start;
  Sett::RectValue window;
  ASSERT_TRUE(gain.Connect(kGain, 0) && start.Connect(kStartEvent, 0) && window.Connect(kWindow, 0));
  gain.SetValue({3, 0});
  start.SetValue({4});
  window.SetValue({1, 2, 3, 4});
  Sett::WBValue wb;
  Sett::SummationValue sum;
  const std::string other = "4194317;Уровень черного;99;Raw";
  EXPECT_TRUE(gain.Parse(other));
  EXPECT_TRUE(start.Parse(other));
  EXPECT_TRUE(wb.Parse(other));
  EXPECT_TRUE(sum.Parse(other));
  EXPECT_FALSE(window.Parse(other)) << "only the rect reports the mismatch";
  // The name decides, not the id, and byte for byte.
  EXPECT_TRUE(gain.Parse("4194314;усиление;9;Raw"));
  EXPECT_EQ(data(gain), (Sett::Scalar::Value{3, 0}));
  EXPECT_EQ(data(start).value, 4);
  EXPECT_EQ(data(window), (Sett::Rect::Value{1, 2, 3, 4}));
  EXPECT_EQ(data(wb), Sett::WB::Value{});
  EXPECT_EQ(data(sum).value, 0);
}

TEST_F(SettingValues, ShortAndMalformedRecordsReadAsZeroAndEmpty) {
  Sett::ScalarValue gain, exposure;
  ASSERT_TRUE(gain.Connect(kGain, 0) && exposure.Connect(kExposure, 0));
  gain.SetValue({3, 0});
  EXPECT_TRUE(gain.Parse("4194314;Усиление"));
  EXPECT_EQ(data(gain), (Sett::Scalar::Value{0, 0}));
  EXPECT_TRUE(gain.Parse("4194314;Усиление;12абв;;"));
  EXPECT_EQ(data(gain).value, 12) << "the number stops at the first non-digit";
  EXPECT_TRUE(gain.Parse("x;Усиление;-x"));
  EXPECT_EQ(data(gain).value, 0);
  // A unit the camera does not know leaves the number in unit 0.
  EXPECT_TRUE(exposure.Parse("4194306;Экспозиция;300;фурлонг\n"));
  EXPECT_EQ(data(exposure), (Sett::Scalar::Value{300, 0}));
  EXPECT_TRUE(exposure.Parse("4194306;Экспозиция;300;мкс\n"));
  EXPECT_EQ(data(exposure), (Sett::Scalar::Value{300, kUnitUs})) << "line feeds are dropped from the unit";

  // A rect record lands on a fresh read: a missing field is 0, not the old
  // coordinate.
  Sett::RectValue window;
  ASSERT_TRUE(window.Connect(kWindow, 0));
  window.SetValue({1, 2, 3, 4});
  EXPECT_TRUE(window.Parse("4194310;Окно ввода;5"));
  EXPECT_EQ(data(window), (Sett::Rect::Value{5, 0, 0, 0}));

  Sett::WBValue wb;
  EXPECT_TRUE(wb.Parse("0;WHITE_BAL;0;1;7"));
  EXPECT_EQ(data(wb), (Sett::WB::Value{1, 0, 7, 0, 0}));
  EXPECT_TRUE(rig.log().empty());
}

TEST_F(SettingValues, AnEnumTextTheCameraDoesNotKnowIsLoggedAndChangesNothing) {
  Sett::EnumValue start;
  ASSERT_TRUE(start.Connect(kStartEvent, 0));
  start.SetValue({4});
  EXPECT_FALSE(start.Parse("4194308;Событие начала ввода;Когда-нибудь"));
  EXPECT_EQ(data(start).value, 4);
  start.SetValue({999});
  std::string text = "unchanged";
  EXPECT_FALSE(start.Format(kStartEvent, text));
  EXPECT_EQ(text, "unchanged");
  const auto log = rig.log();
  ASSERT_EQ(log.size(), 2u);
  for (const auto& line : log) {
    EXPECT_EQ(line.rfind("Error: ", 0), 0u) << line;
    EXPECT_NE(line.find("OptionEnum:No implementation"), std::string::npos) << line;
    EXPECT_NE(line.find("\\Setting; Line: "), std::string::npos) << line;
  }
}

TEST_F(SettingValues, SaveAppendsAndRestoreTakesTheOldestEntryOfItsKey) {
  Sett::ScalarValue gain;
  gain.SetValue({1, 0});
  EXPECT_TRUE(gain.Save(kGain));
  rig.store.scalars.push_back({kBlack, 50, 0, {}});
  gain.SetValue({2, 0});
  EXPECT_TRUE(gain.Save(kGain));
  ASSERT_TRUE(gain.Restore(kGain));
  EXPECT_EQ(data(gain).value, 1);
  ASSERT_EQ(rig.store.scalars.size(), 2u);
  EXPECT_EQ(rig.store.scalars[0].key, kBlack) << "the rest keep their order";
  EXPECT_EQ(rig.store.scalars[1].value, 2) << "the newer entry stays";
  ASSERT_TRUE(gain.Restore(kGain));
  EXPECT_EQ(data(gain).value, 2);
  EXPECT_FALSE(gain.Restore(kGain));
  EXPECT_EQ(data(gain).value, 2);

  // The record kinds keep their text and restore by parsing it.
  Sett::WBValue wb;
  wb.SetValue({1, 0, 10, 20, 30});
  EXPECT_TRUE(wb.Save(0));
  ASSERT_EQ(rig.store.records.size(), 1u);
  EXPECT_EQ(rig.store.records[0].text, "0;WHITE_BAL;0;1;10;20;30");
  Sett::WBValue next;
  EXPECT_TRUE(next.Restore(0));
  EXPECT_EQ(data(next), (Sett::WB::Value{1, 0, 10, 20, 30}));
  EXPECT_TRUE(rig.store.records.empty());
}

TEST_F(SettingValues, TheQuadraticScaleStepsBetweenSquares) {
  Sett::ScalarValue delay;
  ASSERT_TRUE(delay.Connect(kStopDelay, 0));
  delay.SetValue({50, 0});
  ASSERT_TRUE(delay.WriteToInterface());
  // From 50 (p = 5) one step up asks for 2 * 6^2 - 50 = 22.
  ASSERT_TRUE(delay.SetRelativeValue(1, false));
  EXPECT_EQ(data(delay).value, 72);
  EXPECT_EQ(rig.cameraScalar(kStopDelay, 0, 0), 72);
  ASSERT_TRUE(delay.SetRelativeValue(-1, false));
  EXPECT_EQ(data(delay).value, 50);
  ASSERT_TRUE(delay.SetRelativeValue(1, true));
  EXPECT_EQ(data(delay).value, 51) << "the plain scale steps by the delta";

  delay.SetValue({0, 0});
  ASSERT_TRUE(delay.WriteToInterface());
  ASSERT_TRUE(delay.SetRelativeValue(1, false));
  EXPECT_EQ(data(delay).value, 2);
}

TEST_F(SettingValues, AReadInAnotherUnitChangesTheCachedUnit) {
  Sett::ScalarValue exposure;
  ASSERT_TRUE(exposure.Connect(kExposure, 0));
  Sett::Scalar::Value us, ns;
  ASSERT_TRUE(exposure.GetValue(us, kUnitUs));
  ASSERT_TRUE(exposure.GetValue(ns, kUnitNs));
  EXPECT_EQ(ns.unit, kUnitNs);
  EXPECT_EQ(ns.value, rig.cameraScalar(kExposure, 0, kUnitNs));
  EXPECT_EQ(us.value, rig.cameraScalar(kExposure, 0, kUnitUs));
  EXPECT_EQ(data(exposure), ns);

  Sett::ScalarValue gain;
  ASSERT_TRUE(gain.Connect(kGain, 0));
  ASSERT_TRUE(gain.SetMaxValue());
  EXPECT_EQ(data(gain).value, 16);
  ASSERT_TRUE(gain.SetMinValue());
  EXPECT_EQ(data(gain).value, 1);
}

TEST_F(SettingValues, TheWindowsMaximumChangesOnlyItsHeight) {
  Sett::RectValue window;
  ASSERT_TRUE(window.Connect(kWindow, 0));
  Sett::Rect::Value max;
  ASSERT_TRUE(window.GetMaxValue(max));
  window.SetValue({10, 20, 30, 40});
  ASSERT_TRUE(window.SetMaxValue());
  EXPECT_EQ(data(window), (Sett::Rect::Value{10, 20, 30, max.height}));
}

TEST_F(SettingValues, AnOptionTheCameraLacksDoesNotConnect) {
  Sett::ScalarValue voltage;
  EXPECT_FALSE(voltage.Connect(kVoltage, 0));
  EXPECT_FALSE(voltage.Bound());
  Sett::EnumValue notEnum;
  EXPECT_FALSE(notEnum.Connect(0x4000ff, 0));
  EXPECT_TRUE(rig.log().empty());
  // Misuse by an owner is logged rather than followed.
  EXPECT_FALSE(voltage.ReadFromInterface());
  EXPECT_EQ(rig.log().size(), 1u);
}

TEST(SettingValuesWithoutHost, NothingBindsAndNothingIsStored) {
  Sett::ScalarValue gain;
  EXPECT_FALSE(gain.Connect(kGain, 0));
  EXPECT_FALSE(gain.Save(kGain));
  EXPECT_FALSE(gain.Restore(kGain));
  Sett::SummationValue sum;
  EXPECT_TRUE(sum.SetValue({1})) << "no camera to tell";
}

TEST(SettingValuesFaults, ARefusedStepIsLoggedOnceAndKeepsTheCache) {
  SettingsRig rig(CameraVars{{"KELLIB3_FAIL", "KelLib3OptionRelScalar:1"}});
  Sett::ScalarValue delay;
  ASSERT_TRUE(delay.Connect(kStopDelay, 0));
  delay.SetValue({50, 0});
  ASSERT_TRUE(delay.WriteToInterface());
  EXPECT_FALSE(delay.SetRelativeValue(1, false));
  EXPECT_EQ(data(delay).value, 50);
  EXPECT_EQ(rig.cameraScalar(kStopDelay, 0, 0), 50);
  const auto log = rig.log();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("\\Setting; Line: "), std::string::npos) << log[0];
  EXPECT_EQ(rig.boxes.boxes().size(), 1u) << "the filter shows the library's error";
}

}  // namespace
}  // namespace kel::test
