// The save-film dialog's controls, its opening and the compressor choice.
#include "shell/settings_ui/SaveParamsDialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "platform/kernel/event_handles.h"
#include "platform/kernel/last_error.h"
#include "platform/win/message_box.h"
#include "shared/camera_interfaces.h"
#include "shell/app/ComErr.h"
#include "shell/app/dialog_units.h"
#include "shell/app/LogStore.h"
#include "shell/app/MessageBoxes.h"
#include "shell/app/ShellConfig.h"
#include "shell/graph/Graph.h"
#include "shell/settings/SettingsHost.h"
#include "shell/settings_ui/CompressorQualityDialog.h"
#include "shell/settings_ui/ProgressBarWindow.h"
#include "shell/settings_ui/SaveRunState.h"

namespace {
constexpr const char* kUnit = "SaveParamsDialog";
constexpr const char* kCaption = "WinKelOrvoShell";

QPushButton* commandButton(const QString& text, int id) {
  auto* button = new QPushButton(text);
  button->setObjectName(QString::number(id));
  return button;
}

// A group box holding one field and its "..." button.
QGroupBox* fieldGroup(const QString& title, QWidget* field, QPushButton* more) {
  auto* group = new QGroupBox(title);
  auto* row = new QHBoxLayout(group);
  row->addWidget(field, 1);
  more->setFixedWidth(more->fontMetrics().horizontalAdvance("....") + 12);
  row->addWidget(more);
  return group;
}
}  // namespace

CSaveParamsDialog::CSaveParamsDialog(Context context, QWidget* parent) : QWidget(parent), context_(std::move(context)) {
  setObjectName("CSaveParamsDialog");
  timer_.setObjectName(QString::number(kTimerId));
  timer_.setInterval(kTimerMs);
  connect(&timer_, &QTimer::timeout, this, [this] { onTimer(); });
  buildControls();
  initialise();
}

CSaveParamsDialog::~CSaveParamsDialog() {
  timer_.stop();
  // A save still running keeps streaming until the next graph is built;
  // the filter must not keep a handle that is about to close.
  ComPtr<ICamera2> camera;
  if (endEvent_ && context_.graph.GetCamera2(camera.put())) camera->SetEndEvent(nullptr);
}

void CSaveParamsDialog::buildControls() {
  name_ = new QLineEdit;
  name_->setObjectName("1121");
  browse_ = commandButton("...", kBrowseCommand);
  compressors_ = new QComboBox;
  compressors_->setObjectName("1133");
  settings_ = commandButton("...", kSettingsCommand);
  start_ = commandButton("Сохранить фильм", kStartCommand);
  start_->setDefault(true);
  abort_ = commandButton("Прервать", kAbortCommand);
  bar_ = new CProgressBarWindow;
  bar_->setObjectName("1123");
  bar_->hide();

  connect(browse_, &QPushButton::clicked, this, [this] { Browse(); });
  connect(settings_, &QPushButton::clicked, this, [this] { ShowCompressorSettings(); });
  connect(start_, &QPushButton::clicked, this, [this] { Start(); });
  connect(abort_, &QPushButton::clicked, this, [this] { Abort(); });
  // Enter in the name field is the default button's click.
  connect(name_, &QLineEdit::returnPressed, start_, &QPushButton::click);
  connect(compressors_, &QComboBox::activated, this, [this](int index) { onCompressorChosen(index); });

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(start_);
  buttons->addWidget(abort_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fieldGroup("Имя файла", name_, browse_));
  layout->addWidget(fieldGroup("Кодек", compressors_, settings_));
  layout->addLayout(buttons);
  layout->addWidget(bar_);
  layout->addStretch();
  // The bar appears under the buttons without moving them.
  QSizePolicy keep = bar_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  bar_->setSizePolicy(keep);
  setMinimumSize(DluX(fontMetrics(), kWidthDlu), DluY(fontMetrics(), kHeightDlu));
}

