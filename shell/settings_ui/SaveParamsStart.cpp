// The save-film dialog's save: choosing the file, starting, watching the
// end event, aborting, and the unattended save of the shell's profile.
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <ctime>
#include <system_error>

#include "platform/kernel/event_handles.h"
#include "platform/win/message_box.h"
#include "shared/camera_interfaces.h"
#include "shell/app/ComErr.h"
#include "shell/app/LogStore.h"
#include "shell/app/MessageBoxes.h"
#include "shell/app/QtDispatcher.h"
#include "shell/app/ShellConfig.h"
#include "shell/app/save_name.h"
#include "shell/graph/Graph.h"
#include "shell/settings_ui/ProgressBarWindow.h"
#include "shell/settings_ui/SaveParamsDialog.h"
#include "shell/settings_ui/SaveRunState.h"

namespace {
constexpr const char* kUnit = "SaveParamsDialog";
constexpr const char* kCaption = "WinKelOrvoShell";
constexpr DWORD kEndWaitMs = 10;
}  // namespace

void CSaveParamsDialog::startUnattended() {
  if (ShellConfig::AutoSave(context_.ini) == 0) return;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (now == static_cast<std::time_t>(-1) || !localtime_r(&now, &local))
    return LogError(kUnit, __LINE__, "Не удалось узнать местное время для имени фильма");
  name_->setText(
      QString::fromStdString(SaveUi::AutoSaveFileName(ShellConfig::AutoSavePath(context_.ini), local)));
  // As if the operator pressed the start button once the dialog is up.
  QMetaObject::invokeMethod(this, [this] { Start(); }, Qt::QueuedConnection);
}

bool CSaveParamsDialog::Browse() {
  // Qt's own dialog, over the main window, with the texts given here.
  QFileDialog dialog(window());
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix("avi");
  dialog.setNameFilters({"Файлы avi (*.avi)", "Все файла (*.*)"});
  // Replacing a file is asked when the save starts.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!SaveUi::State().lastFilmName.empty()) dialog.selectFile(QString::fromStdString(SaveUi::State().lastFilmName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  name_->setText(dialog.selectedFiles().first());
  return true;
}

std::optional<std::string> CSaveParamsDialog::outputName() {
  while (name_->text().isEmpty())
    if (!Browse()) return std::nullopt;
  const std::optional<std::string> name = NormalizeSaveFileName(name_->text().toStdString());
  if (!name) {
    ShellBoxes::Show(this, kBadFileNameText, kCaption, MB_OK);
    return std::nullopt;
  }
  name_->setText(QString::fromStdString(*name));
  std::error_code error;
  if (!std::filesystem::exists(*name, error)) return name;
  if (ShellBoxes::Show(this, "Файл уже существует. Заменить?", kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
    return std::nullopt;
  if (!std::filesystem::remove(*name, error)) {
    LogError(kUnit, __LINE__, "Не удалось удалить файл " + *name + ": " + error.message());
    return std::nullopt;
  }
  SaveUi::State().lastFilmName = *name;
  return name;
}

void CSaveParamsDialog::Start() {
  if (saving_) return;
  const std::optional<std::string> name = outputName();
  if (!name) return;
  CGraph& graph = context_.graph;
  if (!graph.SetOutputFile(*name)) return LogError(kUnit, __LINE__, graph.GetLastErrorText());
  ComPtr<ICamera2> camera;
  if (endEvent_ && graph.GetCamera2(camera.put())) {
    ResetEvent(endEvent_.get());
    camera->SetEndEvent(endEvent_.get());
  }
  // Back to the start before the filter sets the new range as it starts.
  bar_->SetPos(0);
  if (!graph.Run()) return LogError(kUnit, __LINE__, graph.GetLastErrorText());
  // A save that started is the film the operator will look for next.
  SaveUi::State().lastFilmName = *name;
  saving_ = true;
  bar_->show();
  timer_.start();
  start_->setEnabled(false);
  abort_->setEnabled(true);
}

void CSaveParamsDialog::Abort() {
  // The save then ends through the end event, as an incomplete film.
  ComPtr<ICamera> camera;
  if (!context_.graph.GetCamera(camera.put())) return;
  const HRESULT hr = camera->StopCamera(TRUE);
  if (FAILED(hr)) LogError(kUnit, __LINE__, COMERR::CError<long>(hr).text());
}

void CSaveParamsDialog::onTimer() {
  if (WaitForSingleObject(endEvent_.get(), kEndWaitMs) != WAIT_OBJECT_0) return;
  timer_.stop();
  // The filter posted the bar's last steps before it signalled the end;
  // they reach the bar first.
  QtDispatcher::ui()->post([self = QPointer<CSaveParamsDialog>(this)] {
    if (self) self->endSave();
  });
}

void CSaveParamsDialog::endSave() {
  CGraph& graph = context_.graph;
  if (!graph.Stop()) LogError(kUnit, __LINE__, graph.GetLastErrorText());
  bar_->hide();
  start_->setEnabled(true);
  abort_->setEnabled(false);
  saving_ = false;
  int finished = -1;
  ComPtr<ICamera2> camera;
  if (graph.GetCamera2(camera.put())) {
    const HRESULT hr = camera->IsSaveFinished(&finished);
    if (FAILED(hr)) LogError(kUnit, __LINE__, COMERR::CError<long>(hr).text());
  }
  if (finished == 0)
    ShellBoxes::Show(this, "Возникла ошибка при сохранении фильма", kCaption, MB_OK | MB_ICONERROR);
  emit SaveEnded(finished > 0);
}
