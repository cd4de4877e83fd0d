#include "shell/app/MainFrameUi.h"

#include <QActionGroup>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "shell/app/ToolbarIcons.h"
#include "shell/app/commands.h"

namespace {
constexpr int kPaneSpaces = 104;
constexpr QSize kButtonSize(100, 32);
}  // namespace

MainFrameUi::MainFrameUi(QMainWindow* frame) {
  buildMenus(frame);
  buildToolbar(frame);
  buildStatusBar(frame);
}

QAction* MainFrameUi::command(int id) const {
  const auto it = commands.find(id);
  return it == commands.end() ? nullptr : it->second;
}

QAction* MainFrameUi::add(QMainWindow* frame, int id, const QString& text, const QString& prompt) {
  auto* action = new QAction(text, frame);
  action->setObjectName(QString::number(id));
  if (!prompt.isEmpty()) action->setStatusTip(prompt);
  // Shortcuts work whichever child has the focus.
  action->setShortcutContext(Qt::WindowShortcut);
  frame->addAction(action);
  commands[id] = action;
  return action;
}

void MainFrameUi::buildMenus(QMainWindow* frame) {
  QMenuBar* bar = frame->menuBar();
  QMenu* file = bar->addMenu("&Файл");
  file->addAction(add(frame, Cmd::kExit, "Выхо&д", "Выход из программы"));

  QMenu* view = bar->addMenu("&Вид");
  QMenu* toolbars = view->addMenu("&Панель инструментов");
  QAction* toolbar = add(frame, Cmd::kToolbar, "Панель &режимов", "Показать или скрыть панель режимов");
  toolbar->setCheckable(true);
  toolbars->addAction(toolbar);
  QAction* text = add(frame, Cmd::kTextOnButtons, "&Текст на кнопках");
  text->setCheckable(true);
  toolbars->addAction(text);
  QAction* status = add(frame, Cmd::kStatusBar, "&Строка состояния", "Показать или скрыть строку состояния");
  status->setCheckable(true);
  view->addAction(status);
  QMenu* zoom = view->addMenu("&Масштаб");
  zoomGroup = new QActionGroup(frame);
  const struct {
    int id;
    const char* text;
    QKeySequence key;
  } zooms[] = {{Cmd::kZoomFit, "Полностью \tCtrl + 0", QKeySequence(Qt::CTRL | Qt::Key_0)},
               {Cmd::kZoom800, "800% \tCtrl + 8", QKeySequence(Qt::CTRL | Qt::Key_8)},
               {Cmd::kZoom400, "400% \tCtrl + 4", QKeySequence(Qt::CTRL | Qt::Key_4)},
               {Cmd::kZoom200, "200% \tCtrl + 2", QKeySequence(Qt::CTRL | Qt::Key_2)},
               {Cmd::kZoom100, "100% \tCtrl + 1", QKeySequence(Qt::CTRL | Qt::Key_1)}};
  for (const auto& z : zooms) {
    QAction* a = add(frame, z.id, z.text);
    a->setShortcut(z.key);
    a->setCheckable(true);
    zoomGroup->addAction(a);
    zoom->addAction(a);
  }

  QMenu* mode = bar->addMenu("&Режим");
  const struct {
    int id;
    const char* text;
    Qt::Key key;
    const char* prompt;
  } modes[] = {{Cmd::kModeSetup, "Настройка камеры", Qt::Key_F5, "Перейти врежим настройки камеры"},
               {Cmd::kModeInput, "Ввод изображения", Qt::Key_F6, "Перейти в режим ввода изображения"},
               {Cmd::kModePreview, "Просмотр фильма", Qt::Key_F7, "Перйти в режим просмотра фильма"},
               {Cmd::kModeSave, "Сохранить в файл", Qt::Key_F8, "Перейти в режим сохранения фильма в файл"}};
  for (const auto& m : modes) {
    QAction* a = add(frame, m.id, m.text, m.prompt);
    a->setShortcut(QKeySequence(m.key));
    a->setCheckable(true);
    mode->addAction(a);
  }
  mode->addSeparator();
  QAction* subtraction = add(frame, Cmd::kBackgroundSubtraction, "Влючить вычитание фона");
  subtraction->setCheckable(true);
  mode->addAction(subtraction);
  QAction* load = add(frame, Cmd::kLoadBackground, "Загрузить фон\tCtrl+L");
  load->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  mode->addAction(load);

  presets = bar->addMenu("&Наборы настроек");
  presets->addAction(add(frame, Cmd::kNewPreset, "Создать набор"));
  presets->addAction(add(frame, Cmd::kDeletePreset, "Удалить набор..."));
  presets->addSeparator();
  loadPreset = presets->addMenu("Загрузить набор");
  editPreset = presets->addMenu("Изменить набор");

  QMenu* help = bar->addMenu("&Помощь");
  help->addAction(add(frame, Cmd::kAbout, "&О программе...", "Сведения о программе и камере"));
}

void MainFrameUi::buildToolbar(QMainWindow* frame) {
  toolbar = new QToolBar("Панель режимов", frame);
  toolbar->setObjectName("128");
  toolbar->setMovable(false);
  toolbar->setIconSize(QSize(24, 24));
  frame->addToolBar(Qt::TopToolBarArea, toolbar);
  const struct {
    int id;
    const char* text;
    const char* tip;
    QIcon (*icon)();
  } buttons[] = {{Cmd::kModeSetup, "Настройка камеры", "Режим настройки камеры", ToolbarIcons::Setup},
                 {Cmd::kModeInput, "Ввод изображения", "Режим ввода изображения", ToolbarIcons::Input},
                 {Cmd::kModePreview, "Просмотр", "Режим просмотра фильма", ToolbarIcons::Preview},
                 {0, nullptr, nullptr, nullptr},
                 {Cmd::kModeSave, "Сохранить в файл", "Режим сохранения фильма в файл", ToolbarIcons::Save},
                 {0, nullptr, nullptr, nullptr},
                 {Cmd::kBackgroundSubtraction, "Вычитание фона", nullptr, ToolbarIcons::Subtraction},
                 {Cmd::kLoadBackground, "Загрузить фон", nullptr, ToolbarIcons::LoadBackground}};
  for (const auto& b : buttons) {
    if (!b.text) {
      toolbar->addSeparator();
      continue;
    }
    QAction* a = command(b.id);
    a->setIconText(b.text);
    a->setIcon(b.icon());
    // The menus keep their own texts; the tooltip is the button's alone.
    a->setToolTip(b.tip ? QString(b.tip) : QString(b.text));
    toolbar->addAction(a);
    if (QWidget* button = toolbar->widgetForAction(a)) button->setMinimumSize(kButtonSize);
  }
}

void MainFrameUi::buildStatusBar(QMainWindow* frame) {
  QStatusBar* status = frame->statusBar();
  status->setObjectName("59393");
  capacity = new QLabel(frame);
  capacity->setObjectName("capacity");
  temperature = new QLabel(frame);
  temperature->setObjectName("temperature");
  for (QLabel* pane : {capacity, temperature}) {
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    pane->setMinimumWidth(PaneWidth(pane));
    status->addPermanentWidget(pane);
  }
}

int MainFrameUi::PaneWidth(const QLabel* pane) {
  return pane->fontMetrics().horizontalAdvance(QString(kPaneSpaces, QChar(' ')));
}
