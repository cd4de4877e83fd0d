// The dialog of the input window: x, y, width and height with up/down
// controls, "Применить" and the run-wide "Центрировать". The decimation
// is bound beside the window because centring works in sensor lines.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/settings/Setting.h"
#include "shell/settings/SettingBinding.h"
#include "shell/settings_ui/PropertyDialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class CUpDownControl;

class CRectPropertyDialog : public CPropertyDialog {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 132;
  static constexpr std::int32_t kDecimationOption = 0x400055;

  CRectPropertyDialog(std::int32_t optionId, std::int32_t index, std::string caption, std::string_view record,
                      std::int32_t applyMode);
  ~CRectPropertyDialog() override;

  // The input window's binding (the decimation's is the dialog's own).
  Sett::SettingBinding<Sett::RectValue>& Binding() { return binding_; }
  std::int32_t OptionId() const { return binding_.optionId; }
  std::int32_t Index() const { return binding_.index; }

  bool Format(std::string& out) override;
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
  bool immediate() const { return binding_.mode == Sett::ApplyImmediately; }

  Sett::SettingBinding<Sett::RectValue> binding_;
  Sett::SettingBinding<Sett::ScalarValue> decimation_;
  std::int32_t decimationFactor_ = 1;
  std::array<QLineEdit*, 4> edits_{};
  std::array<CUpDownControl*, 4> spins_{};
  QPushButton* apply_ = nullptr;
  QCheckBox* centre_ = nullptr;
};
