// The main frame as the operator uses it: its menus and accelerators, the
// commands' states in each mode, the question before another scene, the
// shutter safety stop, and the status panes.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QToolBar>

#include "platform/win/messages.h"
#include "platform/win/window_table.h"
#include "shell/app/CamView.h"
#include "shell/app/LogViewWnd.h"
#include "shell/app/MainFrame.h"
#include "shell/app/commands.h"
#include "shell/app/status_texts.h"
#include "shell/graph/Graph.h"
#include "tests/shell/frame_fixture.h"
#include "tests/shell/qt_helpers.h"
#include "tests/shell/shell_host.h"

namespace kel::test {
namespace {

using Names = std::vector<std::string>;

class MainFrameTest : public FrameFixture {
 protected:
  explicit MainFrameTest(std::vector<std::pair<std::string, std::string>> vars = {}) : FrameFixture(std::move(vars)) {}
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(FrameFixture::SetUp());
    ASSERT_NO_FATAL_FAILURE(openFrame());
  }
  QAction* command(int id) { return frame->Command(id); }
  void trigger(int id) {
    frame->UpdateCommandUI();
    ASSERT_TRUE(command(id)->isEnabled()) << id;
    command(id)->trigger();
  }
  // Enabled and ticked states of the commands, as "id:E/-" + "T/-".
  std::string states(std::initializer_list<int> ids) {
    frame->UpdateCommandUI();
    std::string out;
    for (int id : ids) {
      QAction* a = command(id);
      out += std::to_string(id) + ":" + (a->isEnabled() ? "E" : "-") + (a->isChecked() ? "T" : "-") + " ";
    }
    return out;
  }
};

TEST_F(MainFrameTest, MenusCarryTheirTextsAndAccelerators) {
  QStringList titles;
  for (QAction* a : frame->menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&Файл", "&Вид", "&Режим", "&Наборы настроек", "&Помощь"}));
  const struct {
    int id;
    const char* text;
    QKeySequence key;
  } expected[] = {
      {32775, "Настройка камеры", QKeySequence(Qt::Key_F5)},
      {32776, "Ввод изображения", QKeySequence(Qt::Key_F6)},
      {32777, "Просмотр фильма", QKeySequence(Qt::Key_F7)},
      {32778, "Сохранить в файл", QKeySequence(Qt::Key_F8)},
      {33797, "Загрузить фон\tCtrl+L", QKeySequence(Qt::CTRL | Qt::Key_L)},
      {33794, "Влючить вычитание фона", QKeySequence()},
      {206, "&Текст на кнопках", QKeySequence()},
      {59392, "Панель &режимов", QKeySequence()},
      {59393, "&Строка состояния", QKeySequence()},
      {222, "Полностью \tCtrl + 0", QKeySequence(Qt::CTRL | Qt::Key_0)},
      {214, "800% \tCtrl + 8", QKeySequence(Qt::CTRL | Qt::Key_8)},
      {215, "400% \tCtrl + 4", QKeySequence(Qt::CTRL | Qt::Key_4)},
      {216, "200% \tCtrl + 2", QKeySequence(Qt::CTRL | Qt::Key_2)},
      {218, "100% \tCtrl + 1", QKeySequence(Qt::CTRL | Qt::Key_1)},
      {243, "Создать набор", QKeySequence()},
      {33000, "Удалить набор...", QKeySequence()},
      {57665, "Выхо&д", QKeySequence()},
      {57664, "&О программе...", QKeySequence()},
  };
  for (const auto& e : expected) {
    QAction* a = command(e.id);
    ASSERT_NE(a, nullptr) << e.id;
    EXPECT_EQ(a->text(), e.text) << e.id;
    EXPECT_EQ(a->shortcut(), e.key) << e.id;
  }
  EXPECT_EQ(command(32775)->statusTip(), "Перейти врежим настройки камеры");
  EXPECT_EQ(command(32777)->statusTip(), "Перйти в режим просмотра фильма");
}

TEST_F(MainFrameTest, ToolbarShowsButtonTextsAndModeTooltipsAndTheTextCanBeSwitchedOff) {
  auto* toolbar = frame->findChild<QToolBar*>("128");
  ASSERT_NE(toolbar, nullptr);
  QStringList texts, tips;
  for (QAction* a : toolbar->actions()) {
    if (a->isSeparator()) continue;
    texts << a->iconText();
    tips << a->toolTip();
  }
  EXPECT_EQ(texts, (QStringList{"Настройка камеры", "Ввод изображения", "Просмотр", "Сохранить в файл",
                                "Вычитание фона", "Загрузить фон"}));
  EXPECT_EQ(tips.mid(0, 4), (QStringList{"Режим настройки камеры", "Режим ввода изображения", "Режим просмотра фильма",
                                         "Режим сохранения фильма в файл"}));
  EXPECT_EQ(toolbar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
  EXPECT_EQ(states({206}), "206:ET ");
  trigger(Cmd::kTextOnButtons);
  EXPECT_EQ(toolbar->toolButtonStyle(), Qt::ToolButtonIconOnly);
  EXPECT_EQ(states({206}), "206:E- ");
  trigger(Cmd::kToolbar);
  EXPECT_FALSE(toolbar->isVisible());
  EXPECT_EQ(states({206, 59392}), "206:-- 59392:E- ") << "no text switch for a hidden toolbar";
}

TEST_F(MainFrameTest, CommandStatesFollowTheMode) {
  const auto all = {32775, 32776, 32777, 32778, 33794, 33797, 243};
  EXPECT_EQ(frame->ModeCode(), 2);
  EXPECT_EQ(states(all), "32775:ET 32776:E- 32777:-- 32778:-- 33794:E- 33797:-- 243:E- ");
  trigger(Cmd::kBackgroundSubtraction);
  EXPECT_TRUE(frame->BackgroundSubtraction());
  EXPECT_EQ(states({33794, 33797}), "33794:ET 33797:E- ");
  trigger(Cmd::kBackgroundSubtraction);

  trigger(Cmd::kModeInput);
  EXPECT_EQ(frame->ModeCode(), 4);
  EXPECT_EQ(states(all), "32775:E- 32776:ET 32777:-- 32778:-- 33794:-- 33797:-- 243:-- ");
  EXPECT_EQ(graphState(graph.Graph()), State_Running) << "input mode starts recording at once";
  ASSERT_NE(frame->ModePanel(), nullptr);
  EXPECT_EQ(frame->ModePanel()->objectName(), "CRecoderView");
  EXPECT_EQ(frame->CamView()->objectName(), "CInputCamView");

  graph.filmRecorded = true;  // as the recorder panel marks a finished film
  EXPECT_EQ(states({32777, 32778}), "32777:E- 32778:-- ");
  trigger(Cmd::kModePreview);
  EXPECT_EQ(frame->ModeCode(), 8);
  EXPECT_EQ(frame->CamView()->objectName(), "CPreviewCamView");
  EXPECT_EQ(frame->ModePanel()->objectName(), "CPlayerView");
  EXPECT_EQ(states(all), "32775:E- 32776:E- 32777:ET 32778:E- 33794:-- 33797:-- 243:-- ");
  trigger(Cmd::kModeSave);
  EXPECT_EQ(frame->ModeCode(), 16);
  EXPECT_EQ(frame->CamView()->objectName(), "CSaveFilmCamView");
  EXPECT_EQ(frame->ModePanel()->objectName(), "CSaveParamsView");
  EXPECT_EQ(states(all), "32775:E- 32776:E- 32777:E- 32778:ET 33794:-- 33797:-- 243:-- ");
  trigger(Cmd::kModePreview);
  EXPECT_EQ(frame->ModeCode(), 8) << "save and preview switch without a question";
}

TEST_F(MainFrameTest, ModeKeysSwitchFromTheKeyboard) {
  QApplication::setActiveWindow(frame.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
  QTest::keyClick(frame.get(), Qt::Key_F6);
  EXPECT_EQ(frame->ModeCode(), 4);
  QTest::keyClick(frame.get(), Qt::Key_F5);
  EXPECT_EQ(frame->ModeCode(), 2);
  EXPECT_EQ(graphState(graph.Graph()), State_Running) << "set-up runs its live graph again";
  QTest::keyClick(frame.get(), Qt::Key_2, Qt::ControlModifier);
  EXPECT_EQ(frame->Zoom(), 200);
  QTest::keyClick(frame.get(), Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(frame->Zoom(), -1);
  // F10 opens the first menu; the arrows and Enter take it from there.
  QTest::keyClick(frame.get(), Qt::Key_F10);
  QMenu* file = frame->menuBar()->actions().first()->menu();
  ASSERT_TRUE(waitFor([&] { return file->isVisible(); }));
  file->hide();
}

TEST_F(MainFrameTest, AnotherSceneIsAskedForAndNoKeepsTheFilm) {
  trigger(Cmd::kModeInput);
  graph.filmRecorded = true;
  trigger(Cmd::kModePreview);
  QString question;
  whenModal([&](QWidget* box) {
    question = box->findChild<QLabel*>("qt_msgbox_label")->text();
    buttonWithText(box, "Нет")->click();
  });
  trigger(Cmd::kModeSetup);
  EXPECT_EQ(question, "Перейти к записи другого сюжета?");
  EXPECT_EQ(frame->ModeCode(), 8) << "No keeps preview";
  EXPECT_TRUE(graph.filmRecorded) << "and the film";
  EXPECT_EQ(frame->CamView()->objectName(), "CPreviewCamView");

  whenModal([&](QWidget* box) { buttonWithText(box, "Нет")->click(); });
  trigger(Cmd::kModeInput);
  EXPECT_EQ(frame->ModeCode(), 8);

  whenModal([&](QWidget* box) { buttonWithText(box, "Да")->click(); });
  trigger(Cmd::kModeSetup);
  EXPECT_EQ(frame->ModeCode(), 2);
  EXPECT_FALSE(graph.filmRecorded);
  EXPECT_EQ(frame->CamView()->objectName(), "CSetupCamView");
}

TEST_F(MainFrameTest, StatusPanesShowTheCapacityAndTheTemperature) {
  ComPtr<ICamera2> camera;
  ASSERT_TRUE(graph.GetCamera2(camera.put()));
  int frames = 0;
  ASSERT_EQ(camera->GetMaxFramesCount(&frames), S_OK);
  ComPtr<IScalarProperty> period;
  LONG fps = 0;
  ASSERT_EQ(camera->GetScalar(0x400003, 0, period.put()), S_OK);
  ASSERT_EQ(period->GetValue(&fps, 31), S_OK);
  ASSERT_GT(fps, 0);
  const auto* capacity = frame->findChild<QLabel*>("capacity");
  char expected[200];
  std::snprintf(expected, sizeof expected, "Доступно для записи: %d кадров (Время: %-6.2fсек.)", frames,
                static_cast<double>(frames) / fps);
  EXPECT_EQ(capacity->text().toStdString(), expected);
  EXPECT_GE(capacity->width(), capacity->fontMetrics().horizontalAdvance(QString(104, ' ')));

  const auto temperature = StatusTexts::Temperature(camera.get());
  ASSERT_TRUE(temperature);
  EXPECT_EQ(frame->findChild<QLabel*>("temperature")->text().toStdString(), *temperature);
  auto* timer = frame->findChild<QTimer*>("118");
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 1000);
}

TEST_F(MainFrameTest, ASmallerInputWindowShowsTheLargerCapacityWhenTheFrameIsTold) {
  ComPtr<ICamera2> camera;
  ASSERT_TRUE(graph.GetCamera2(camera.put()));
  const auto* capacity = frame->findChild<QLabel*>("capacity");
  const QString before = capacity->text();
  ComPtr<IRectProperty> window;
  ASSERT_TRUE(graph.GetRectProperty(0x400006, window.put())) << graph.GetLastErrorText();
  LONG x = 0, y = 0, w = 0, h = 0;
  ASSERT_EQ(window->GetValue(&x, &y, &w, &h), S_OK);
  ASSERT_EQ(window->SetValue(x, y, w, h / 2), S_OK);
  const auto expected = StatusTexts::Capacity(camera.get());
  ASSERT_TRUE(expected);
  ASSERT_NE(QString::fromStdString(*expected), before) << "half the rows leave room for more frames";
  EXPECT_EQ(capacity->text(), before) << "the pane changes only when told";
  ASSERT_TRUE(plat::postMessage(frame->hwnd(), WM_WINDOW_CHANGED, 0, 0));
  ASSERT_TRUE(waitFor([&] { return capacity->text() == QString::fromStdString(*expected); }));
}

TEST_F(MainFrameTest, TitleEndsWithTheProgramAndTheWindowFillsTheWorkArea) {
  EXPECT_TRUE(frame->windowTitle().endsWith("WinKelOrvoShell"));
  const QRect area = QApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(frame->size(), area.size());
  // Within whatever frame the window system draws round it.
  EXPECT_LE((frame->geometry().topLeft() - area.topLeft()).manhattanLength(), 8);
  auto* safety = frame->findChild<QTimer*>("116");
  ASSERT_NE(safety, nullptr);
  EXPECT_FALSE(safety->isActive()) << "no shutter, no safety timer";
  // The preset popups hold one greyed "Нет" until presets exist.
  for (const char* title : {"Загрузить набор", "Изменить набор"}) {
    QMenu* popup = nullptr;
    for (QMenu* m : frame->findChildren<QMenu*>())
      if (m->title() == title) popup = m;
    ASSERT_NE(popup, nullptr) << title;
    ASSERT_EQ(popup->actions().size(), 1);
    EXPECT_EQ(popup->actions()[0]->text(), "Нет");
    EXPECT_FALSE(popup->actions()[0]->isEnabled());
  }
}

class ShutterCameraTest : public MainFrameTest {
 protected:
  ShutterCameraTest() : MainFrameTest({{"KELLIB3_SHUTTER", "1"}}) {}
};

TEST_F(ShutterCameraTest, SafetyTimerStopsTheLivePictureAndSetUpBringsItBack) {
  auto* timer = frame->findChild<QTimer*>("116");
  ASSERT_NE(timer, nullptr);
  ASSERT_TRUE(timer->isActive()) << "a camera with a shutter gets the safety timer";
  EXPECT_EQ(timer->interval(), 120000);
  CCamView* view = frame->CamView();
  timer->setInterval(1);  // the two minutes pass at once
  ASSERT_TRUE(waitFor([&] { return frame->ModeCode() == 3; }));
  EXPECT_FALSE(timer->isActive());
  EXPECT_TRUE(filterNames(graph.Graph()).empty()) << "the graph is taken down";
  EXPECT_EQ(states({32775}), "32775:ET ");

  trigger(Cmd::kModeSetup);
  EXPECT_EQ(frame->ModeCode(), 2);
  EXPECT_EQ(filterNames(graph.Graph()), (Names{"Camera", "Renderer"}));
  EXPECT_EQ(graphState(graph.Graph()), State_Running);
  EXPECT_EQ(frame->CamView(), view) << "the views stay; only the graph is rebuilt";
  EXPECT_TRUE(timer->isActive());
}

}  // namespace
}  // namespace kel::test
