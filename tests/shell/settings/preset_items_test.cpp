// Preset lines against the virtual camera: every kind of line, lines the
// camera cannot take, the set-up panel's preset written and read back, and
// a preset applied to live bindings.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "platform/kernel/text_codec.h"
#include "shell/settings/PresetItems.h"
#include "tests/shell/settings/setting_ids.h"
#include "tests/shell/settings/settings_rig.h"

namespace kel::test {
namespace {

using Item = Sett::c_cameraoption_item;
using Names = std::vector<std::string>;

class PresetLines : public ::testing::Test {
 protected:
  void writeFile(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(dir.path() / "PRESETS");
    std::ofstream(dir.path() / "PRESETS" / name, std::ios::binary) << bytes;
  }
  SettingsRig rig;
  TempDir dir;
  Sett::PresetStore store{dir.path() / "PRESETS" / ""};
};

TEST_F(PresetLines, EveryKindOfLineIsBoundDetachedWithItsTexts) {
  rig.setCameraScalar(kGain, 0, 2, 0);
  Item scalar = Sett::LoadPresetLine("4194314;Усиление;7;Raw");
  EXPECT_EQ(scalar.kind, Item::kScalar);
  Sett::Scalar::Value s;
  scalar.scalar.value.Value(s);
  EXPECT_EQ(s, (Sett::Scalar::Value{7, 0}));
  EXPECT_EQ(scalar.scalar.optionId, kGain);
  EXPECT_EQ(scalar.scalar.mode, Sett::Detached);
  EXPECT_EQ((Names{scalar.idText, scalar.nameText, scalar.valueText, scalar.unitText}),
            (Names{"4194314", "Усиление", "7 ", "Raw"}));
  EXPECT_EQ(rig.cameraScalar(kGain, 0, 0), 2) << "loading never writes";

  Item en = Sett::LoadPresetLine("4194308;Событие начала ввода;Внешнее событие");
  EXPECT_EQ(en.kind, Item::kEnum);
  Sett::Enum::Value e;
  en.enumerated.value.Value(e);
  EXPECT_EQ(e.value, 5);
  EXPECT_EQ(en.valueText, "Внешнее событие");

  Item rect = Sett::LoadPresetLine("4194310;Окно ввода;8;16;320;240");
  EXPECT_EQ(rect.kind, Item::kRect);
  EXPECT_EQ(rect.valueText, " x = 8 y = 16 ширина = 320 высота = 240");
  std::string back;
  ASSERT_TRUE(rect.Format(back));
  EXPECT_EQ(back, "4194310;Окно ввода;8;16;320;240");
}

TEST_F(PresetLines, OtherSeparatorCountsGiveAnEmptyItem) {
  for (const char* line : {"", "4194314", "4194314;Усиление", "1;2;3;4;5", "1;2;3;4;5;6;7"}) {
    Item item = Sett::LoadPresetLine(line);
    EXPECT_EQ(item.kind, Item::kRect) << line;
    EXPECT_FALSE(item.Bound()) << line;
    EXPECT_TRUE(item.idText.empty() && item.nameText.empty() && item.valueText.empty()) << line;
    std::string text;
    EXPECT_FALSE(item.Format(text)) << "an empty item is never written";
  }
}

TEST_F(PresetLines, ALineOfAnOptionTheCameraLacksThrows) {
  EXPECT_THROW(Sett::LoadPresetLine("4194338;Затвор напряжение;100;В"), Sett::c_cameraoption_excep);
}

TEST_F(PresetLines, AFileLoadsWhatItCanAndWarnsOnce) {
  const std::string good = "4194314;Усиление;7;Raw";
  writeFile("mixed", plat::utf8ToCp1251(good + "\r\n4194338;Затвор напряжение;100;В\r\n###\r\n") +
                         plat::utf8ToCp1251("4194314;Усиление;abc;Raw\r\n4194310;Окно ввода;1;2;3;\r\n\r\n") +
                         "4194317;" + "Уровень черного" + ";9;Raw\n" +  // UTF-8 bytes: a wrong encoding
                         plat::utf8ToCp1251("4194308;Событие начала ввода;Никогда\n"));
  const auto contents = Sett::LoadPresetItems(store, "mixed");
  ASSERT_TRUE(contents);
  ASSERT_EQ(contents->items.size(), 1u);
  EXPECT_EQ(contents->items[0].nameText, "Усиление");
  EXPECT_EQ(contents->warning, "Ошибка в файле mixed");
  EXPECT_FALSE(Sett::LoadPresetItems(store, "absent")) << "no file, no editor";
}

TEST_F(PresetLines, AnUnknownUnitIsAppliedInUnitZero) {
  Sett::SettingBinding<Sett::ScalarValue> frames(kFrames, 0, "Вводить кадров", Sett::ApplyImmediately);
  ASSERT_TRUE(frames.Initialise(""));
  Sett::Scalar::Value before;
  frames.value.Value(before);
  ASSERT_EQ(before.unit, kUnitFrames) << "a fresh value reads in the option's first unit";
  ASSERT_TRUE(store.SavePreset("p", {"4194311;" + optionName(rig.graph, kFrames) + ";12;штук"}));
  ASSERT_TRUE(Sett::ApplyPresetRecords(store, "p", [&](const std::string& line, std::int32_t) { frames.ApplyRecord(line); }));
  Sett::Scalar::Value after;
  frames.value.Value(after);
  EXPECT_EQ(after, (Sett::Scalar::Value{12, 0}));
  EXPECT_EQ(rig.cameraScalar(kFrames, 0, 0), 12);
}

TEST_F(PresetLines, ADamagedLineIsNeverApplied) {
  rig.setCameraScalar(kGain, 0, 3, 0);
  Sett::SettingBinding<Sett::ScalarValue> gain(kGain, 0, "Усиление", Sett::ApplyImmediately);
  Sett::SettingBinding<Sett::RectValue> window(kWindow, 0, "Окно ввода", Sett::ApplyImmediately);
  ASSERT_TRUE(gain.Initialise("") && window.Initialise(""));
  Sett::Rect::Value before;
  window.value.Value(before);
  ASSERT_TRUE(store.SavePreset("p", {"4194314;Усиление;;Raw", "4194310;Окно ввода;0;0;-;1", "4194314;Усиление"}));
  Names offered;
  ASSERT_TRUE(Sett::ApplyPresetRecords(store, "p", [&](const std::string& line, std::int32_t) {
    offered.push_back(line);
    gain.ApplyRecord(line);
    window.ApplyRecord(line);
  }));
  EXPECT_TRUE(offered.empty());
  EXPECT_EQ(rig.cameraScalar(kGain, 0, 0), 3);
  Sett::Rect::Value after;
  window.value.Value(after);
  EXPECT_EQ(after, before);
}

// The set-up panel's settings as its blocks bind them.
class Panel {
 public:
  Panel() {
    for (const auto& o : Sett::kSetupPresetOptions) {
      if (o.kind == Item::kScalar)
        init(scalars_.try_emplace({o.optionId, o.index}, o.optionId, o.index, "", Sett::ApplyImmediately).first->second);
      else if (o.kind == Item::kEnum)
        init(enums_.try_emplace(o.optionId, o.optionId, 0, "", Sett::ApplyOnRelease).first->second);
      else
        init(rects_.try_emplace(o.optionId, o.optionId, 0, "", Sett::ApplyImmediately).first->second);
    }
  }
  Sett::PanelBindings bindings() {
    return {[this](std::int32_t id, std::int32_t index) { return find(scalars_, std::pair{id, index}); },
            [this](std::int32_t id) { return find(enums_, id); }, [this](std::int32_t id) { return find(rects_, id); }};
  }

