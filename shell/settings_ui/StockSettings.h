// The settings panels of the four modes. The set-up panel also keeps the
// registry of its option dialogs, through which the preset commands read
// its values, and applies presets.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "shell/settings/PresetStore.h"
#include "shell/settings_ui/SettingRegistry.h"
#include "shell/settings_ui/SettingView.h"
#include "shell/settings_ui/SetupPanel.h"

namespace StockSettings {

// Input, synchronisation, image intensifier and colour transform.
class CSetupSettingView : public CSettingView, public ISetupPanel {
  Q_OBJECT
 public:
  explicit CSetupSettingView(QWidget* parent = nullptr);

  HWND hwnd() const override { return CSettingView::hwnd(); }
  Sett::PanelBindings Bindings() override { return registry_.Bindings(); }
  const CSettingRegistry& Registry() const { return registry_; }

  // Offers every line of the preset to the panel's dialogs, each line to
  // the instance of its option it was written for, then shows the values.
  // A file with lines this camera cannot take is reported once.
  void ApplyPreset(const std::string& name);
  // Where presets are read; the run's preset folder unless set.
  void SetPresetStore(Sett::PresetStore& store) { presets_ = &store; }

 protected:
  void BuildBlocks() override;
  void OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void add(std::unique_ptr<CSettingBlock> block);

  CSettingRegistry registry_;
  Sett::PresetStore* presets_ = nullptr;
};

// Fragment, save-film parameters and colour transform.
class CPreviewSettingView : public CSettingView {
  Q_OBJECT
 public:
  explicit CPreviewSettingView(QWidget* parent = nullptr);

 protected:
  void BuildBlocks() override;
};

class CInputSettingView : public CSettingView {
  Q_OBJECT
 public:
  explicit CInputSettingView(QWidget* parent = nullptr) : CSettingView("CInputSettingView", parent) {}
};

class CSaveSettingView : public CSettingView {
  Q_OBJECT
 public:
  explicit CSaveSettingView(QWidget* parent = nullptr) : CSettingView("CSaveSettingView", parent) {}
};

}  // namespace StockSettings
