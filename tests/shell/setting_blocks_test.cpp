// Setting blocks and settings panels: how blocks stack, collapse and keep
// each other's dialogs fresh; which options the set-up panel's blocks show
// on cameras with and without the image intensifier; its registry; presets
// applied to it; and the synchronisation settings kept across modes.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>

#include "platform/win/messages.h"
#include "platform/win/window_table.h"
#include "shell/app/MainFrame.h"
#include "shell/app/PresetCommands.h"
#include "shell/app/commands.h"
#include "shell/graph/Graph.h"
#include "shell/panels/DialogWndRecoder.h"
#include "shell/settings/PresetItems.h"
#include "shell/settings/SettingsHost.h"
#include "shell/settings_ui/SettingsUiState.h"
#include "shell/settings_ui/StockSettings.h"
#include "tests/shell/frame_fixture.h"
#include "tests/shell/qt_helpers.h"
#include "tests/shell/settings/setting_ids.h"
#include "tests/shell/settings/settings_rig.h"
#include "tests/shell/shell_host.h"

namespace kel::test {
namespace {

constexpr std::int32_t kShutterMode = 0x400042;

// A dialog that counts its refreshes and records the messages it gets.
class ProbeDialog : public CPropertyDialog {
 public:
  explicit ProbeDialog(bool builds = true) : CPropertyDialog(192, 40), builds_(builds) {}
  void RefreshControls() override { ++refreshes; }
  int refreshes = 0;
  std::vector<std::pair<UINT, WPARAM>> messages;

 protected:
  bool OnInitDialog() override { return builds_; }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM) override {
    messages.emplace_back(message, wParam);
    return true;
  }

 private:
  bool builds_;
};

// Three blocks of two probe dialogs each.
class ProbeView : public CSettingView {
 public:
  ProbeView() : CSettingView("ProbeView") {}
  std::vector<ProbeDialog*> dialogs;

 protected:
  void BuildBlocks() override {
    for (int b = 0; b < 3; ++b) {
      auto block = std::make_unique<CSettingBlock>(QString("Блок %1").arg(b), Content());
      for (int d = 0; d < 2; ++d) {
        auto dialog = std::make_unique<ProbeDialog>();
        dialogs.push_back(dialog.get());
        block->AddProperty(std::move(dialog));
      }
      AppendBlock(std::move(block));
    }
  }
};

class Blocks : public ::testing::Test {
 protected:
  void SetUp() override {
    view.resize(400, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    ASSERT_EQ(view.Blocks().size(), 3u);
  }
  CSettingBlock& block(int i) { return *view.Blocks()[i]; }
  std::vector<int> refreshes() const {
    std::vector<int> out;
    for (auto* d : view.dialogs) out.push_back(d->refreshes);
    return out;
  }
  ProbeView view;
};

TEST_F(Blocks, DialogsStackUnderTheHeaderAndOneThatCannotBeBuiltIsLeftOut) {
  const int headerRow = CSettingBlock("", nullptr).height();
  auto* header = block(0).findChild<QPushButton*>("1000");
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->text(), "Блок 0");
  ProbeDialog* first = view.dialogs[0];
  ProbeDialog* second = view.dialogs[1];
  EXPECT_EQ(first->pos(), QPoint(header->x(), headerRow));
  EXPECT_EQ(second->pos(), QPoint(header->x(), headerRow + first->height()));
  EXPECT_EQ(block(0).height(), headerRow + first->height() + second->height());
  EXPECT_EQ(block(1).y(), block(0).height());
  EXPECT_EQ(view.widget()->height(), 3 * block(0).height());

  CSettingBlock longTitle("Сохранение информации о параметрах съёмки", nullptr);
  auto* title = longTitle.findChild<QPushButton*>("1000");
  EXPECT_LE(title->sizeHint().width(), title->width()) << "a long title is shown whole";

