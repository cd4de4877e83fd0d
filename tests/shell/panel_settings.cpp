#include "tests/shell/panel_settings.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QtTest/QtTest>

#include "shell/app/MainFrame.h"
#include "shell/app/commands.h"
#include "shell/graph/Graph.h"
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

void recordFilm(CMainFrame& frame, CGraph& graph, LONG frames, LONG& first, LONG& last, int waitMs) {
  constexpr LONG kStopAfterFrames = 37;
  constexpr LONG kFramePositionOption = 0x400020;
  leaveInputSettings(frame, kStopAfterFrames, frames);
  frame.Command(Cmd::kModeInput)->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return frame.ModeCode() == Mode::kPreview; }, waitMs));
  ComPtr<IScalarProperty> position;
  ASSERT_TRUE(graph.GetScalarProperty(kFramePositionOption, 0, position.put()));
  ASSERT_EQ(position->GetMinValue(&first, 0), S_OK);
  ASSERT_EQ(position->GetMaxValue(&last, 0), S_OK);
  ASSERT_EQ(last - first + 1, frames);
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
