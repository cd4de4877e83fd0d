#include "shell/panels/DialogWndPlayer.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <algorithm>
#include <cmath>

#include "shell/app/SmartBitmapButton.h"
#include "shell/graph/Graph.h"
#include "shell/panels/PanelIcons.h"
#include "shell/panels/player_labels.h"
#include "shell/settings/SettingsHost.h"

namespace {
constexpr int kTimerMs = 1;
constexpr int kSpeedSteps = 20;  // 0.1 .. 2.0
// Seven buttons fit the settings column's width.
constexpr int kIconSize = 20;

struct PlayerButton {
  int id;
  const char* prompt;
  QIcon (*icon)();
};
constexpr PlayerButton kButtons[] = {
    {CDialogWndPlayer::kToStart, "В начало", PanelIcons::ToStart},
    {CDialogWndPlayer::kFrameBack, "На кадр назад", PanelIcons::FrameBack},
    {CDialogWndPlayer::kPlayBack, "Просмотр назад", PanelIcons::PlayBack},
    {CDialogWndPlayer::kStop, "Стоп", PanelIcons::StopPlaying},
    {CDialogWndPlayer::kPlayForward, "Просмотр вперед", PanelIcons::PlayForward},
    {CDialogWndPlayer::kFrameForward, "На кадр вперед", PanelIcons::FrameForward},
    {CDialogWndPlayer::kToEnd, "В конец", PanelIcons::ToEnd},
};

// Cyan on black in a bold face, as the three labels are drawn.
QLabel* displayLabel(const char* id) {
  auto* label = new QLabel;
  label->setObjectName(id);
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPixelSize(17);
  font.setBold(true);
  label->setFont(font);
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, Qt::black);
  palette.setColor(QPalette::WindowText, QColor(0, 255, 255));
  label->setPalette(palette);
  return label;
}
}  // namespace

CDialogWndPlayer::CDialogWndPlayer(CGraph& graph, QWidget* parent) : QWidget(parent) {
  setObjectName("CDialogWndPlayer");
  timer_.setObjectName(QString::number(kTimerId));
  timer_.setInterval(kTimerMs);
  connect(&timer_, &QTimer::timeout, this, [this] { onTimer(); });
  buildControls();
  open(graph);
}

void CDialogWndPlayer::buildControls() {
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(2);
  for (const PlayerButton& entry : kButtons) {
    auto* button = new CSmartBitmapButton(entry.icon(), entry.prompt);
    button->setObjectName(QString::number(entry.id));
    button->setIconSize(QSize(kIconSize, kIconSize));
    button->setMinimumWidth(0);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(button, &QPushButton::clicked, this, [this, id = entry.id] { command(id); });
    buttons->addWidget(button);
  }
  position_ = new QSlider(Qt::Horizontal);
  position_->setObjectName("1110");
  speed_ = new QSlider(Qt::Horizontal);
  speed_->setObjectName("1111");
  state_ = displayLabel("1115");
  auto* caption = displayLabel("1116");
  caption->setText("Кадр №:");
  frame_ = displayLabel("1117");

  auto* grid = new QGridLayout(this);
  grid->addLayout(buttons, 0, 0, 1, 3);
  grid->addWidget(position_, 1, 0, 1, 3);
  grid->addWidget(new QLabel("Rate"), 2, 0);
  grid->addWidget(speed_, 2, 1, 1, 2);
  grid->addWidget(state_, 3, 0, 1, 3);
  grid->addWidget(caption, 4, 0, 1, 2);
  grid->addWidget(frame_, 4, 2);
}