  const int before = block(2).height();
  EXPECT_FALSE(block(2).AddProperty(std::make_unique<ProbeDialog>(false)));
  EXPECT_EQ(block(2).height(), before);
  EXPECT_EQ(block(2).Children().size(), 2u);
}

TEST_F(Blocks, AHeaderClickCollapsesTheBlockAndASecondRestoresIt) {
  const int full = block(0).height();
  const int dialogs = view.dialogs[0]->height() + view.dialogs[1]->height();
  const int scroll = view.verticalScrollBar()->maximum();
  ASSERT_GT(scroll, dialogs) << "the panel is taller than the view";
  auto* header = block(0).findChild<QPushButton*>("1000");

  QTest::mouseClick(header, Qt::LeftButton);
  EXPECT_FALSE(block(0).Expanded());
  EXPECT_EQ(block(0).height(), full - dialogs);
  EXPECT_EQ(block(1).y(), full - dialogs) << "the blocks below move up";
  EXPECT_EQ(view.verticalScrollBar()->maximum(), scroll - dialogs);

  QTest::mouseClick(header, Qt::LeftButton);
  EXPECT_TRUE(block(0).Expanded());
  EXPECT_EQ(block(0).height(), full);
  EXPECT_EQ(block(1).y(), full);
  EXPECT_EQ(view.verticalScrollBar()->maximum(), scroll);
}

TEST_F(Blocks, AChangeRefreshesItsBlockThenTheOthersOnceAndLimitsReachTheDialogs) {
  ASSERT_TRUE(plat::postMessage(block(1).hwnd(), WM_SETTING_CHANGED, 0, 0));
  ASSERT_TRUE(waitFor([&] { return refreshes() == std::vector<int>(6, 1); }));
  // Messages arrive in the order they were posted: once this one has gone
  // through block 1 to its dialogs, whatever the cascade posted is handled.
  ASSERT_TRUE(plat::postMessage(block(1).hwnd(), WM_OPTION_LIMITS_CHANGED, kPeriod, 0));
  ASSERT_TRUE(waitFor([&] { return view.dialogs[3]->messages.size() == 1; }));
  EXPECT_EQ(refreshes(), std::vector<int>(6, 1)) << "the refreshed blocks post nothing further";
  using Message = std::pair<UINT, WPARAM>;
  EXPECT_EQ(view.dialogs[2]->messages, (std::vector<Message>{{WM_OPTION_LIMITS_CHANGED, kPeriod}}));
  EXPECT_EQ(view.dialogs[3]->messages, (std::vector<Message>{{WM_OPTION_LIMITS_CHANGED, kPeriod}}));
  EXPECT_TRUE(view.dialogs[0]->messages.empty());
}

// The set-up panel on its own over the virtual camera, with the settings
// host installed as the application has it.
class SetupPanel : public ::testing::Test {
 protected:
  explicit SetupPanel(CameraVars vars = {}) : rig(std::move(vars)) {}
  void TearDown() override { panel.reset(); }
  StockSettings::CSetupSettingView& open() {
    panel = std::make_unique<StockSettings::CSetupSettingView>();
    panel->OnInitialUpdate();
    return *panel;
  }
  void setCameraEnum(std::int32_t id, LONG value) {
    ComPtr<IEnumProperty> p;
    ASSERT_TRUE(rig.graph.GetEnumProperty(id, p.put())) << rig.graph.GetLastErrorText();
    ASSERT_EQ(p->SetValue(value), S_OK);
  }
  QStringList titles() const {
    QStringList out;
    for (const auto& b : panel->Blocks()) out << b->findChild<QPushButton*>("1000")->text();
    return out;
  }
  std::vector<std::size_t> dialogCounts() const {
    std::vector<std::size_t> out;
    for (const auto& b : panel->Blocks()) out.push_back(b->Children().size());
    return out;
  }

