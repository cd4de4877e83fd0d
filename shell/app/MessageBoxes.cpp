#include "shell/app/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <utility>
#include <vector>

#include "platform/win/window_table.h"
#include "shell/app/QtDispatcher.h"

namespace ShellBoxes {

namespace {

QPointer<QWidget>& mainWindow() {
  static QPointer<QWidget> window;
  return window;
}

using Buttons = std::vector<std::pair<QString, int>>;

Buttons buttonsFor(UINT flags) {
  switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{"OK", IDOK}, {"Отмена", IDCANCEL}};
    case MB_ABORTRETRYIGNORE: return {{"Прервать", IDABORT}, {"Повтор", IDRETRY}, {"Пропустить", IDIGNORE}};
    case MB_YESNOCANCEL: return {{"Да", IDYES}, {"Нет", IDNO}, {"Отмена", IDCANCEL}};
    case MB_YESNO: return {{"Да", IDYES}, {"Нет", IDNO}};
    case MB_RETRYCANCEL: return {{"Повтор", IDRETRY}, {"Отмена", IDCANCEL}};
    default: return {{"OK", IDOK}};
  }
}

QMessageBox::Icon iconFor(UINT flags) {
  switch (flags & MB_ICONMASK) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox::ButtonRole roleFor(int id) {
  switch (id) {
    case IDOK: return QMessageBox::AcceptRole;
    case IDYES: return QMessageBox::YesRole;
    case IDNO: return QMessageBox::NoRole;
    case IDCANCEL: return QMessageBox::RejectRole;
    default: return QMessageBox::ActionRole;
  }
}

// The answer that the Escape key and closing the box give.
int escapeAnswer(const Buttons& buttons) {
  for (const auto& [text, id] : buttons)
    if (id == IDCANCEL || id == IDNO) return id;
  return buttons.size() == 1 ? buttons.front().second : buttons.back().second;
}

constexpr UINT kShowBoxMessage = 0x7F01;

}  // namespace

void SetMainWindow(QWidget* window) { mainWindow() = window; }

int Show(QWidget* parent, const QString& text, const QString& caption, UINT flags) {
  if (!parent) parent = mainWindow() ? mainWindow().data() : QApplication::activeWindow();
  QMessageBox box(iconFor(flags), caption, text, QMessageBox::NoButton, parent);
  box.setWindowModality(Qt::ApplicationModal);
  const Buttons buttons = buttonsFor(flags);
  std::vector<std::pair<QAbstractButton*, int>> made;
  for (const auto& [label, id] : buttons) made.emplace_back(box.addButton(label, roleFor(id)), id);
  const int onEscape = escapeAnswer(buttons);
  for (const auto& [button, id] : made)
    if (id == onEscape) box.setEscapeButton(button);
  box.exec();
  for (const auto& [button, id] : made)
    if (box.clickedButton() == button) return id;
  return onEscape;
}

struct HookInstaller::State {
  // The UI thread's window that shows boxes asked for on other threads.
  plat::WindowRegistration window{QtDispatcher::ui(), [](const plat::Message& m) -> LRESULT {
                                    if (m.message != kShowBoxMessage || m.lParam == 0) return 0;
                                    const auto* r = reinterpret_cast<const plat::MessageBoxRequest*>(m.lParam);
                                    return Show(nullptr, QString::fromStdString(r->text),
                                                QString::fromStdString(r->caption), r->flags);
                                  }};
};

HookInstaller::HookInstaller() : state_(std::make_shared<State>()) {
  std::weak_ptr<State> weak = state_;
  previous_ = plat::setMessageBoxHook([weak](const plat::MessageBoxRequest& request) -> int {
    if (QtDispatcher::ui()->isCurrentThread())
      return Show(nullptr, QString::fromStdString(request.text), QString::fromStdString(request.caption),
                  request.flags);
    const std::shared_ptr<State> state = weak.lock();
    const LRESULT answer =
        state ? plat::sendMessage(state->window.hwnd(), kShowBoxMessage, 0, reinterpret_cast<LPARAM>(&request)) : 0;
    // The UI went away before answering: carry on as a host without one would.
    return answer != 0 ? static_cast<int>(answer) : plat::headlessMessageBox(request);
  });
}

HookInstaller::~HookInstaller() { plat::setMessageBoxHook(previous_); }

}  // namespace ShellBoxes
