// The dialog of one numeric camera option: a value edit with an up/down
// control, the option's units, the range labels and a slider whose scale
// turns quadratic when the range is too wide for a plain one.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shell/settings/Setting.h"
#include "shell/settings_ui/OptionPropertyDialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;
class CUpDownControl;

class CScalarPropertyDialog : public COptionPropertyDialog<Sett::ScalarValue> {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 131;

  CScalarPropertyDialog(std::int32_t optionId, std::int32_t index, std::string caption, std::string_view record,
                        std::int32_t applyMode);
  ~CScalarPropertyDialog() override;

  void ApplyRecord(std::string_view record) override;
  void Notify() override;
  void RefreshControls() override;

 protected:
  bool OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  bool loadUnits();
  std::int32_t selectedUnit() const;
  // Selects `unit` in the combo, or what stands in for it when unlisted.
  void selectUnit(std::int32_t unit);
  void onSliderAction(int action);
  void onSpinStep(int change);
  void onEditEnter();
  std::vector<std::int32_t> unitIds_;
  bool linear_ = true;
  int lastSliderPosition_ = 0;
  QLineEdit* edit_ = nullptr;
  CUpDownControl* spin_ = nullptr;
  QComboBox* units_ = nullptr;
  QSlider* slider_ = nullptr;
  QLabel* minLabel_ = nullptr;
  QLabel* maxLabel_ = nullptr;
};
