// The save-film dialog of save mode: the output file and the compressor,
// the start and abort of a save, its progress bar (driven by the filter
// through the bar's own window handle) and the unattended save that the
// shell's profile can ask for. It builds the save graph when it opens.
#pragma once
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/avi/save_interfaces.h"
#include "shell/app/WindowBinding.h"
#include "shell/panels/OwnedEvent.h"

class CGraph;
class CProgressBarWindow;
class QComboBox;
class QLineEdit;
class QPushButton;

class CSaveParamsDialog : public QWidget {
  Q_OBJECT
 public:
  struct Context {
    CGraph& graph;
    std::filesystem::path ini;  // the shell's profile
  };

  // The dialog template's size in dialog units.
  static constexpr int kWidthDlu = 194;
  static constexpr int kHeightDlu = 101;
  static constexpr int kStartCommand = 1;
  static constexpr int kAbortCommand = 2;
  static constexpr int kBrowseCommand = 1122;
  static constexpr int kSettingsCommand = 1134;
  static constexpr int kTimerId = 113;
  static constexpr int kTimerMs = 100;

  explicit CSaveParamsDialog(Context context, QWidget* parent = nullptr);
  ~CSaveParamsDialog() override;

  HWND hwnd() const { return binding_.hwnd(); }
  // From a successful start until the end of the save has been handled.
  bool Saving() const { return saving_; }

  void Start();
  void Abort();
  // The save-file dialog; false when cancelled.
  bool Browse();
  void ShowCompressorSettings();

 signals:
  // The save is over and the dialog idle again; `finished`: the filter
  // wrote the whole film.
  void SaveEnded(bool finished);

 private:
  void buildControls();
  void initialise();
  void applyFilmMarks();
  void fillCompressors();
  bool buildGraph();
  void bindCompressor();
  void createEndEvent();
  void startUnattended();
  void onCompressorChosen(int index);
  // Steps 1-3 of a start: the name to save under, or none.
  std::optional<std::string> outputName();
  void onTimer();
  void endSave();
  void showError(const std::string& text);

  Context context_;
  WindowBinding binding_{this};
  OwnedEvent endEvent_;
  ComPtr<IAMVfwCompressDialogs> compressorDialogs_;
  QTimer timer_{this};
  bool saving_ = false;
  QLineEdit* name_ = nullptr;
  QPushButton* browse_ = nullptr;
  QComboBox* compressors_ = nullptr;
  QPushButton* settings_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* abort_ = nullptr;
  CProgressBarWindow* bar_ = nullptr;
};
