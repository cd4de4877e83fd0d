#include "shell/app/MainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "platform/win/messages.h"
#include "platform/win/window_table.h"
#include "shared/camera_interfaces.h"
#include "shell/app/AboutDlg.h"
#include "shell/app/CamView.h"
#include "shell/app/LogViewWnd.h"
#include "shell/app/MessageBoxes.h"
#include "shell/app/ModeView.h"
#include "shell/app/PresetCommands.h"
#include "shell/app/Splitters.h"
#include "shell/app/VideoWindow.h"
#include "shell/app/commands.h"
#include "shell/settings_ui/SettingBlock.h"
#include "shell/settings_ui/SettingsUiState.h"
#include "shell/settings_ui/SetupPanel.h"
#include "shell/app/status_texts.h"
#include "shell/graph/Graph.h"

namespace {
// Each zoom command and the zoom value it sets.
constexpr std::pair<int, int> kZooms[] = {
    {Cmd::kZoomFit, -1}, {Cmd::kZoom800, 800}, {Cmd::kZoom400, 400}, {Cmd::kZoom200, 200}, {Cmd::kZoom100, 100}};
}  // namespace

CMainFrame::CMainFrame(CGraph& graph, std::filesystem::path ini) : graph_(graph), ini_(std::move(ini)) {
  setObjectName("CMainFrame");
  setWindowTitle("WinKelOrvoShell");
  // The client area first: set-up mode is entered before the bars are live.
  hor_ = new CHorSplitter(this);
  ver_ = new CVerSplitter(hor_);
  log_ = new CLogView(graph_, hor_);
  log_->SetMainFrame(hwnd());
  hor_->addWidget(ver_);
  hor_->addWidget(log_);
  // The log row keeps its height and the settings column its width; the
  // picture takes what a resize gives or takes.
  hor_->setStretchFactor(0, 1);
  hor_->setStretchFactor(1, 0);
  setCentralWidget(hor_);
  graph_.SetLogWindow(log_->hwnd());
  // The property dialogs tell these windows what their changes mean.
  SettingsUi::State().mainFrame = hwnd();
  SettingsUi::State().logPane = log_->hwnd();
  ver_->addWidget(new QWidget(ver_));
  ver_->addWidget(new QWidget(ver_));
  ver_->setStretchFactor(0, 1);
  ver_->setStretchFactor(1, 0);

  shutterTimer_.setObjectName(QString::number(Timer::kShutterSafety));
  shutterTimer_.setInterval(Timer::kShutterSafetyMs);
  connect(&shutterTimer_, &QTimer::timeout, this, [this] { onShutterSafety(); });
  temperatureTimer_.setObjectName(QString::number(Timer::kTemperature));
  temperatureTimer_.setInterval(Timer::kTemperatureMs);
  connect(&temperatureTimer_, &QTimer::timeout, this, [this] { onTemperature(); });

  presets_ = std::make_unique<CPresetCommands>(
      CPresetCommands::Context{this, ui_.loadPreset, ui_.editPreset, graph_, [this] { return SetupPanel(); }});
  connectCommands();
  onModeSetup();

  textOnButtons_ = false;
  onTextOnButtons();
  buildPresetMenu();
  if (QScreen* screen = QApplication::primaryScreen()) setGeometry(screen->availableGeometry());
  RefreshCapacity();
  ComPtr<ICamera2> camera;
  if (graph_.GetCamera2(camera.put()) && StatusTexts::Temperature(camera.get())) {
    onTemperature();
    temperatureTimer_.start();
  }
  UpdateCommandUI();
}

CMainFrame::~CMainFrame() {
  SettingsUi::State().mainFrame = nullptr;
  SettingsUi::State().logPane = nullptr;
  if (!destroyed_) graph_.Destroy();
  ShellBoxes::SetMainWindow(nullptr);
}

void CMainFrame::closeEvent(QCloseEvent* e) {
  // The graph stops before the views holding its renderer go.
  destroyed_ = true;
  graph_.Destroy();
  shutterTimer_.stop();
  temperatureTimer_.stop();
  QMainWindow::closeEvent(e);
}

QWidget* CMainFrame::SettingsColumn() const { return ver_->widget(1); }

ISetupPanel* CMainFrame::SetupPanel() const { return dynamic_cast<ISetupPanel*>(SettingsColumn()); }

