// CMainFrame: the shell's one top-level window. It lays out the camera
// column, the settings column and the log, keeps the mode code and
// switches modes by replacing the views (whose creation builds the mode's
// graph), and owns the zoom, the background-subtraction switch, the preset
// menu and the shutter-safety and temperature timers.
#pragma once
#include <QMainWindow>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "shell/app/CamView.h"
#include "shell/app/MainFrameUi.h"
#include "shell/app/WindowBinding.h"

class CGraph;
class CLogView;
class CHorSplitter;
class CVerSplitter;
class CModeView;
class CPresetCommands;
class ISetupPanel;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  // Enters set-up mode while it is built; `ini` is the shell's profile.
  CMainFrame(CGraph& graph, std::filesystem::path ini);
  ~CMainFrame() override;

  HWND hwnd() const { return binding_.hwnd(); }
  int ModeCode() const { return mode_; }
  int Zoom() const { return zoom_; }
  bool TextOnButtons() const { return textOnButtons_; }
  bool BackgroundSubtraction() const { return subtraction_; }

  QAction* Command(int id) const { return ui_.command(id); }
  CCamView* CamView() const { return cam_; }
  CLogView* LogView() const { return log_; }
  // The mode panel in row 0 of the player splitter; null in set-up mode.
  QWidget* ModePanel() const { return panel_; }
  // The settings column's current widget.
  QWidget* SettingsColumn() const;
  // The set-up settings panel while set-up mode shows it, else null.
  ISetupPanel* SetupPanel() const;
  CPresetCommands& Presets() const { return *presets_; }

  // Brings the commands' enabled and ticked states up to date, as before a
  // menu opens.
  void UpdateCommandUI();
  void RefreshCapacity();

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void connectCommands();
  void onModeSetup();
  void onModeInput();
  void onModePreview();
  void onModeSave();
  void onLoadBackground();
  void onToggleSubtraction();
  void onTextOnButtons();
  void onZoom(int zoom);
  void onAbout();
  void onShutterSafety();
  void onTemperature();
  bool askAnotherScene();
  // The marks of the old film go when a new scene is set up or recorded.
  void forgetFilm();
  bool cameraHasShutter() const;
  void buildPresetMenu();
  void firstLayout();
  void replaceColumns(const std::function<std::unique_ptr<CCamView>()>& makeCam,
                      const std::function<QWidget*()>& makeColumn1);
  CCamView::Context camContext();
  // The mode panel `top` over the mode's settings view.
  QWidget* playerColumn(QWidget* top, int panelHeight, QWidget* settings);
  // Runs a command once the current event is handled, as a posted command
  // would: a panel asking for a mode switch is gone by then.
  void postCommand(int id);

  CGraph& graph_;
  std::filesystem::path ini_;
  WindowBinding binding_{this};
  int mode_ = 1;
  int zoom_ = -1;
  bool textOnButtons_ = false;
  bool subtraction_ = false;
  bool backgroundTaken_ = false;
  bool laidOut_ = false;
  bool destroyed_ = false;
  CHorSplitter* hor_ = nullptr;
  CVerSplitter* ver_ = nullptr;
  CLogView* log_ = nullptr;
  CCamView* cam_ = nullptr;
  QWidget* panel_ = nullptr;
  CModeView* panelView_ = nullptr;
  MainFrameUi ui_{this};
  std::unique_ptr<CPresetCommands> presets_;
  QTimer shutterTimer_{this};
  QTimer temperatureTimer_{this};
};
