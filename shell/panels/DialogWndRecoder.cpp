#include "shell/panels/DialogWndRecoder.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>

#include "platform/kernel/last_error.h"
#include "shared/camera_interfaces.h"
#include "shell/app/LogStore.h"
#include "shell/app/ShellConfig.h"
#include "shell/app/SmartBitmapButton.h"
#include "shell/app/commands.h"
#include "shell/graph/Graph.h"
#include "shell/panels/PanelIcons.h"
#include "shell/settings/SettingsHost.h"

namespace {
constexpr const char* kUnit = ".\\DialogWndRecoder";
constexpr LONG kStopEventOption = 0x400005;
constexpr LONG kFramesToInputOption = 0x400007;
// The unit the frame count is written in.
constexpr UINT kFramesUnit = 6;
constexpr LONG kFramePositionOption = 0x400020;
// Stop events after which the recording ends by itself after the frames
// to input.
constexpr std::int32_t kStopAfterFrames[] = {37, 5};
constexpr DWORD kEndWaitMs = 10;
// Where the log says the start went wrong.
constexpr int kLineEventInvalid = 146;
constexpr int kLineEventExists = 149;
constexpr int kLineRun = 169;

// The stored value of a setting, as the settings panels left it.
template <class Entry>
const Entry* stored(const std::vector<Entry>& list, std::int32_t key) {
  const auto it = std::find_if(list.begin(), list.end(), [key](const Entry& e) { return e.key == key; });
  return it == list.end() ? nullptr : &*it;
}

bool stopsAfterFrames(std::int32_t stopEvent) {
  return std::find(std::begin(kStopAfterFrames), std::end(kStopAfterFrames), stopEvent) != std::end(kStopAfterFrames);
}

// The camera's stop event and frame count; true when the recording ends by
// itself after `frames`.
bool cameraInputPlan(CGraph& graph, int& frames) {
  ComPtr<IEnumProperty> stopEvent;
  ComPtr<IScalarProperty> count;
  LONG event = 0, value = 0;
  if (!graph.GetEnumProperty(kStopEventOption, stopEvent.put()) || FAILED(stopEvent->GetValue(&event)) ||
      !stopsAfterFrames(event))
    return false;
  if (!graph.GetScalarProperty(kFramesToInputOption, 0, count.put()) || FAILED(count->GetValue(&value, kFramesUnit)))
    return false;
  frames = static_cast<int>(value);
  return true;
}

QLabel* valueLabel(const char* id) {
  auto* label = new QLabel;
  label->setObjectName(id);
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Sunken);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance("0000000"));
  return label;
}
}  // namespace

CDialogWndRecoder::CDialogWndRecoder(Context context, QWidget* parent) : QWidget(parent), context_(std::move(context)) {
  setObjectName("CDialogWndRecoder");
  timer_.setObjectName(QString::number(kTimerId));
  timer_.setInterval(kTimerMs);
  connect(&timer_, &QTimer::timeout, this, [this] { onTimer(); });
  buildControls();
  open();
}

CDialogWndRecoder::~CDialogWndRecoder() {
  // Leaving input mode while armed drops the recording without marking a
  // film; the filter must not keep a handle that is about to close.
  disarm();
}

void CDialogWndRecoder::buildControls() {
  start_ = new CSmartBitmapButton(PanelIcons::Record(), "Начать запись");
  start_->setObjectName(QString::number(kStartCommand));
  stop_ = new CSmartBitmapButton(PanelIcons::StopRecording(), "Остановить запись");
  stop_->setObjectName(QString::number(kStopCommand));
  for (CSmartBitmapButton* b : {start_, stop_}) b->setIconSize(QSize(32, 32));
  connect(start_, &QPushButton::clicked, this, [this] { Start(); });
  connect(stop_, &QPushButton::clicked, this, [this] { Stop(); });

  progress_ = new QProgressBar;
  progress_->setObjectName("1173");
  progress_->setTextVisible(false);
  min_ = valueLabel("1106");
  max_ = valueLabel("1107");
  memory_ = valueLabel("1108");

  auto* group = new QGroupBox("Состояние ввода");
  auto* grid = new QGridLayout(group);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(start_);
  buttons->addWidget(stop_);
  buttons->addStretch();
  grid->addLayout(buttons, 0, 0, 1, 4);
  grid->addWidget(new QLabel("Мин"), 1, 0);
  grid->addWidget(min_, 1, 1);
  grid->addWidget(new QLabel("Макс"), 1, 2);
  grid->addWidget(max_, 1, 3);
  grid->addWidget(progress_, 2, 0, 1, 4);
  // The long caption over its number keeps the panel as narrow as the
  // settings column.
  auto* memoryCaption = new QLabel("Доступно памяти для записи (кадров)");
  memoryCaption->setWordWrap(true);
  grid->addWidget(memoryCaption, 3, 0, 1, 4);
  grid->addWidget(memory_, 4, 0, 1, 2);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(group);
}

