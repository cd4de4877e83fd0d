// The dialogs of the picture and the film against the virtual camera: what
// the operator's clicks and drags leave in the camera, and what the
// controls show.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

#include "platform/dshow/guids.h"
#include "platform/dshow/media_type.h"
#include "platform/graph/graph_topology.h"
#include "platform/kernel/event_handles.h"
#include "shell/app/LogViewWnd.h"
#include "shell/graph/Graph.h"
#include "shell/settings/SettingsHost.h"
#include "shell/settings_ui/ContrastPropertyDialog.h"
#include "shell/settings_ui/FragmentPropertyDialog.h"
#include "shell/settings_ui/GammaCorrectionPropertyDialog.h"
#include "shell/settings_ui/OverlayFontDialog.h"
#include "shell/settings_ui/SaveFilmParamsPropertyDialog.h"
#include "shell/settings_ui/SettingsUiState.h"
#include "shell/settings_ui/ShiftLevelPropertyDialog.h"
#include "shell/settings_ui/SummationPropertyDialog.h"
#include "shell/settings_ui/WhiteBalancePropertyDialog.h"
#include "shell/settings_ui/overlay_font.h"
#include "tests/shell/qt_helpers.h"
#include "tests/shell/shell_host.h"

namespace kel::test {
namespace {

class PictureDialogs : public ::testing::Test {
 protected:
  explicit PictureDialogs(const char* sensor = "mono")
      : host({{"KELLIB3_SENSOR", sensor}, {"KELLIB3_SIZE", "160x40"}, {"KELLIB3_TIME_SCALE", "1000"}}) {}
  void SetUp() override {
    ASSERT_TRUE(graph.Create()) << graph.GetLastErrorText();
    // Connecting the pin tells the filter whether the sensor has colour.
    ASSERT_TRUE(graph.BuildSetupGraph()) << graph.GetLastErrorText();
    ASSERT_TRUE(graph.GetCamera2(camera.put()));
  }
  void TearDown() override {
    SettingsUi::State().logPane = nullptr;
    // The filter's settings live as long as the process.
    if (camera) {
      camera->SetSummation(0);
      camera->SetLevels(0, 255);
      camera->SetGamma(0);
      camera->SetDigitalGain(0);
      camera->SetWhiteBalance(0, 0);
      camera->SetOverlayEnabled(0);
      camera->SetWriteInfoFile(0);
    }
    camera.reset();
    graph.Destroy();
  }
  template <class Dialog>
  std::unique_ptr<Dialog> open() {
    auto dialog = std::make_unique<Dialog>();
    EXPECT_TRUE(dialog->Create(&block));
    return dialog;
  }
  template <class T>
  static T* control(QWidget* dialog, int id) {
    return dialog->findChild<T*>(QString::number(id));
  }
  static QString caption(QWidget* dialog) { return control<QGroupBox>(dialog, 1010)->title(); }
  // Rows of the picture the renderer is connected for.
  LONG pictureHeight() {
    const auto pins = plat::pinsOf(graph.Renderer());
    AM_MEDIA_TYPE mt{};
    if (pins.empty() || pins[0]->ConnectionMediaType(&mt) != S_OK) return -1;
    const LONG height = reinterpret_cast<const VIDEOINFO*>(mt.pbFormat)->bmiHeader.biHeight;
    FreeMediaType(mt);
    return height;
  }
  std::pair<int, int> levels() {
    int black = -1, white = -1;
    EXPECT_EQ(camera->GetLevels(&black, &white), S_OK);
    return {black, white};
  }

