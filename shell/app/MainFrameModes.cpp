// The main frame's mode switches, background subtraction and shutter
// safety stop.
#include <QApplication>
#include <QScrollArea>

#include "platform/win/message_box.h"
#include "shared/camera_interfaces.h"
#include "shell/app/CamView.h"
#include "shell/app/LogStore.h"
#include "shell/app/MainFrame.h"
#include "shell/app/MessageBoxes.h"
#include "shell/app/Splitters.h"
#include "shell/app/commands.h"
#include "shell/graph/Graph.h"
#include "shell/graph/graph_pins.h"
#include "shell/panels/PlayerView.h"
#include "shell/panels/RecoderView.h"
#include "shell/settings/SettingsHost.h"
#include "shell/settings_ui/SaveParamsView.h"
#include "shell/settings_ui/StockSettings.h"

namespace {
constexpr LONG kShutterVoltageOption = 0x400022;
}  // namespace

bool CMainFrame::askAnotherScene() {
  return ShellBoxes::Show(this, "Перейти к записи другого сюжета?", "WinKelOrvoShell", MB_YESNO | MB_ICONQUESTION) ==
         IDYES;
}

bool CMainFrame::cameraHasShutter() const {
  ComPtr<ICamera> camera;
  ComPtr<IScalarProperty> voltage;
  return graph_.GetCamera(camera.put()) && SUCCEEDED(camera->GetScalar(kShutterVoltageOption, 0, voltage.put())) &&
         voltage;
}

void CMainFrame::replaceColumns(const std::function<std::unique_ptr<CCamView>()>& makeCam,
                                const std::function<QWidget*()>& makeColumn1) {
  setUpdatesEnabled(false);
  const QList<int> sizes = ver_->sizes();
  // The old views go before the new camera view is made: their destruction
  // detaches the renderer from the old video window and releases the
  // panels, and must not undo what the new window sets up.
  cam_ = nullptr;
  panel_ = nullptr;
  panelView_ = nullptr;
  delete ver_->replaceWidget(1, new QWidget);
  delete ver_->replaceWidget(0, new QWidget);
  std::unique_ptr<CCamView> cam = makeCam();
  // A view whose graph could not be built leaves its cell empty.
  if (cam) {
    cam_ = cam.get();
    delete ver_->replaceWidget(0, cam.release());
  }
  // The mode panel comes after the camera view: opening the recorder
  // builds and runs the input graph.
  QWidget* column1 = makeColumn1();
  delete ver_->replaceWidget(1, column1);
  if (CPlayerSplitter* player = dynamic_cast<CPlayerSplitter*>(column1)) {
    panel_ = player->widget(0);
    panelView_ = dynamic_cast<CModeView*>(panel_);
  }
  if (laidOut_) ver_->setSizes(sizes);
  setUpdatesEnabled(true);
}

QWidget* CMainFrame::playerColumn(QWidget* top, int panelHeight, QWidget* settings) {
  auto* player = new CPlayerSplitter;
  player->addWidget(top);
  player->addWidget(settings);
  player->setStretchFactor(0, 0);
  player->setStretchFactor(1, 1);
  const int available = std::max(0, ver_->height());
  panelHeight = std::min(panelHeight, available);
  player->setSizes({panelHeight, std::max(0, available - panelHeight)});
  return player;
}

CCamView::Context CMainFrame::camContext() {
  return {graph_, ini_, [this] { return zoom_; }, hwnd()};
}

void CMainFrame::forgetFilm() {
  if (Sett::Host* host = Sett::Host::Current()) host->marks.ForgetFilm();
}

void CMainFrame::onModeSetup() {
  if (mode_ == Mode::kSetup) return;
  if (graph_.filmRecorded && !askAnotherScene()) return;
  forgetFilm();
  if (subtraction_) graph_.EnableBackgroundSubtraction(FALSE);
  if (mode_ == Mode::kSetupStopped) {
    // The views are still there; only the live picture comes back.
    if (!graph_.BuildSetupGraph()) LogError(".\\MainFrameModes", __LINE__, graph_.GetLastErrorText());
  } else {
    graph_.filmRecorded = false;
    replaceColumns([this] { return CSetupCamView::Create(camContext()); },
                   [] { return new StockSettings::CSetupSettingView; });
  }
  mode_ = Mode::kSetup;
  if (cameraHasShutter()) shutterTimer_.start();
  if (subtraction_) graph_.EnableBackgroundSubtraction(TRUE);
}

void CMainFrame::onModeInput() {
  if (mode_ == Mode::kSetup) graph_.Stop();
  if (mode_ == Mode::kInput) return;
  if (graph_.filmRecorded && !askAnotherScene()) return;
  forgetFilm();
  // The safety stop guards the live set-up picture only.
  shutterTimer_.stop();
  mode_ = Mode::kInput;
  graph_.filmRecorded = false;
  replaceColumns([this] { return CInputCamView::Create(camContext()); },
                 [this] {
                   auto* recorder = new CRecoderView({graph_, ini_, [this](int id) { postCommand(id); }});
                   // The panel's own height, plus the frame of its scroll view.
                   const int height = recorder->widget()->height() + 2 * recorder->frameWidth();
                   return playerColumn(recorder, height, new StockSettings::CInputSettingView);
                 });
  ComPtr<ICamera2> camera;
  if (graph_.GetCamera2(camera.put())) camera->SetTestMode(FALSE);
  if (panel_) panel_->setFocus();
}

void CMainFrame::onModePreview() {
  if (mode_ == Mode::kPreview) return;
  shutterTimer_.stop();
  mode_ = Mode::kPreview;
  replaceColumns([this] { return CPreviewCamView::Create(camContext()); },
                 [this] {
                   auto* player = new CPlayerView(graph_);
                   const int height = player->widget()->height() + 2 * player->frameWidth();
                   return playerColumn(player, height, new StockSettings::CPreviewSettingView);
                 });
}

void CMainFrame::onModeSave() {
  if (mode_ == Mode::kSave) return;
  shutterTimer_.stop();
  mode_ = Mode::kSave;
  replaceColumns([this] { return CSaveFilmCamView::Create(camContext()); },
                 [this] {
                   auto* save = new CSaveParamsView({graph_, ini_});
                   return playerColumn(save, save->FittingHeight(), new StockSettings::CSaveSettingView);
                 });
}

void CMainFrame::onLoadBackground() {
  // A new background is taken as the graph starts again.
  graph_.Stop();
  if (!graph_.Run()) LogError(".\\MainFrameModes", __LINE__, graph_.GetLastErrorText());
  backgroundTaken_ = true;
}

void CMainFrame::onToggleSubtraction() {
  subtraction_ = !subtraction_;
  graph_.EnableBackgroundSubtraction(subtraction_ ? TRUE : FALSE);
  if (subtraction_ && !backgroundTaken_) onLoadBackground();
}

void CMainFrame::onShutterSafety() {
  QApplication::beep();
  shutterTimer_.stop();
  graph_.Stop();
  try {
    GraphPins::RemoveAllFilters(graph_.Graph(), nullptr);
  } catch (const COMERR::CErrorBase& e) {
    LogError(".\\MainFrameModes", __LINE__, e.text());
  }
  mode_ = Mode::kSetupStopped;
  UpdateCommandUI();
}