  SettingsRig rig;
  std::unique_ptr<StockSettings::CSetupSettingView> panel;
};

TEST_F(SetupPanel, WithoutAnImageIntensifierItsBlockShowsItsHeaderOnly) {
  open();
  EXPECT_EQ(titles(), (QStringList{"Параметры ввода", "Параметры синхронизации", "ЭОП", "Преобразователь цвета"}));
  EXPECT_EQ(dialogCounts(), (std::vector<std::size_t>{7, 6, 0, 3}));
  EXPECT_EQ(panel->Blocks()[2]->height(), CSettingBlock("", nullptr).height());
  EXPECT_FALSE(SettingsUi::State().imageIntensifierPresent);
  EXPECT_EQ(panel->Registry().FindScalar(kVoltage, 0), nullptr);
}

TEST_F(SetupPanel, TheFirstPanelFindsTheStopEventAt4UnlessOneWasSaved) {
  setCameraEnum(kStopEvent, 37);
  open();
  auto* stopEvent = panel->Registry().FindEnum(kStopEvent, 0);
  ASSERT_NE(stopEvent, nullptr);
  Sett::Enum::Value value;
  stopEvent->value.Value(value);
  EXPECT_EQ(value.value, 4);
  EXPECT_EQ(rig.cameraEnum(kStopEvent), 37) << "kept until the panel goes";

  stopEvent->value.SetValue({5});
  panel.reset();
  EXPECT_EQ(rig.cameraEnum(kStopEvent), 5);
  open();
  panel->Registry().FindEnum(kStopEvent, 0)->value.Value(value);
  EXPECT_EQ(value.value, 5) << "the saved value, not 4 again";
  EXPECT_TRUE(rig.store.enums.empty()) << "taken back by the new panel";
}

class ShutterSetupPanel : public SetupPanel {
 protected:
  ShutterSetupPanel() : SetupPanel(CameraVars{{"KELLIB3_SHUTTER", "1"}}) {}
};

TEST_F(ShutterSetupPanel, TheImageIntensifierBlockShowsItsOptionsAndSetsTheWorkingMode) {
  setCameraEnum(kShutterMode, 40);
  open();
  EXPECT_EQ(dialogCounts(), (std::vector<std::size_t>{7, 6, 4, 3}));
  EXPECT_TRUE(SettingsUi::State().imageIntensifierPresent);
  EXPECT_EQ(rig.cameraEnum(kShutterMode), 41);
}

TEST_F(ShutterSetupPanel, LookupsTellTheTwoInstancesOfThePeriodApart) {
  const auto& registry = open().Registry();
  auto* period = registry.FindScalar(kPeriod, 0);
  auto* interval = registry.FindScalar(kPeriod, 1);
  ASSERT_NE(period, nullptr);
  ASSERT_NE(interval, nullptr);
  EXPECT_EQ(period->caption, "Период / Скорость ввода");
  EXPECT_EQ(interval->caption, "Интервал мультиэкспозиции");
  EXPECT_EQ(registry.FindScalar(kPeriod, 2), nullptr);
  EXPECT_EQ(registry.FindEnum(kStopEvent, 0)->caption, "Событие остановки ввода");
  EXPECT_EQ(registry.FindRect(kWindow, 0)->caption, "Окно ввода");
  const Sett::PanelBindings bindings = panel->Bindings();
  EXPECT_EQ(bindings.scalar(kPeriod, 1), interval);
  EXPECT_EQ(bindings.enumerated(kStopEvent), registry.FindEnum(kStopEvent, 0));
}

TEST_F(ShutterSetupPanel, APresetSentToThePanelReachesEachDialogOnceAndABadLineIsReported) {
  TempDir dir;
  Sett::PresetStore presets(dir.path() / "PRESETS" / "");
  rig.setCameraScalar(kPeriod, 0, 10000, kUnitUs);
  rig.setCameraScalar(kPeriod, 1, 3000, kUnitUs);
  rig.setCameraScalar(kGain, 0, 3, 0);
  open().SetPresetStore(presets);
  auto items = Sett::PresetFromPanel(panel->Bindings());
  auto lines = Sett::PresetLines(items);
  lines.push_back("4194314;Усиление;");  // damaged: a scalar line without its unit
  ASSERT_TRUE(presets.SavePreset("p", lines));

  // The panel is rebuilt on other values, as after a mode switch.
  panel.reset();
  rig.setCameraScalar(kPeriod, 0, 12000, kUnitUs);
  rig.setCameraScalar(kPeriod, 1, 5000, kUnitUs);
  rig.setCameraScalar(kGain, 0, 5, 0);
  open().SetPresetStore(presets);
  const std::string name = "p";
  ::SendMessage(panel->hwnd(), WM_APPLY_PRESET, 0, reinterpret_cast<LPARAM>(name.c_str()));
  EXPECT_EQ(rig.cameraScalar(kPeriod, 0, kUnitUs), 10000);
  EXPECT_EQ(rig.cameraScalar(kPeriod, 1, kUnitUs), 3000) << "each instance takes its own line";
  EXPECT_EQ(rig.cameraScalar(kGain, 0, 0), 3);
  const auto shown = rig.boxes.boxes();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Ошибка в файле p");
}

// The whole window: the set-up panel in its column, torn down by a mode
// switch.
class SetupPanelInFrame : public FrameFixture {
 protected:
  SetupPanelInFrame() : FrameFixture({{"KELLIB3_TIME_SCALE", "0.01"}}) {}
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(FrameFixture::SetUp());
    ASSERT_NO_FATAL_FAILURE(openFrame());
  }
  StockSettings::CSetupSettingView* setup() const {
    return dynamic_cast<StockSettings::CSetupSettingView*>(frame->SetupPanel());
  }
  void trigger(int id) {
    frame->UpdateCommandUI();
    frame->Command(id)->trigger();
  }