  ShellHost host;
  CGraph graph;
  Sett::SettingStore store;
  Sett::FilmMarks marks;
  Sett::Host settings{graph, store, marks};
  ComPtr<ICamera2> camera;
  QWidget block;
};

class ColourCamera : public PictureDialogs {
 protected:
  ColourCamera() : PictureDialogs("bayer") {}
};

TEST_F(PictureDialogs, WhiteBalanceOnAMonochromeCameraIsMarkedUnsupportedAndDisabled) {
  auto wb = open<CWhiteBalancePropertyDialog>();
  EXPECT_FALSE(wb->Supported());
  EXPECT_EQ(caption(wb.get()), "Баланс белого / не поддерживается /");
  for (int id : {1158, 1159, 1160, 1161, 1162, 1163, 1186, 1165})
    EXPECT_FALSE(control<QWidget>(wb.get(), id)->isEnabled()) << id;
}

TEST_F(ColourCamera, WhiteBalanceReachesTheCameraAndTheNextDialogShowsTheLastState) {
  ASSERT_EQ(camera->SetWhiteBalanceGains(0, 0, 0), S_OK);
  auto wb = open<CWhiteBalancePropertyDialog>();
  ASSERT_TRUE(wb->Supported());
  EXPECT_EQ(caption(wb.get()), "Баланс белого");
  auto* red = control<QSlider>(wb.get(), 1161);
  EXPECT_EQ(red->maximum(), 255);
  EXPECT_EQ(red->pageStep(), 5);
  EXPECT_FALSE(control<QRadioButton>(wb.get(), 1160)->isEnabled()) << "off: no choice of mode";
  control<QCheckBox>(wb.get(), 1158)->click();
  EXPECT_TRUE(control<QRadioButton>(wb.get(), 1160)->isEnabled());
  EXPECT_FALSE(red->isEnabled()) << "automatic: no gains to set";
  control<QRadioButton>(wb.get(), 1160)->click();
  ASSERT_TRUE(red->isEnabled());
  EXPECT_TRUE(control<QPushButton>(wb.get(), 1165)->isEnabled());

  int r = -1, g = -1, b = -1;
  red->setValue(55);
  ASSERT_EQ(camera->GetWhiteBalanceGains(&r, &g, &b), S_OK);
  EXPECT_EQ(std::tuple(r, g, b), std::tuple(200, 255, 255)) << "a slider shows 255 minus the gain";

  ASSERT_EQ(camera->SetWhiteBalanceGains(10, 20, 30), S_OK);
  control<QPushButton>(wb.get(), 1165)->click();
  EXPECT_EQ(red->value(), 245);
  EXPECT_EQ(control<QSlider>(wb.get(), 1163)->value(), 225);
  ASSERT_EQ(camera->GetWhiteBalanceGains(&r, &g, &b), S_OK);
  EXPECT_EQ(std::tuple(r, g, b), std::tuple(10, 20, 30));

  wb.reset();
  wb = open<CWhiteBalancePropertyDialog>();
  EXPECT_TRUE(control<QCheckBox>(wb.get(), 1158)->isChecked());
  EXPECT_TRUE(control<QRadioButton>(wb.get(), 1160)->isChecked());
  EXPECT_EQ(control<QSlider>(wb.get(), 1162)->value(), 235);
}

TEST_F(PictureDialogs, SummationHalvesThePictureThroughTheLogPanesRestart) {
  CLogView log(graph, nullptr);
  SettingsUi::State().logPane = log.hwnd();
  ASSERT_EQ(pictureHeight(), 40);
  auto sum = open<CSummationPropertyDialog>();
  EXPECT_EQ(caption(sum.get()), "Суммирование");
  control<QCheckBox>(sum.get(), 1166)->click();
  EXPECT_TRUE(waitFor([&] { return pictureHeight() == 20; })) << pictureHeight();

  sum.reset();
  sum = open<CSummationPropertyDialog>();
  ASSERT_TRUE(control<QCheckBox>(sum.get(), 1166)->isChecked()) << "the choice outlives the panel";
  control<QCheckBox>(sum.get(), 1166)->click();
  EXPECT_TRUE(waitFor([&] { return pictureHeight() == 40; })) << pictureHeight();
}

TEST_F(PictureDialogs, ContrastSlidersNeverShowBlackAtOrAboveWhite) {
  ASSERT_EQ(camera->SetLevels(100, 200), S_OK);
  auto contrast = open<CContrastPropertyDialog>();
  EXPECT_EQ(caption(contrast.get()), "Контрастность");
  auto* black = control<QSlider>(contrast.get(), 1167);
  auto* white = control<QSlider>(contrast.get(), 1168);
  EXPECT_EQ(std::pair(black->value(), white->value()), std::pair(100, 200));

  struct Move {
    QSlider* slider;
    int to;
    std::pair<int, int> shown;
  };
  const Move moves[] = {
      {black, 150, {150, 200}},  // nothing to push
      {black, 230, {230, 231}},  // black pushes white
      {black, 255, {254, 255}},  // white at its end: black gives way
      {white, 120, {119, 120}},  // white pushes black
      {white, 0, {0, 1}},        // black at its end: white gives way
  };
  for (const Move& move : moves) {
    move.slider->setValue(move.to);
    EXPECT_EQ(std::pair(black->value(), white->value()), move.shown) << (move.slider == black ? "black " : "white ")
                                                                      << move.to;
    EXPECT_EQ(levels(), move.shown);
  }
}

TEST_F(PictureDialogs, GammaAndDigitalGainStartFromTheCameraAndWriteToIt) {
  ASSERT_EQ(camera->SetGamma(1), S_OK);
  ASSERT_EQ(camera->SetDigitalGain(3), S_OK);
  auto gamma = open<CGammaCorrectionPropertyDialog>();
  auto gain = open<CShiftLevelPropertyDialog>();
  EXPECT_EQ(caption(gamma.get()), "Гамма коррекция");
  EXPECT_EQ(caption(gain.get()), "Цифровое усиление");
  ASSERT_TRUE(control<QCheckBox>(gamma.get(), 1171)->isChecked());
  control<QCheckBox>(gamma.get(), 1171)->click();
  int value = -1;
  EXPECT_EQ(camera->GetGamma(&value), S_OK);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(graphState(graph.Graph()), State_Running) << "stopped and run again, not left stopped";

  auto* spin = control<QSpinBox>(gain.get(), 1176);
  ASSERT_NE(control<QLineEdit>(gain.get(), 1175), nullptr);
  EXPECT_EQ(spin->value(), 3);
  spin->stepBy(2);
  EXPECT_EQ(camera->GetDigitalGain(&value), S_OK);
  EXPECT_EQ(value, 5);
  spin->stepBy(10);
  EXPECT_EQ(camera->GetDigitalGain(&value), S_OK);
  EXPECT_EQ(value, 8) << "no more than 8";
}

TEST_F(PictureDialogs, SaveParametersEnableTheOverlayControlsAndTheFontGoesToTheCamera) {
  auto save = open<CSaveFilmParamsPropertyDialog>();
  EXPECT_EQ(caption(save.get()), "Сохранять парамеры фильма");
  auto* overlay = control<QCheckBox>(save.get(), 1136);
  auto* font = control<QPushButton>(save.get(), 1149);
  EXPECT_FALSE(overlay->isChecked());
  EXPECT_TRUE(control<QCheckBox>(save.get(), 1138)->isChecked());
  EXPECT_FALSE(font->isEnabled());
  EXPECT_FALSE(control<QRadioButton>(save.get(), 1148)->isEnabled());
  overlay->click();
  EXPECT_TRUE(font->isEnabled());
  EXPECT_TRUE(control<QRadioButton>(save.get(), 1140)->isEnabled());

  // The dialog opens on the camera's font, at first the stock one.
  QFont chosen = SettingsUi::FontFromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  chosen.setPointSize(24);
  chosen.setBold(true);
  QFont selected;
  whenModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<COverlayFontDialog*>(modal);
    if (!dialog) {
      ADD_FAILURE() << "not the font dialog";
      modal->close();
      return;
    }
    dialog->SetFont(chosen);
    dialog->SetColour(QColor(10, 200, 30));
    selected = dialog->SelectedFont();
    dialog->accept();
  });
  font->click();
  HFONT handle = nullptr;
  COLORREF colour = 0;
  ASSERT_EQ(camera->GetOverlayFont(&handle, &colour), S_OK);
  EXPECT_EQ(colour, RGB(10, 200, 30));
  LOGFONTW description{};
  ASSERT_EQ(GetObjectW(handle, sizeof description, &description), static_cast<int>(sizeof description));
  EXPECT_EQ(description.lfWeight, FW_BOLD);
  EXPECT_EQ(description.lfHeight, -QFontInfo(selected).pixelSize());
  EXPECT_EQ(SettingsUi::FontFromHandle(handle).family(), chosen.family());

