// The recorder panel of input mode: it builds and runs the input graph as
// soon as it opens, shows the first and last frame in grabber memory and,
// when the recording stops after a known number of frames, a progress bar.
// When the filter signals the end of the recording it marks the film and
// sends the main frame on to preview, or to save mode with AUTOSAVE.
#pragma once
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "platform/com/unknown.h"
#include "shared/property_interfaces.h"
#include "shell/panels/OwnedEvent.h"

class CGraph;
class CSmartBitmapButton;
class QLabel;
class QProgressBar;

class CDialogWndRecoder : public QWidget {
  Q_OBJECT
 public:
  struct Context {
    CGraph& graph;
    std::filesystem::path ini;
    // Posts a main-frame command; it runs after the current event.
    std::function<void(int command)> postCommand;
  };

  static constexpr int kStartCommand = 32786;
  static constexpr int kStopCommand = 32787;
  static constexpr int kTimerId = 107;
  static constexpr int kTimerMs = 100;

  CDialogWndRecoder(Context context, QWidget* parent = nullptr);
  ~CDialogWndRecoder() override;

  void Start();
  void Stop();
  // Stops an armed recording, starts one otherwise.
  void Toggle();
  bool Armed() const { return static_cast<bool>(endEvent_); }

 private:
  void buildControls();
  void open();
  void onTimer();
  void showRange();
  void finish();
  void disarm();

  Context context_;
  ComPtr<IScalarProperty> framePosition_;
  OwnedEvent endEvent_;
  bool showProgress_ = false;
  int autoSave_ = 0;
  QTimer timer_{this};
  CSmartBitmapButton* start_ = nullptr;
  CSmartBitmapButton* stop_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* min_ = nullptr;
  QLabel* max_ = nullptr;
  QLabel* memory_ = nullptr;
};
