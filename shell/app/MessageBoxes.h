// Message boxes of the desktop shell: the shell's own questions and the
// boxes the capture filter shows through the platform hook. Every box is
// application-modal over the main window, so none can hide behind another,
// and the buttons carry Russian texts.
#pragma once
#include <QString>
#include <memory>

#include "platform/win/message_box.h"

class QWidget;

namespace ShellBoxes {

// Shows the box on the UI thread and returns the button chosen (IDOK,
// IDYES, IDNO ...). `parent` null: the main window, when there is one.
int Show(QWidget* parent, const QString& text, const QString& caption, UINT flags);

// The window over which boxes appear; null puts them over the active window.
void SetMainWindow(QWidget* window);

// Installs the platform hook for the lifetime of the object: a box asked
// for on the UI thread is shown at once; one asked for on another thread is
// handed to the UI thread as a sent message, and that thread waits for the
// answer holding no lock of ours.
class HookInstaller {
 public:
  HookInstaller();
  ~HookInstaller();
  HookInstaller(const HookInstaller&) = delete;
  HookInstaller& operator=(const HookInstaller&) = delete;

 private:
  struct State;
  std::shared_ptr<State> state_;
  plat::MessageBoxHook previous_;
};

}  // namespace ShellBoxes