void CSaveParamsDialog::initialise() {
  abort_->setEnabled(false);
  applyFilmMarks();
  fillCompressors();
  if (buildGraph()) {
    bindCompressor();
    SaveUi::State().compressorChoice = compressors_->currentIndex();
    name_->setText(QString::fromStdString(SaveUi::State().lastFilmName));
  } else {
    showError(context_.graph.GetLastErrorText());
    name_->clear();
  }
  // Without an end event a save would never be seen to end, so there is
  // one even when the graph could not be built now: a compressor chosen
  // later may build it.
  createEndEvent();
  startUnattended();
}

void CSaveParamsDialog::applyFilmMarks() {
  Sett::Host* host = Sett::Host::Current();
  const auto film = host ? host->marks.Film() : std::nullopt;
  if (!film) return;
  ComPtr<ICamera2> camera;
  if (!context_.graph.GetCamera2(camera.put())) return;
  const HRESULT hr = camera->SetSaveRange(film->first, film->last);
  if (FAILED(hr)) LogError(kUnit, __LINE__, COMERR::CError<long>(hr).text());
}

void CSaveParamsDialog::fillCompressors() {
  std::vector<std::string> names;
  if (!context_.graph.FillCompressorList(names)) LogError(kUnit, __LINE__, context_.graph.GetLastErrorText());
  for (const std::string& name : names) compressors_->addItem(QString::fromStdString(name));
  const int remembered = SaveUi::State().compressorChoice;
  compressors_->setCurrentIndex(remembered >= 0 && remembered < compressors_->count() ? remembered
                                                                                        : compressors_->count() - 1);
}

bool CSaveParamsDialog::buildGraph() {
  return context_.graph.BuildSaveGraph(bar_->hwnd(), compressors_->currentText().toStdString());
}

void CSaveParamsDialog::bindCompressor() {
  compressorDialogs_.reset();
  const std::string name = compressors_->currentText().toStdString();
  for (const CompressorEntry& entry : context_.graph.Compressors())
    if (entry.name == name) entry.filter.as(IID_IAMVfwCompressDialogs, compressorDialogs_);
  settings_->setEnabled(compressorDialogs_ &&
                        SUCCEEDED(compressorDialogs_->ShowDialog(VfwCompressDialog_QueryConfig, hwnd())));
}

void CSaveParamsDialog::createEndEvent() {
  OwnedEvent event(CreateEvent(nullptr, FALSE, FALSE, nullptr));
  const DWORD error = GetLastError();
  if (error == ERROR_INVALID_FUNCTION) LogError(kUnit, __LINE__, "CreateEvent: ERROR_INVALID_FUNCTION");
  if (error == ERROR_ALREADY_EXISTS) LogError(kUnit, __LINE__, "CreateEvent: ERROR_ALREADY_EXISTS");
  endEvent_ = std::move(event);
}

void CSaveParamsDialog::onCompressorChosen(int index) {
  if (buildGraph()) {
    bindCompressor();
    SaveUi::State().compressorChoice = index;
    return;
  }
  showError(context_.graph.GetLastErrorText());
  name_->clear();
  const int remembered = SaveUi::State().compressorChoice;
  compressors_->setCurrentIndex(remembered >= 0 ? remembered : compressors_->count() - 1);
}

void CSaveParamsDialog::ShowCompressorSettings() {
  if (!compressorDialogs_) return;
  HRESULT hr = compressorDialogs_->ShowDialog(VfwCompressDialog_Config, hwnd());
  // The compressors leave their dialog to the program.
  ComPtr<IKelCompressorSettings> quality;
  if (hr == E_NOTIMPL && SUCCEEDED(compressorDialogs_.as(IID_IKelCompressorSettings, quality)))
    hr = CCompressorQualityDialog::Edit(quality.get(), compressors_->currentText(), this);
  if (FAILED(hr)) showError(COMERR::CError<long>(hr).text());
}

void CSaveParamsDialog::showError(const std::string& text) {
  ShellBoxes::Show(this, QString::fromStdString(text), kCaption, MB_OK | MB_ICONERROR);
}