void CMainFrame::connectCommands() {
  const auto on = [this](int id, auto handler) {
    connect(Command(id), &QAction::triggered, this, [this, handler] {
      (this->*handler)();
      UpdateCommandUI();
    });
  };
  on(Cmd::kModeSetup, &CMainFrame::onModeSetup);
  on(Cmd::kModeInput, &CMainFrame::onModeInput);
  on(Cmd::kModePreview, &CMainFrame::onModePreview);
  on(Cmd::kModeSave, &CMainFrame::onModeSave);
  on(Cmd::kLoadBackground, &CMainFrame::onLoadBackground);
  on(Cmd::kBackgroundSubtraction, &CMainFrame::onToggleSubtraction);
  on(Cmd::kTextOnButtons, &CMainFrame::onTextOnButtons);
  on(Cmd::kAbout, &CMainFrame::onAbout);
  connect(Command(Cmd::kExit), &QAction::triggered, this, &QWidget::close);
  connect(Command(Cmd::kNewPreset), &QAction::triggered, this, [this] { presets_->New(); });
  connect(Command(Cmd::kDeletePreset), &QAction::triggered, this, [this] { presets_->Delete(); });
  connect(Command(Cmd::kToolbar), &QAction::triggered, this, [this](bool on) {
    ui_.toolbar->setVisible(on);
    UpdateCommandUI();
  });
  connect(Command(Cmd::kStatusBar), &QAction::triggered, this, [this](bool on) {
    statusBar()->setVisible(on);
    UpdateCommandUI();
  });
  for (const auto& [id, zoom] : kZooms)
    connect(Command(id), &QAction::triggered, this, [this, zoom] {
      onZoom(zoom);
      UpdateCommandUI();
    });
  // F10 opens the menu bar, whatever the keyboard layout does to the
  // Cyrillic mnemonics.
  auto* menuKey = new QAction(this);
  menuKey->setShortcut(QKeySequence(Qt::Key_F10));
  addAction(menuKey);
  connect(menuKey, &QAction::triggered, this, [this] {
    if (!menuBar()->actions().isEmpty()) menuBar()->setActiveAction(menuBar()->actions().first());
  });
  for (QMenu* menu : menuBar()->findChildren<QMenu*>())
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::UpdateCommandUI() {
  const bool setup = mode_ == Mode::kSetup;
  const auto set = [this](int id, bool enabled, bool checked) {
    QAction* a = Command(id);
    a->setEnabled(enabled);
    if (a->isCheckable()) a->setChecked(checked);
  };
  set(Cmd::kModeSetup, true, setup || mode_ == Mode::kSetupStopped);
  set(Cmd::kModeInput, true, mode_ == Mode::kInput);
  set(Cmd::kModePreview, graph_.filmRecorded, mode_ == Mode::kPreview);
  set(Cmd::kModeSave, mode_ == Mode::kPreview || mode_ == Mode::kSave, mode_ == Mode::kSave);
  set(Cmd::kLoadBackground, subtraction_ && setup, false);
  set(Cmd::kBackgroundSubtraction, setup, subtraction_);
  set(Cmd::kTextOnButtons, ui_.toolbar->isVisibleTo(this) || !isVisible(), textOnButtons_);
  set(Cmd::kToolbar, true, ui_.toolbar->isVisibleTo(this) || !isVisible());
  set(Cmd::kStatusBar, true, statusBar()->isVisibleTo(this) || !isVisible());
  set(Cmd::kNewPreset, setup, false);
  for (const auto& [id, zoom] : kZooms) set(id, true, zoom_ == zoom);
}

void CMainFrame::postCommand(int id) {
  QTimer::singleShot(0, this, [this, id] {
    // The automatic save goes to save mode whatever the save command's
    // state; the other commands run only when enabled, as from a menu.
    if (id == Cmd::kAutoSave) {
      onModeSave();
    } else {
      UpdateCommandUI();
      if (QAction* a = Command(id); a && a->isEnabled()) a->trigger();
    }
    UpdateCommandUI();
  });
}

void CMainFrame::onTextOnButtons() {
  textOnButtons_ = !textOnButtons_;
  ui_.toolbar->setToolButtonStyle(textOnButtons_ ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
}

void CMainFrame::onZoom(int zoom) {
  zoom_ = zoom;
  if (cam_) cam_->VideoWindow()->SizeFor(zoom_);
}

void CMainFrame::onAbout() {
  ComPtr<ICamera2> camera;
  graph_.GetCamera2(camera.put());
  CAboutDlg about(camera.get(), this);
  about.exec();
}

void CMainFrame::RefreshCapacity() {
  ComPtr<ICamera2> camera;
  if (!graph_.GetCamera2(camera.put())) return;
  if (const auto text = StatusTexts::Capacity(camera.get())) ui_.capacity->setText(QString::fromStdString(*text));
}

void CMainFrame::onTemperature() {
  ComPtr<ICamera2> camera;
  if (!graph_.GetCamera2(camera.put())) return;
  if (const auto text = StatusTexts::Temperature(camera.get()))
    ui_.temperature->setText(QString::fromStdString(*text));
}

void CMainFrame::buildPresetMenu() { presets_->Rebuild(); }

void CMainFrame::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!laidOut_) firstLayout();
}

void CMainFrame::firstLayout() {
  laidOut_ = true;
  const QSize client = centralWidget()->size();
  const int logHeight = client.height() / 3;
  hor_->setSizes({client.height() - logHeight, logHeight});
  // The settings column as wide as its blocks, plus the frame and scroll
  // bar of the view that holds them.
  const int settings = CSettingBlock::TemplateWidth(fontMetrics()) +
                       4 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) +
                       style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const int camera = std::max(0, client.width() - settings);
  ver_->setSizes({camera, client.width() - camera});
}

bool CMainFrame::event(QEvent* e) {
  WinMessageEvent* m = AsWinMessage(e);
  if (!m) return QMainWindow::event(e);
  switch (m->message) {
    case WM_PRESETS_CHANGED: buildPresetMenu(); break;
    case WM_TOGGLE_RECORDING:
      if (panelView_) plat::postMessage(panelView_->hwnd(), WM_TOGGLE_RECORDING, m->wParam, m->lParam);
      break;
    case WM_PERIOD_CHANGED: {
      ComPtr<ICamera2> camera;
      int time = 0, frames = 0, visible = 0;
      if (graph_.GetCamera2(camera.put()) && SUCCEEDED(camera->GetSetupOptions(&time, &frames, &visible)))
        camera->SetVisibleFrameTime(time);
      break;
    }
    case WM_WINDOW_CHANGED: RefreshCapacity(); break;
    default: break;
  }
  return true;
}
