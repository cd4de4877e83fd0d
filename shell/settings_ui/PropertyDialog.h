// The base of the property dialogs: a small panel inside a setting block
// that shows and edits one camera setting. It owns the group box (1010)
// with the dialog's caption, a window handle so that blocks and dialogs
// talk by posted messages, and the supported flag; each dialog builds its
// own controls inside the group box.
#pragma once
#include <QGroupBox>
#include <QWidget>
#include <string>
#include <string_view>

#include "platform/win/types.h"
#include "shell/app/WindowBinding.h"

class CPropertyDialog : public QWidget {
  Q_OBJECT
 public:
  ~CPropertyDialog() override;

  // Makes the dialog's window a child of `block` and builds its controls;
  // false (and nothing shown) when they cannot be built.
  bool Create(QWidget* block);

  HWND hwnd() const { return binding_.hwnd(); }
  bool Supported() const { return supported_; }

  // The binding's record text; scalar, enum and rect dialogs only.
  virtual bool Format(std::string& /*out*/) { return false; }
  // A preset line offered to the dialog.
  virtual void ApplyRecord(std::string_view /*record*/) {}
  // Tells the block, the main frame and the log pane what a change means.
  virtual void Notify() {}
  // Shows the value in the controls (the block asks on WM_SETTING_CHANGED).
  virtual void RefreshControls() {}

 protected:
  // `widthDlu` x `heightDlu`: the dialog's size in dialog units.
  CPropertyDialog(int widthDlu, int heightDlu);

  // Builds the controls inside GroupBox(); false fails Create.
  virtual bool OnInitDialog() = 0;
  // A message posted or sent to the dialog's window; true when handled.
  virtual bool OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return false; }

  QGroupBox* GroupBox() const { return group_; }
  void SetCaption(const QString& caption);
  // Appends " / не поддерживается /" to the caption and disables every
  // control of the dialog.
  void MarkUnsupported();
  // Dialog units of the dialog font in pixels.
  int DluX(int units) const;
  int DluY(int units) const;

  void PostToBlock(UINT message, WPARAM wParam, LPARAM lParam) const;
  static void PostToMainFrame(UINT message);
  static void PostToLogPane(UINT message);

  bool event(QEvent* e) override;

  bool supported_ = false;

 private:
  WindowBinding binding_{this};
  QGroupBox* group_;
  HWND block_ = nullptr;
  int widthDlu_;
  int heightDlu_;
};
