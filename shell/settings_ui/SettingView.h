// A mode's settings panel: a scrolling view that stacks the mode's setting
// blocks from top to bottom and owns them. The blocks are built the first
// time the panel is shown; a block that collapses or expands has the panel
// stack them again.
#pragma once
#include <QScrollArea>
#include <memory>
#include <vector>

#include "shell/app/WindowBinding.h"
#include "shell/settings_ui/SettingBlock.h"

class CSettingView : public QScrollArea {
  Q_OBJECT
 public:
  // `name`: the panel's class name, also its object name.
  explicit CSettingView(const QString& name, QWidget* parent = nullptr);
  ~CSettingView() override;

  HWND hwnd() const { return binding_.hwnd(); }
  const std::vector<std::unique_ptr<CSettingBlock>>& Blocks() const { return blocks_; }

  // Builds the blocks if there are none yet and gives the first block the
  // keyboard focus; showing the panel the first time does this.
  void OnInitialUpdate();

 protected:
  // Builds the panel's blocks with AppendBlock; none by default.
  virtual void BuildBlocks() {}
  // A message posted or sent to the panel's window.
  virtual void OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {}

  // Where blocks live: give it to a block as its view.
  QWidget* Content() const { return widget(); }
  void AppendBlock(std::unique_ptr<CSettingBlock> block);

  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  // Each block under the one before, and the scrolled area as wide as the
  // last block and as tall as all of them.
  void layoutBlocks();

  WindowBinding binding_{this};
  std::vector<std::unique_ptr<CSettingBlock>> blocks_;
  bool updated_ = false;
};