  // A cancelled choice leaves the camera's font.
  whenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
  font->click();
  HFONT after = nullptr;
  ASSERT_EQ(camera->GetOverlayFont(&after, &colour), S_OK);
  EXPECT_EQ(after, handle);
  // The next test starts from the stock font again.
  ASSERT_EQ(camera->SetOverlayFont(nullptr, RGB(255, 255, 255)), S_OK);
  DeleteObject(handle);
}

// A film of 100 frames recorded as the recorder panel records it, then the
// preview graph on it.
class FilmDialogs : public PictureDialogs {
 protected:
  void SetUp() override {
    PictureDialogs::SetUp();
    if (HasFatalFailure()) return;
    for (const auto& [option, value] : {std::pair{0x400004, 4}, std::pair{0x400005, 37}}) {
      ComPtr<IEnumProperty> property;
      ASSERT_TRUE(graph.GetEnumProperty(option, property.put()));
      ASSERT_EQ(property->SetValue(value), S_OK);
    }
    ASSERT_TRUE(graph.BuildInputGraph(100)) << graph.GetLastErrorText();
    HANDLE end = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    camera->SetEndEvent(end);
    ASSERT_TRUE(graph.Run());
    const bool ended = waitFor([&] { return WaitForSingleObject(end, 0) == WAIT_OBJECT_0; }, 30000);
    camera->SetEndEvent(nullptr);
    CloseHandle(end);
    ASSERT_TRUE(ended);
    ASSERT_TRUE(graph.Stop());
    ASSERT_TRUE(graph.BuildPreviewGraph()) << graph.GetLastErrorText();
    ASSERT_TRUE(graph.GetSeeking(seeking.putVoid()));
    ASSERT_EQ(seeking->GetRange(&first, &TIME_FORMAT_FRAME, &last, &TIME_FORMAT_FRAME), S_OK);
    ASSERT_EQ(last - first + 1, 100);
  }
  void TearDown() override {
    seeking.reset();
    PictureDialogs::TearDown();
  }
  static void type(QLineEdit* edit, long long number) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QString::number(number));
    QTest::keyClick(edit, Qt::Key_Return);
  }
  static LONGLONG shown(QLineEdit* edit) { return edit->text().toLongLong(); }

  ComPtr<IMediaSeekingLocal> seeking;
  LONGLONG first = -1, last = -1;
};

