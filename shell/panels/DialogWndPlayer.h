// The player panel of preview mode: plays the film in grabber memory
// forwards or backwards at 0.1x to 2.0x, steps frame by frame, jumps to
// either end, and shows the frame number and the play state.
#pragma once
#include <QTimer>
#include <QWidget>

#include "shell/panels/PlaybackControl.h"

class CGraph;
class CSmartBitmapButton;
class QLabel;
class QSlider;

class CDialogWndPlayer : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kToStart = 32779;
  static constexpr int kFrameBack = 32780;
  static constexpr int kPlayBack = 32781;
  static constexpr int kStop = 32782;
  static constexpr int kPlayForward = 32783;
  static constexpr int kFrameForward = 32784;
  static constexpr int kToEnd = 32785;
  static constexpr int kTimerId = 110;

  explicit CDialogWndPlayer(CGraph& graph, QWidget* parent = nullptr);

  int PlayState() const { return playState_; }
  double Rate() const { return rate_; }

 private:
  void buildControls();
  void open(CGraph& graph);
  void command(int id);
  void toStart();
  void toEnd();
  void frameBack();
  void frameForward();
  void play(int state);
  void stop();
  void onPositionSlider(int action);
  void onSpeedSlider();
  void onTimer();
  void showState();
  void showFrame();
  std::int64_t length() const { return playback_.last() - playback_.first(); }

  PlaybackControl playback_;
  int playState_ = 0;
  double rate_ = 1.0;
  QTimer timer_{this};
  QSlider* position_ = nullptr;
  QSlider* speed_ = nullptr;
  QLabel* state_ = nullptr;
  QLabel* frame_ = nullptr;
};
