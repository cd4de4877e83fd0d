// The option dialogs against the virtual camera, as the operator uses them:
// the slider's scale, the exact maximum at the right end, the unit list,
// the cascade after a new frame period, centring the input window and a
// value the camera refuses.
#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <algorithm>
#include <array>
#include <memory>
#include <string>

#include "platform/graph/renderer_frames.h"
#include "platform/win/messages.h"
#include "shell/app/WindowBinding.h"
#include "shell/settings_ui/EnumPropertyDialog.h"
#include "shell/settings_ui/RectPropertyDialog.h"
#include "shell/settings_ui/ScalarPropertyDialog.h"
#include "shell/settings_ui/SettingsUiState.h"
#include "tests/shell/qt_helpers.h"
#include "tests/shell/settings/setting_ids.h"
#include "tests/shell/settings/settings_rig.h"

namespace kel::test {
namespace {

constexpr std::int32_t kDecimation = 0x400055;
constexpr std::int32_t kUnitFps = 31;

// What a setting block does for its dialogs: refreshes them on
// WM_SETTING_CHANGED and hands WM_OPTION_LIMITS_CHANGED on to them. Also
// stands in for the main frame, keeping what it was sent.
class BlockStandIn : public QWidget {
 public:
  template <class Dialog, class... Args>
  Dialog* add(Args&&... args) {
    auto* dialog = new Dialog(std::forward<Args>(args)...);
    EXPECT_TRUE(dialog->Create(this));
    dialogs.push_back(dialog);
    return dialog;
  }
  bool got(UINT message) const { return std::find(received.begin(), received.end(), message) != received.end(); }

  std::vector<CPropertyDialog*> dialogs;  // owned as Qt children
  std::vector<UINT> received;
  WindowBinding binding{this};

 protected:
  bool event(QEvent* e) override {
    WinMessageEvent* m = AsWinMessage(e);
    if (!m) return QWidget::event(e);
    received.push_back(m->message);
    if (m->message == WM_SETTING_CHANGED)
      for (CPropertyDialog* d : dialogs) d->RefreshControls();
    if (m->message == WM_OPTION_LIMITS_CHANGED)
      for (CPropertyDialog* d : dialogs) ::PostMessage(d->hwnd(), m->message, m->wParam, m->lParam);
    return true;
  }
};

class OptionDialogs : public ::testing::Test {
 protected:
  explicit OptionDialogs(CameraVars vars = {{"KELLIB3_SIZE", "1280x1024"}}) : rig(std::move(vars)) {
    SettingsUi::State() = {};
    SettingsUi::State().mainFrame = HwndOf(&mainFrame);
  }
  ~OptionDialogs() override { SettingsUi::State() = {}; }

  template <class T>
  static T* control(QWidget* dialog, int id) {
    return dialog->findChild<T*>(QString::number(id));
  }
  static void enter(QWidget* dialog, int editId, const QString& text) {
    auto* edit = control<QLineEdit>(dialog, editId);
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  }
  static void selectUnit(QWidget* dialog, const char* name) {
    auto* units = control<QComboBox>(dialog, 1002);
    ASSERT_NE(units, nullptr);
    const int at = units->findText(QString::fromUtf8(name));
    ASSERT_GE(at, 0) << name;
    units->setCurrentIndex(at);
  }
  std::int32_t exposureMaxNs() {
    ComPtr<IScalarProperty> p;
    LONG max = -1;
    EXPECT_TRUE(rig.graph.GetScalarProperty(kExposure, 0, p.put()));
    if (p) {
      EXPECT_EQ(p->GetMaxValue(&max, kUnitNs), S_OK);
    }
    return max;
  }
  std::array<LONG, 4> window(bool max = false) {
    ComPtr<IRectProperty> p;
    std::array<LONG, 4> r{-1, -1, -1, -1};
    EXPECT_TRUE(rig.graph.GetRectProperty(kWindow, p.put()));
    if (p) {
      EXPECT_EQ(max ? p->GetMaxValue(&r[0], &r[1], &r[2], &r[3]) : p->GetValue(&r[0], &r[1], &r[2], &r[3]), S_OK);
    }
    return r;
  }
  void setWindow(LONG x, LONG y, LONG width, LONG height) {
    ComPtr<IRectProperty> p;
    ASSERT_TRUE(rig.graph.GetRectProperty(kWindow, p.put()));
    ASSERT_EQ(p->SetValue(x, y, width, height), S_OK);
  }