void CDialogWndPlayer::open(CGraph& graph) {
  playback_.Start(graph);
  position_->setRange(0, static_cast<int>(length()));
  position_->setPageStep(static_cast<int>(length() / 10));
  timer_.start();
  rate_ = playback_.Rate();
  speed_->setRange(1, kSpeedSteps);
  speed_->setPageStep(1);
  speed_->setValue(static_cast<int>(std::trunc(std::fabs(rate_ * 10))));
  playback_.Pause();
  playState_ = PlayerLabels::kStopped;
  const Sett::Host* host = Sett::Host::Current();
  const auto film = host ? host->marks.Film() : std::nullopt;
  if (film) {
    playback_.Seek(film->first);
    position_->setValue(static_cast<int>(film->first - playback_.first()));
  } else {
    playback_.Seek(playback_.first());
    position_->setValue(0);
  }
  showState();
  showFrame();
  // Connected last: setting up the sliders is no user's move.
  connect(position_, &QAbstractSlider::actionTriggered, this, [this](int action) { onPositionSlider(action); });
  connect(speed_, &QAbstractSlider::valueChanged, this, [this] { onSpeedSlider(); });
}

void CDialogWndPlayer::command(int id) {
  switch (id) {
    case kToStart: toStart(); break;
    case kFrameBack: frameBack(); break;
    case kPlayBack: play(PlayerLabels::kBackwards); break;
    case kStop: stop(); break;
    case kPlayForward: play(PlayerLabels::kForwards); break;
    case kFrameForward: frameForward(); break;
    case kToEnd: toEnd(); break;
    default: break;
  }
}

void CDialogWndPlayer::toStart() {
  playback_.ReadPosition();
  playback_.setCurrent(playback_.first());
  playback_.SetPosition(playback_.first());
  position_->setValue(0);
  showFrame();
}

void CDialogWndPlayer::toEnd() {
  playback_.ReadPosition();
  playback_.setCurrent(playback_.last());
  playback_.SetPosition(playback_.last());
  position_->setValue(static_cast<int>(length()));
  showFrame();
}

void CDialogWndPlayer::frameBack() {
  if (position_->value() <= 0) return;
  playback_.ReadPosition();
  if (playback_.current() > playback_.first()) {
    playback_.setCurrent(playback_.current() - 1);
    playback_.SetPosition(playback_.current());
  }
  position_->setValue(position_->value() - 1);
  showFrame();
}

void CDialogWndPlayer::frameForward() {
  if (position_->value() >= length()) return;
  playback_.ReadPosition();
  if (playback_.current() < playback_.last()) {
    playback_.setCurrent(playback_.current() + 1);
    playback_.SetPosition(playback_.current());
  }
  position_->setValue(position_->value() + 1);
  showFrame();
}

void CDialogWndPlayer::play(int state) {
  if (playState_ == state) return;
  const bool backwards = state == PlayerLabels::kBackwards;
  if (backwards ? rate_ > 0 : rate_ < 0) {
    rate_ = -rate_;
    playback_.SetRate(rate_);
  }
  playback_.Resume();
  playState_ = state;
  showState();
}

void CDialogWndPlayer::stop() {
  if (playState_ == PlayerLabels::kStopped) return;
  playback_.Pause();
  playState_ = PlayerLabels::kStopped;
  showState();
}

void CDialogWndPlayer::onPositionSlider(int action) {
  // Steps, pages and the thumb move the film; the ends of the bar do not.
  if (action == QAbstractSlider::SliderNoAction || action == QAbstractSlider::SliderToMinimum ||
      action == QAbstractSlider::SliderToMaximum)
    return;
  const std::int64_t p = std::max(0, position_->sliderPosition());
  playback_.Seek(playback_.first() + std::min(p, length()));
  showFrame();
}

void CDialogWndPlayer::onSpeedSlider() {
  const double speed = speed_->value() * 0.1;
  rate_ = rate_ > 0 ? speed : -speed;
  playback_.SetRate(rate_);
  showState();
}

void CDialogWndPlayer::onTimer() {
  if (playState_ == PlayerLabels::kStopped) return;
  playback_.ReadPosition();
  const std::int64_t offset = playback_.current() - playback_.first();
  if (offset == position_->value()) return;
  position_->setValue(static_cast<int>(offset));
  showFrame();
}

void CDialogWndPlayer::showState() { state_->setText(PlayerLabels::State(playState_, rate_)); }

void CDialogWndPlayer::showFrame() { frame_->setText(PlayerLabels::Frame(playback_.current())); }
