#include "tests/shell/input_settings.h"

#include <gtest/gtest.h>

#include "shell/app/MainFrame.h"
#include "shell/settings_ui/StockSettings.h"

namespace kel::test {

void leaveInputSettings(CMainFrame& frame, LONG stopEvent, LONG frames) {
  constexpr std::int32_t kStopEventOption = 0x400005;
  constexpr std::int32_t kFramesToInputOption = 0x400007;
  constexpr std::int32_t kFramesUnit = 6;
  auto* setup = dynamic_cast<StockSettings::CSetupSettingView*>(frame.SetupPanel());
  ASSERT_NE(setup, nullptr);
  auto* event = setup->Registry().FindEnum(kStopEventOption, 0);
  auto* count = setup->Registry().FindScalar(kFramesToInputOption, 0);
  ASSERT_TRUE(event && count);
  event->value.SetValue({stopEvent});
  count->value.SetValue({frames, kFramesUnit});
}

}  // namespace kel::test