  SettingsRig rig;
  BlockStandIn mainFrame;
  std::unique_ptr<BlockStandIn> block = std::make_unique<BlockStandIn>();
};

TEST_F(OptionDialogs, TheSliderTurnsQuadraticAbove1500Steps) {
  // The exposure's top in microseconds is the period less the rows'
  // transfer, 10 ns a row; a low window stays within every period here.
  const LONG rows = 100;
  ASSERT_NO_FATAL_FAILURE(setWindow(0, 0, 1280, rows));
  rig.setCameraScalar(kPeriod, 0, 1'500'000 + 10 * rows, kUnitNs);
  auto* exposure = block->add<CScalarPropertyDialog>(kExposure, 0, "Экспозиция", "", Sett::ApplyImmediately);
  selectUnit(exposure, "мкс");
  auto* slider = control<QSlider>(exposure, 1011);
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(control<QLabel>(exposure, 1106)->text(), "0");
  EXPECT_EQ(control<QLabel>(exposure, 1107)->text(), "1500");
  EXPECT_EQ(std::pair(slider->minimum(), slider->maximum()), std::pair(0, 1500));
  EXPECT_EQ(slider->pageStep(), 150);

  rig.setCameraScalar(kPeriod, 0, 1'502'000 + 10 * rows, kUnitNs);
  rig.setCameraScalar(kExposure, 0, 200, kUnitUs);
  exposure->RefreshControls();
  EXPECT_EQ(control<QLabel>(exposure, 1107)->text(), "1502");
  EXPECT_EQ(std::pair(slider->minimum(), slider->maximum()), std::pair(0, 27));
  EXPECT_EQ(slider->pageStep(), 2);
  EXPECT_EQ(slider->value(), 10) << "200 us sits at sqrt(100)";

  // One step right on that scale asks for 2 * 11^2 us.
  slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(rig.cameraScalar(kExposure, 0, kUnitUs), 242);
  EXPECT_EQ(control<QLineEdit>(exposure, 1001)->text(), "242");
}

TEST_F(OptionDialogs, TheThumbAtTheRightEndSetsTheExactMaximum) {
  auto* exposure = block->add<CScalarPropertyDialog>(kExposure, 0, "Экспозиция", "", Sett::ApplyImmediately);
  selectUnit(exposure, "нс");
  auto* slider = control<QSlider>(exposure, 1011);
  const std::int32_t max = exposureMaxNs();
  ASSERT_NE(2 * slider->maximum() * slider->maximum(), max) << "the scale's end must differ from the maximum";
  slider->setSliderDown(true);
  slider->setSliderPosition(slider->maximum());
  slider->setSliderDown(false);
  EXPECT_EQ(rig.cameraScalar(kExposure, 0, kUnitNs), max);
  EXPECT_EQ(control<QLineEdit>(exposure, 1001)->text(), QString::number(max));

  // Kept for release, the right end is the maximum too.
  rig.setCameraScalar(kExposure, 0, 1000, kUnitNs);
  {
    CScalarPropertyDialog later(kExposure, 0, "Экспозиция", "", Sett::ApplyOnRelease);
    ASSERT_TRUE(later.Create(block.get()));
    selectUnit(&later, "нс");
    control<QSlider>(&later, 1011)->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(rig.cameraScalar(kExposure, 0, kUnitNs), 1000) << "nothing is written before release";
  }
  EXPECT_EQ(rig.cameraScalar(kExposure, 0, kUnitNs), max);
}

TEST_F(OptionDialogs, OnlyOptionsWithUnitsShowTheUnitList) {
  auto* gain = block->add<CScalarPropertyDialog>(kGain, 0, "Усиление", "", Sett::ApplyImmediately);
  auto* period = block->add<CScalarPropertyDialog>(kPeriod, 0, "Период", "", Sett::ApplyImmediately);
  EXPECT_TRUE(control<QComboBox>(gain, 1002)->isHidden());
  auto* units = control<QComboBox>(period, 1002);
  EXPECT_FALSE(units->isHidden());
  EXPECT_EQ(units->count(), 4) << "ns, us, ms and frames per second; never the plain number";
  EXPECT_EQ(units->currentText(), "кадр/с") << "the period opens as a rate";
  EXPECT_EQ(control<QLineEdit>(period, 1001)->text(), QString::number(rig.cameraScalar(kPeriod, 0, kUnitFps)));
}

TEST_F(OptionDialogs, TypingCountsOnlyWithEnter) {
  auto* gain = block->add<CScalarPropertyDialog>(kGain, 0, "Усиление", "", Sett::ApplyImmediately);
  auto* black = block->add<CScalarPropertyDialog>(kBlack, 0, "Уровень черного", "", Sett::ApplyImmediately);
  block->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(block.get()));
  const std::int32_t before = rig.cameraScalar(kGain, 0, 0);
  auto* edit = control<QLineEdit>(gain, 1001);
  edit->setFocus();
  QTest::keyClicks(edit, "9");
  control<QLineEdit>(black, 1001)->setFocus();
  EXPECT_EQ(edit->text(), QString::number(before)) << "leaving the edit discards the typed text";
  EXPECT_EQ(rig.cameraScalar(kGain, 0, 0), before);

