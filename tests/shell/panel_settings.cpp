#include "tests/shell/panel_settings.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QtTest/QtTest>

#include "shell/app/MainFrame.h"
#include "shell/settings_ui/FragmentPropertyDialog.h"
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

void leaveFragment(CMainFrame& frame, LONG first, LONG last) {
  // The last frame first: the first one always stays below it.
  for (const auto& [id, number] : {std::pair{CFragmentPropertyDialog::kTo, last},
                                   std::pair{CFragmentPropertyDialog::kFrom, first}}) {
    auto* edit = frame.findChild<QLineEdit*>(QString::number(id));
    ASSERT_NE(edit, nullptr) << id;
    edit->selectAll();
    QTest::keyClicks(edit, QString::number(number));
    QTest::keyClick(edit, Qt::Key_Return);
  }
}

}  // namespace kel::test