  // A slow clock: no recording ends while a test looks at it.
};

TEST_F(SetupPanelInFrame, SynchronisationSettingsReachTheRecordingAndComeBackToSetUp) {
  ASSERT_NE(setup(), nullptr);
  EXPECT_EQ(setup()->Blocks().size(), 4u);
  EXPECT_EQ(SettingsUi::State().mainFrame, frame->hwnd());
  const auto& registry = setup()->Registry();
  registry.FindEnum(kStopEvent, 0)->value.SetValue({37});
  auto* frames = registry.FindScalar(kFrames, 0);
  Sett::Scalar::Value count;
  frames->value.Value(count);
  count.value = 700;
  frames->value.SetValue(count);

  trigger(Cmd::kModeInput);
  ASSERT_EQ(frame->ModeCode(), 4);
  EXPECT_EQ(setup(), nullptr);
  auto* recorder = frame->findChild<CDialogWndRecoder*>();
  ASSERT_NE(recorder, nullptr);
  auto* progress = recorder->findChild<QProgressBar*>("1173");
  EXPECT_TRUE(progress->isVisibleTo(recorder)) << "a stop after a number of frames";
  EXPECT_EQ(progress->maximum(), 700);

  // Before the 700 frames are in, so no film asks about another scene.
  trigger(Cmd::kModeSetup);
  ASSERT_EQ(frame->ModeCode(), 2);
  ASSERT_NE(setup(), nullptr);
  Sett::Enum::Value stopEvent;
  setup()->Registry().FindEnum(kStopEvent, 0)->value.Value(stopEvent);
  EXPECT_EQ(stopEvent.value, 37);
  setup()->Registry().FindScalar(kFrames, 0)->value.Value(count);
  EXPECT_EQ(count.value, 700);
}

TEST_F(SetupPanelInFrame, APresetLoadedFromTheMenuReachesTheCameraThroughThePanel) {
  TempDir dir;
  Sett::PresetStore presets(dir.path() / "PRESETS" / "");
  frame->Presets().SetStore(presets);
  setup()->SetPresetStore(presets);
  // The gain at 3 as its dialog leaves it, saved as a preset.
  auto* binding = setup()->Registry().FindScalar(kGain, 0);
  ASSERT_NE(binding, nullptr);
  ASSERT_TRUE(binding->value.SetValue({3, 0}) && binding->value.WriteToInterface());
  auto items = Sett::PresetFromPanel(setup()->Bindings());
  ASSERT_TRUE(presets.SavePreset("p", Sett::PresetLines(items)));
  ComPtr<IScalarProperty> gain;
  ASSERT_TRUE(graph.GetScalarProperty(kGain, 0, gain.put()));
  ASSERT_EQ(gain->SetValue(5, 0), S_OK);

  frame->Presets().Rebuild();
  auto* load = frame->findChild<QAction*>(QString::number(Cmd::kLoadPresetFirst));
  ASSERT_NE(load, nullptr);
  load->trigger();
  LONG value = 0;
  ASSERT_EQ(gain->GetValue(&value, 0), S_OK);
  EXPECT_EQ(value, 3);
  EXPECT_EQ(graphState(graph.Graph()), State_Running) << "the live picture is back";
}

}  // namespace
}  // namespace kel::test
