#include "shell/settings_ui/SummationPropertyDialog.h"

#include <QSignalBlocker>

#include "platform/win/messages.h"
#include "shell/settings_ui/DluPlacer.h"

CSummationPropertyDialog::CSummationPropertyDialog() : CPropertyDialog(192, 36) {
  supported_ = binding_.Initialise({});
}

CSummationPropertyDialog::~CSummationPropertyDialog() = default;

bool CSummationPropertyDialog::OnInitDialog() {
  const DluPlacer at(GroupBox());
  enable_ = at(new QCheckBox("Включить суммирование"), kEnable, 10, 14, 150, 10);
  connect(enable_, &QCheckBox::toggled, this, [this](bool checked) { onToggled(checked); });
  SetCaption(QString::fromStdString(binding_.caption));
  RefreshControls();
  return true;
}

void CSummationPropertyDialog::RefreshControls() {
  Sett::Summation::Value v;
  binding_.value.Value(v);
  const QSignalBlocker block(enable_);
  enable_->setChecked(v.value != 0);
}

void CSummationPropertyDialog::onToggled(bool checked) {
  binding_.value.SetValue({.value = checked ? 1 : 0});
  // The summed picture has half the rows: the graph is built anew.
  PostToLogPane(WM_RESTART_GRAPH);
}