  enter(gain, 1001, "9");
  EXPECT_EQ(rig.cameraScalar(kGain, 0, 0), 9);
  EXPECT_EQ(control<QSlider>(gain, 1011)->value(), 9);
}

TEST_F(OptionDialogs, AValueKeptForReleaseInAnUnlistedUnitIsNotReadOver) {
  // The frame count's list has frames only; the store holds the plain number.
  rig.store.scalars.push_back({kFrames, 37, 0, {}});
  ASSERT_NE(rig.cameraScalar(kFrames, 0, 0), 37);
  {
    CScalarPropertyDialog frames(kFrames, 0, "Вводить кадров", "", Sett::ApplyOnRelease);
    ASSERT_TRUE(frames.Create(block.get()));
    EXPECT_EQ(control<QLineEdit>(&frames, 1001)->text(), "37");
  }
  EXPECT_EQ(rig.cameraScalar(kFrames, 0, 0), 37);
}

TEST_F(OptionDialogs, AnOptionTheCameraLacksIsMarkedAndNoImageIntensifierAssumed) {
  SettingsUi::State().imageIntensifierPresent = true;
  auto* voltage = block->add<CScalarPropertyDialog>(kVoltage, 0, "Напряжение", "", Sett::ApplyImmediately);
  EXPECT_FALSE(SettingsUi::State().imageIntensifierPresent);
  EXPECT_EQ(control<QGroupBox>(voltage, 1010)->title(), "Напряжение / не поддерживается /");
  EXPECT_FALSE(control<QLineEdit>(voltage, 1001)->isEnabled());
  EXPECT_FALSE(control<QSlider>(voltage, 1011)->isEnabled());
}

class PeriodCascade : public OptionDialogs {
 protected:
  void SetUp() override {
    rig.setCameraScalar(kPeriod, 0, 1'000'000, kUnitNs);
    ASSERT_NO_FATAL_FAILURE(setWindow(0, 0, 1280, 100));
    rig.setCameraScalar(kExposure, 0, 10, kUnitUs);
    period = block->add<CScalarPropertyDialog>(kPeriod, 0, "Период", "", Sett::ApplyImmediately);
    block->add<CScalarPropertyDialog>(kExposure, 0, "Экспозиция", "", Sett::ApplyImmediately);
    block->add<CRectPropertyDialog>(kWindow, 0, "Окно ввода", "", Sett::ApplyImmediately);
  }
  // A longer period: both limits grow, which the camera alone does not
  // follow.
  void slowDown() {
    enter(period, 1001, "500");
    ASSERT_TRUE(waitFor([&] { return mainFrame.got(WM_WINDOW_CHANGED); }));
    EXPECT_EQ(rig.cameraScalar(kPeriod, 0, kUnitNs), 2'000'000);
    EXPECT_TRUE(mainFrame.got(WM_PERIOD_CHANGED));
    EXPECT_EQ(window()[3], window(true)[3]) << "the window is as high as the period allows";
    EXPECT_GT(window()[3], 100);
  }
  CScalarPropertyDialog* period = nullptr;
};

TEST_F(PeriodCascade, ANewPeriodMaximisesTheExposureAndTheWindowHeight) {
  ASSERT_NO_FATAL_FAILURE(slowDown());
  EXPECT_EQ(rig.cameraScalar(kExposure, 0, kUnitNs), exposureMaxNs());
  EXPECT_TRUE(rig.log().empty()) << rig.log().front();
}

TEST_F(PeriodCascade, WithAnImageIntensifierTheExposureStays) {
  SettingsUi::State().imageIntensifierPresent = true;
  ASSERT_NO_FATAL_FAILURE(slowDown());
  EXPECT_EQ(rig.cameraScalar(kExposure, 0, kUnitUs), 10);
}

TEST_F(OptionDialogs, CentringPutsTheWindowInTheMiddleOfTheSensor) {
  ASSERT_EQ(window(true)[3], 1024);
  ASSERT_EQ(rig.cameraScalar(kDecimation, 0, 0), 1);
  auto* dialog = block->add<CRectPropertyDialog>(kWindow, 0, "Окно ввода", "", Sett::ApplyImmediately);
  control<QCheckBox>(dialog, 1174)->setChecked(true);
  EXPECT_TRUE(SettingsUi::State().centreWindow) << "one choice for every window dialog";
  auto* apply = control<QWidget>(dialog, 1009);
  EXPECT_FALSE(apply->isEnabled());
  control<QLineEdit>(dialog, 1008)->setFocus();
  QTest::keyClick(control<QLineEdit>(dialog, 1008), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(control<QLineEdit>(dialog, 1008), "512");
  EXPECT_TRUE(apply->isEnabled());
  QTest::mouseClick(apply, Qt::LeftButton);
  EXPECT_EQ(window()[1], 256);
  EXPECT_EQ(window()[3], 512);
  EXPECT_EQ(control<QLineEdit>(dialog, 1007)->text(), "256");
  EXPECT_FALSE(apply->isEnabled());
  EXPECT_TRUE(waitFor([&] { return mainFrame.got(WM_WINDOW_CHANGED); }));
}

// The mean of a frame's bytes: brighter pictures have larger means.
double meanLevel(const plat::VideoFrame& frame) {
  double sum = 0;
  for (BYTE b : frame.bytes) sum += b;
  return frame.bytes.empty() ? 0 : sum / static_cast<double>(frame.bytes.size());
}

class Streaming : public OptionDialogs {
 protected:
  Streaming() : OptionDialogs({{"KELLIB3_SIZE", "640x480"}}) {}
};

TEST_F(Streaming, TheLivePictureFollowsADraggedSlider) {
  rig.setCameraScalar(kExposure, 0, 50, kUnitUs);
  rig.setCameraScalar(kGain, 0, 1, 0);
  ASSERT_TRUE(rig.graph.BuildSetupGraph()) << rig.graph.GetLastErrorText();
  plat::VideoFrame frame;
  ASSERT_TRUE(waitFor([&] { return plat::readNewestFrame(rig.graph.Renderer(), frame); }));
  const double dim = meanLevel(frame);

  auto* gain = block->add<CScalarPropertyDialog>(kGain, 0, "Усиление", "", Sett::ApplyImmediately);
  auto* slider = control<QSlider>(gain, 1011);
  slider->setSliderDown(true);
  for (int position = 2; position <= 8; ++position) {
    slider->setSliderPosition(position);
    EXPECT_EQ(rig.cameraScalar(kGain, 0, 0), position) << "each move of the drag reaches the camera";
  }
  const std::uint64_t seen = frame.counter;
  EXPECT_TRUE(waitFor([&] {
    plat::readNewestFrame(rig.graph.Renderer(), frame);
    return frame.counter > seen && meanLevel(frame) > 1.3 * dim;
  })) << "still dragging, the picture is brighter: " << dim << " -> " << meanLevel(frame);
  slider->setSliderDown(false);
  EXPECT_TRUE(rig.log().empty()) << rig.log().front();
}

class RefusedValue : public OptionDialogs {
 protected:
  RefusedValue() : OptionDialogs({{"KELLIB3_FAIL", "KelLib3OptionRelScalar:1"}}) {}
};

TEST_F(RefusedValue, ShowsTheCamerasValueAndLogsOnce) {
  auto* gain = block->add<CScalarPropertyDialog>(kGain, 0, "Усиление", "", Sett::ApplyImmediately);
  const QString before = QString::number(rig.cameraScalar(kGain, 0, 0));
  auto* edit = control<QLineEdit>(gain, 1001);
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Up);
  EXPECT_EQ(edit->text(), before) << "never the step the camera refused";
  // The shell's line carries the property's own description; the camera's
  // reason is in the filter's box.
  ASSERT_EQ(rig.log().size(), 1u);
  EXPECT_NE(rig.log()[0].find("OptionScalar:No implementation\\Setting; Line: "), std::string::npos) << rig.log()[0];
  ASSERT_EQ(rig.boxes.boxes().size(), 1u);
  EXPECT_NE(rig.boxes.boxes()[0].text.find("KelLib3OptionRelScalar"), std::string::npos);

  // Out of range the camera takes its own limit, which is what shows.
  gain->ApplyRecord(std::to_string(kGain) + ";" + optionName(rig.graph, kGain) + ";99;ед.");
  EXPECT_EQ(control<QLineEdit>(gain, 1001)->text(), QString::number(rig.cameraScalar(kGain, 0, 0)));
  EXPECT_EQ(control<QLineEdit>(gain, 1001)->text(), "16");
}

TEST_F(OptionDialogs, TheEnumListsTheItemsAndWritesTheChoice) {
  auto* stop = block->add<CEnumPropertyDialog>(kStopEvent, 0, "Событие остановки ввода", "", Sett::ApplyImmediately);
  auto* combo = control<QComboBox>(stop, 1013);
  ASSERT_EQ(combo->count(), 3);
  const std::int32_t before = rig.cameraEnum(kStopEvent);
  const int other = combo->currentIndex() == 0 ? 1 : 0;
  combo->setCurrentIndex(other);
  emit combo->activated(other);
  EXPECT_NE(rig.cameraEnum(kStopEvent), before);
  stop->RefreshControls();
  EXPECT_EQ(combo->currentIndex(), other) << "the camera took the chosen item";
  EXPECT_TRUE(waitFor([&] { return block->got(WM_SETTING_CHANGED); }));
}

}  // namespace
}  // namespace kel::test
