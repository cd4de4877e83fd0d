// The dialog of one camera option with named values: a combo box of the
// option's items.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shell/settings/Setting.h"
#include "shell/settings_ui/OptionPropertyDialog.h"

class QComboBox;

class CEnumPropertyDialog : public COptionPropertyDialog<Sett::EnumValue> {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 133;

  CEnumPropertyDialog(std::int32_t optionId, std::int32_t index, std::string caption, std::string_view record,
                      std::int32_t applyMode);
  ~CEnumPropertyDialog() override;

  void ApplyRecord(std::string_view record) override;
  void Notify() override;
  void RefreshControls() override;

 protected:
  bool OnInitDialog() override;

 private:
  bool loadItems();
  void onSelected(int position);

  std::vector<std::int32_t> itemIds_;
  QComboBox* combo_ = nullptr;
};
