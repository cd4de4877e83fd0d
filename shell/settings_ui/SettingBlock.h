// A titled group of property dialogs in a settings panel: a header button
// that collapses and expands the group, and the dialogs stacked under it in
// the order they were added. The block owns its dialogs. Blocks of one
// panel keep each other's dialogs fresh through posted WM_SETTING_CHANGED.
#pragma once
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "shell/app/WindowBinding.h"
#include "shell/settings_ui/PropertyDialog.h"

class QPushButton;

class CSettingBlock : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kHeaderId = 1000;

  // A block of the header row alone, titled `title`, as a child of `view`.
  CSettingBlock(const QString& title, QWidget* view);
  ~CSettingBlock() override;

  // The width every block has: its template's, in pixels of `font`.
  static int TemplateWidth(const QFontMetrics& font);

  HWND hwnd() const { return binding_.hwnd(); }
  bool Expanded() const { return expanded_ > 0; }
  const std::vector<std::unique_ptr<CPropertyDialog>>& Children() const { return children_; }

  // Builds the dialog's window under the last dialog, left-aligned with the
  // header, and grows the block by its height. False, with the dialog
  // dropped, when its window cannot be built.
  bool AddProperty(std::unique_ptr<CPropertyDialog> dialog);

  // Collapses to the header row or expands again; the panel then stacks
  // its blocks anew.
  void Toggle();

  // A preset line offered to every dialog in order.
  virtual void ApplyRecord(std::string_view record);
  // The same for a line of a known instance of its option, offered only to
  // dialogs of its record kind and not to one bound to another instance.
  void ApplyRecord(std::string_view record, std::int32_t index);

  // Every dialog shows its value again.
  void RefreshChildren();

 protected:
  bool event(QEvent* e) override;

 private:
  void onSettingChanged(WPARAM cascade);
  void postToChildren(UINT message, WPARAM wParam, LPARAM lParam);

  WindowBinding binding_{this};
  // +1 expanded, -1 collapsed.
  int expanded_ = 1;
  std::vector<std::unique_ptr<CPropertyDialog>> children_;
  QPushButton* header_;
};
