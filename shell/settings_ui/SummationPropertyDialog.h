// Summation of a monochrome camera's rows: one check box. The camera takes
// the choice at once and the picture's size changes, so the log pane
// restarts the graph. The choice outlives the panel in the setting store.
#pragma once
#include <QCheckBox>

#include "shell/settings/RecordValues.h"
#include "shell/settings/SettingBinding.h"
#include "shell/settings_ui/PropertyDialog.h"

class CSummationPropertyDialog : public CPropertyDialog {
  Q_OBJECT
 public:
  static constexpr int kEnable = 1166;

  CSummationPropertyDialog();
  ~CSummationPropertyDialog() override;

  void RefreshControls() override;

 protected:
  bool OnInitDialog() override;

 private:
  void onToggled(bool checked);

  Sett::SettingBinding<Sett::SummationValue> binding_{1, 0, "Суммирование", Sett::ApplyOnRelease};
  QCheckBox* enable_ = nullptr;
};
