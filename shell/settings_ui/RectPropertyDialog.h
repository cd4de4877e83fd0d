// The dialog of the input window: x, y, width and height with up/down
// controls, "Применить" and the run-wide "Центрировать". The decimation
// is bound beside the window because centring works in sensor lines.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/settings/Setting.h"
#include "shell/settings_ui/OptionPropertyDialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class CUpDownControl;

class CRectPropertyDialog : public COptionPropertyDialog<Sett::RectValue> {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 132;
  static constexpr std::int32_t kDecimationOption = 0x400055;

  CRectPropertyDialog(std::int32_t optionId, std::int32_t index, std::string caption, std::string_view record,
                      std::int32_t applyMode);
  ~CRectPropertyDialog() override;

  void ApplyRecord(std::string_view record) override;
  void Notify() override;
  void RefreshControls() override;

 protected:
  bool OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  enum Field { X, Y, Width, Height };

  void buildControls();
  void apply();
  void restartAndTell();

  // Binding() is the window's; the decimation is the dialog's own.
  Sett::SettingBinding<Sett::ScalarValue> decimation_;
  std::int32_t decimationFactor_ = 1;
  std::array<QLineEdit*, 4> edits_{};
  std::array<CUpDownControl*, 4> spins_{};
  QPushButton* apply_ = nullptr;
  QCheckBox* centre_ = nullptr;
};