TEST_F(FilmDialogs, FragmentKeepsFromBelowToWithinTheFilmAndLeavesItInTheFilmMarks) {
  auto fragment = open<CFragmentPropertyDialog>();
  block.show();
  block.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&block));
  auto* from = control<QLineEdit>(fragment.get(), 1129);
  auto* to = control<QLineEdit>(fragment.get(), 1130);
  EXPECT_EQ(caption(fragment.get()), "");
  EXPECT_EQ(std::pair(shown(from), shown(to)), std::pair(first, last)) << "no marks: the whole film";

  type(from, last + 50);
  EXPECT_EQ(std::pair(shown(from), shown(to)), std::pair(last, last)) << "above the film: its last frame";
  type(to, first + 20);
  EXPECT_EQ(std::pair(shown(from), shown(to)), std::pair(first + 19, first + 20)) << "to pushes from down";
  type(from, first + 30);
  EXPECT_EQ(std::pair(shown(from), shown(to)), std::pair(first + 30, first + 31)) << "from pushes to up";
  type(to, 0);
  EXPECT_EQ(std::pair(shown(from), shown(to)), std::pair(first, first)) << "below the film: its first frame";

  // Typing alone takes nothing; leaving the edit does.
  from->setFocus();
  from->selectAll();
  QTest::keyClicks(from, QString::number(first + 5));
  EXPECT_EQ(fragment->From(), first) << "typing alone takes nothing";
  to->setFocus();
  EXPECT_TRUE(waitFor([&] { return fragment->From() == first + 5; }));
  EXPECT_EQ(shown(to), first + 6);

  ASSERT_EQ(seeking->SetCurrentPosition(first + 40, &TIME_FORMAT_FRAME), S_OK);
  control<QPushButton>(fragment.get(), 1132)->click();
  EXPECT_EQ(std::pair(shown(from), shown(to)), std::pair(first + 5, first + 40));
  ASSERT_EQ(seeking->SetCurrentPosition(first + 12, &TIME_FORMAT_FRAME), S_OK);
  control<QPushButton>(fragment.get(), 1131)->click();
  EXPECT_EQ(std::pair(shown(from), shown(to)), std::pair(first + 12, first + 40));

  fragment.reset();
  ASSERT_TRUE(marks.Film());
  EXPECT_EQ(marks.Film()->first, first + 12);
  EXPECT_EQ(marks.Film()->last, first + 40);

  // The next dialog starts from the marks and can still reach the whole film.
  fragment = open<CFragmentPropertyDialog>();
  from = control<QLineEdit>(fragment.get(), 1129);
  EXPECT_EQ(shown(from), first + 12);
  type(from, first + 2);
  EXPECT_EQ(shown(from), first + 2);
}

}  // namespace
}  // namespace kel::test