 private:
  template <class B>
  static void init(B& b) {
    b.Initialise("");
  }
  template <class M, class K>
  static const typename M::mapped_type* find(M& m, const K& key) {
    auto it = m.find(key);
    return it == m.end() ? nullptr : &it->second;
  }
  std::map<std::pair<std::int32_t, std::int32_t>, Sett::SettingBinding<Sett::ScalarValue>> scalars_;
  std::map<std::int32_t, Sett::SettingBinding<Sett::EnumValue>> enums_;
  std::map<std::int32_t, Sett::SettingBinding<Sett::RectValue>> rects_;
};

std::vector<std::pair<std::int32_t, std::int32_t>> addresses(const std::vector<Item>& items) {
  std::vector<std::pair<std::int32_t, std::int32_t>> out;
  for (const auto& i : items) out.emplace_back(i.OptionId(), i.Index());
  return out;
}

TEST(PresetRoundTrip, ThePanelsPresetHoldsItsSettingsInOrderAndReadsBack) {
  SettingsRig rig(CameraVars{{"KELLIB3_SHUTTER", "1"}});
  TempDir dir;
  Sett::PresetStore store(dir.path() / "PRESETS" / "");
  rig.setCameraScalar(kPeriod, 1, 40, kUnitUs);
  Panel panel;
  auto items = Sett::PresetFromPanel(panel.bindings());
  std::vector<std::pair<std::int32_t, std::int32_t>> expected;
  for (const auto& o : Sett::kSetupPresetOptions) expected.emplace_back(o.optionId, o.index);
  ASSERT_EQ(addresses(items), expected);
  const auto lines = Sett::PresetLines(items);
  ASSERT_EQ(lines.size(), 15u);
  ASSERT_TRUE(store.SavePreset("all", lines));

  auto loaded = Sett::LoadPresetItems(store, "all");
  ASSERT_TRUE(loaded);
  EXPECT_FALSE(loaded->warning);
  EXPECT_EQ(addresses(loaded->items), expected) << "the second period line is the shutter's instance";
  EXPECT_EQ(Sett::PresetLines(loaded->items), lines);

  // Editing takes the panel's current values instance by instance.
  rig.setCameraScalar(kPeriod, 1, 80, kUnitUs);
  Panel now;
  Sett::RefreshFromPanel(loaded->items, now.bindings());
  Sett::Scalar::Value shutter;
  loaded->items[8].scalar.value.Value(shutter);
  EXPECT_EQ(shutter.value, rig.cameraScalar(kPeriod, 1, shutter.unit));
  EXPECT_NE(Sett::PresetLines(loaded->items)[8], lines[8]);
  EXPECT_EQ(Sett::PresetLines(loaded->items)[0], lines[0]);
}

TEST(PresetRoundTrip, APresetFromACameraWithAShutterLoadsOnOneWithout) {
  TempDir dir;
  Sett::PresetStore store(dir.path() / "PRESETS" / "");
  {
    SettingsRig rig(CameraVars{{"KELLIB3_SHUTTER", "1"}});
    Panel panel;
    auto items = Sett::PresetFromPanel(panel.bindings());
    ASSERT_TRUE(store.SavePreset("shutter", Sett::PresetLines(items)));
  }
  SettingsRig rig;
  Panel panel;
  EXPECT_EQ(Sett::PresetFromPanel(panel.bindings()).size(), 12u) << "no shutter options on this camera";
  const auto loaded = Sett::LoadPresetItems(store, "shutter");
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->items.size(), 12u);
  EXPECT_EQ(loaded->warning, "Ошибка в файле shutter");
  EXPECT_TRUE(rig.boxes.boxes().empty());
}

TEST(PresetRoundTrip, ApplyingGivesEachInstanceOfThePeriodItsOwnLine) {
  SettingsRig rig(CameraVars{{"KELLIB3_SHUTTER", "1"}});
  TempDir dir;
  Sett::PresetStore store(dir.path() / "PRESETS" / "");
  rig.setCameraScalar(kPeriod, 0, 10000, kUnitUs);
  rig.setCameraScalar(kPeriod, 1, 3000, kUnitUs);
  {
    Panel panel;
    auto items = Sett::PresetFromPanel(panel.bindings());
    ASSERT_TRUE(store.SavePreset("p", Sett::PresetLines(items)));
  }
  rig.setCameraScalar(kPeriod, 0, 12000, kUnitUs);
  rig.setCameraScalar(kPeriod, 1, 5000, kUnitUs);
  using Binding = Sett::SettingBinding<Sett::ScalarValue>;
  Binding period(kPeriod, 0, "Период / Скорость ввода", Sett::ApplyImmediately);
  Binding shutter(kPeriod, 1, "Интервал мультиэкспозиции", Sett::ApplyImmediately);
  ASSERT_TRUE(period.Initialise("") && shutter.Initialise(""));
  ASSERT_TRUE(Sett::ApplyPresetRecords(store, "p", [&](const std::string& line, std::int32_t index) {
    period.ApplyRecord(line, index);
    shutter.ApplyRecord(line, index);
  }));
  EXPECT_EQ(rig.cameraScalar(kPeriod, 0, kUnitUs), 10000);
  EXPECT_EQ(rig.cameraScalar(kPeriod, 1, kUnitUs), 3000);
}

}  // namespace
}  // namespace kel::test