void CDialogWndRecoder::open() {
  CGraph& graph = context_.graph;
  graph.filmRecorded = false;
  int framesToInput = 0;
  Sett::Host* host = Sett::Host::Current();
  const auto* stopEvent = host ? stored(host->store.enums, kStopEventOption) : nullptr;
  if (stopEvent) {
    showProgress_ = stopsAfterFrames(stopEvent->value);
    if (showProgress_) {
      const auto* frames = stored(host->store.scalars, kFramesToInputOption);
      framesToInput = frames ? frames->value : 0;
    }
  } else {
    // No settings panel has stored the input settings yet: the camera's own
    // are in force, so the film is the one they describe, not one frame
    // asked for by a count of 0.
    showProgress_ = cameraInputPlan(graph, framesToInput);
  }
  progress_->setRange(0, framesToInput);
  progress_->setValue(0);
  progress_->setVisible(showProgress_);

  if (graph.BuildInputGraph(framesToInput) && graph.GetScalarProperty(kFramePositionOption, 0, framePosition_.put())) {
    framePosition_->IsValid(0);
    Start();
  } else {
    framePosition_.reset();
    LogError(kUnit, __LINE__, graph.GetLastErrorText());
  }
  autoSave_ = ShellConfig::AutoSave(context_.ini);
  ComPtr<ICamera2> camera;
  int frames = 0;
  if (graph.GetCamera2(camera.put()) && SUCCEEDED(camera->GetMaxFramesCount(&frames)))
    memory_->setText(QString::number(frames));
}

void CDialogWndRecoder::Start() {
  if (Armed()) return;
  OwnedEvent event(CreateEvent(nullptr, FALSE, FALSE, nullptr));
  const DWORD error = GetLastError();
  if (error == ERROR_INVALID_FUNCTION) return LogError(kUnit, kLineEventInvalid, "CreateEvent: ERROR_INVALID_FUNCTION");
  if (error == ERROR_ALREADY_EXISTS) return LogError(kUnit, kLineEventExists, "CreateEvent: ERROR_ALREADY_EXISTS");
  if (error != ERROR_SUCCESS || !event) return;
  endEvent_ = std::move(event);
  stop_->setFocus();
  timer_.start();
  ComPtr<ICamera2> camera;
  if (context_.graph.GetCamera2(camera.put())) camera->SetEndEvent(endEvent_.get());
  if (!context_.graph.Run()) LogError(kUnit, kLineRun, context_.graph.GetLastErrorText());
}

void CDialogWndRecoder::Stop() {
  // The filter ends the recording and signals the end event; the timer
  // takes it from there.
  ComPtr<ICamera> camera;
  if (context_.graph.GetCamera(camera.put())) camera->StopCamera(FALSE);
}

void CDialogWndRecoder::Toggle() {
  if (Armed())
    Stop();
  else
    Start();
}

void CDialogWndRecoder::showRange() {
  LONG maximum = -1, minimum = -1;
  // A property that cannot answer skips this tick's display.
  if (!framePosition_ || FAILED(framePosition_->GetMaxValue(&maximum, 0)) ||
      FAILED(framePosition_->GetMinValue(&minimum, 0)))
    return;
  if (maximum == -1 || minimum == -1) return;
  if (showProgress_) progress_->setValue(static_cast<int>(maximum));
  min_->setText(QString::asprintf("%d", static_cast<int>(minimum)));
  max_->setText(QString::asprintf("%d", static_cast<int>(maximum)));
}

void CDialogWndRecoder::onTimer() {
  showRange();
  if (!Armed() || WaitForSingleObject(endEvent_.get(), kEndWaitMs) != WAIT_OBJECT_0) return;
  finish();
}

void CDialogWndRecoder::finish() {
  disarm();
  CGraph& graph = context_.graph;
  graph.filmRecorded = true;
  if (!autoSave_) {
    if (context_.postCommand) context_.postCommand(Cmd::kModePreview);
    return;
  }
  LONG first = -1, last = -1;
  if (framePosition_) {
    framePosition_->GetMinValue(&first, 0);
    framePosition_->GetMaxValue(&last, 0);
  }
  if (Sett::Host* host = Sett::Host::Current()) host->marks.SetFilm(first, last);
  ComPtr<ICamera2> camera;
  if (graph.GetCamera2(camera.put())) camera->SetWriteInfoFile(1);
  if (context_.postCommand) context_.postCommand(Cmd::kAutoSave);
}

void CDialogWndRecoder::disarm() {
  timer_.stop();
  if (!endEvent_) return;
  ComPtr<ICamera2> camera;
  if (context_.graph.GetCamera2(camera.put())) camera->SetEndEvent(nullptr);
  endEvent_.reset();
}
