// The log pane: line colours, the filter's texts (shown or dropped, their
// blocks freed either way), the restart request, clearing, and keeping the
// newest line in view.
#include <gtest/gtest.h>

#include <QMenu>
#include <QScrollBar>

#include "platform/kernel/global_memory.h"
#include "platform/win/messages.h"
#include "platform/win/window_table.h"
#include "shell/app/LogStore.h"
#include "shell/app/LogViewWnd.h"
#include "shell/graph/Graph.h"
#include "tests/shell/qt_helpers.h"

namespace kel::test {
namespace {

class LogViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LogStore::instance().Clear();
    view.resize(600, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  }
  void TearDown() override { LogStore::instance().Clear(); }
  // A line with `prefix` before its timestamp.
  void write(const char* text, const char* prefix = "Info: ") {
    LogStore::instance().Write(true, "", prefix, "%s", text);
  }

  CGraph graph;  // never created: a restart fails
  CLogView view{graph, nullptr};
};

TEST_F(LogViewTest, LinesTakeTheColourOfTheirFirstFourCharacters) {
  write("ready", "Info: ");
  write("slow frame", "Warn: ");
  write("carries on", "");  // starts with its timestamp
  write("lost", "Error: ");
  write("again", "Info ");
  ASSERT_EQ(view.Lines().size(), 5u);
  const QColor expected[] = {QColor(0, 0, 0), QColor(0, 0, 196), QColor(0, 0, 196), QColor(196, 0, 0),
                             QColor(0, 0, 0)};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(view.Lines()[i].colour, expected[i]) << i;
  // What is drawn: the first line's ink is black, the error's red.
  const QImage picture = view.viewport()->grab().toImage();
  const auto hasInk = [&](int row, QColor ink) {
    const int top = row * view.LineHeight();
    for (int y = top; y < top + view.LineHeight(); ++y)
      for (int x = 0; x < 200; ++x)
        if (picture.pixelColor(x, y) == ink) return true;
    return false;
  };
  EXPECT_TRUE(hasInk(0, QColor(0, 0, 0)));
  EXPECT_TRUE(hasInk(1, QColor(0, 0, 196)));
  EXPECT_TRUE(hasInk(3, QColor(196, 0, 0)));
  EXPECT_FALSE(hasInk(3, QColor(0, 0, 196)));
}

TEST_F(LogViewTest, FilterTextsAreShownAtLevelZeroAndDroppedAboveAndTheirBlocksFreed) {
  const std::size_t blocks = plat::globalBlocksInUse();
  ASSERT_TRUE(plat::postMessage(view.hwnd(), WM_LOG_TEXT, 1, reinterpret_cast<LPARAM>(plat::globalCopyText("dropped"))));
  ASSERT_TRUE(plat::postMessage(view.hwnd(), WM_LOG_TEXT, 0, reinterpret_cast<LPARAM>(plat::globalCopyText("shown"))));
  ASSERT_TRUE(waitFor([&] { return plat::globalBlocksInUse() == blocks; })) << "both blocks are freed";
  ASSERT_EQ(view.Lines().size(), 1u);
  EXPECT_TRUE(view.Lines()[0].text.startsWith("Error: "));
  EXPECT_TRUE(view.Lines()[0].text.contains("shown"));
  EXPECT_TRUE(view.Lines()[0].text.endsWith("\\LogView; Line: 152 "));
  EXPECT_EQ(view.Lines()[0].colour, QColor(196, 0, 0));
}

TEST_F(LogViewTest, ATextStillOnItsWayWhenTheViewGoesIsFreed) {
  const std::size_t blocks = plat::globalBlocksInUse();
  {
    CGraph other;
    CLogView closing{other, nullptr};
    ASSERT_TRUE(plat::postMessage(closing.hwnd(), WM_LOG_TEXT, 0,
                                  reinterpret_cast<LPARAM>(plat::globalCopyText("late"))));
  }
  ASSERT_TRUE(waitFor([&] { return plat::globalBlocksInUse() == blocks; }));
}

TEST_F(LogViewTest, AFailedRestartIsOneRedLineFromTheGraph) {
  ASSERT_TRUE(plat::postMessage(view.hwnd(), WM_RESTART_GRAPH, 0, 0));
  ASSERT_TRUE(waitFor([&] { return !view.Lines().empty(); }));
  const QString first = view.Lines()[0].text;
  EXPECT_TRUE(first.startsWith("Error: ")) << first.toStdString();
  EXPECT_TRUE(first.contains(" - Can't stop graph\\Graph; Line: 386 ")) << first.toStdString();
  EXPECT_EQ(view.Lines()[0].colour, QColor(196, 0, 0));
}

TEST_F(LogViewTest, ClearOnTheRightButtonEmptiesTheViewAndNewLinesStartAtTheTop) {
  for (int i = 0; i < 50; ++i) write("Info line");
  QTest::mouseClick(view.viewport(), Qt::RightButton, {}, QPoint(20, 20));
  QMenu* menu = view.ContextMenu();
  ASSERT_TRUE(waitFor([&] { return menu->isVisible(); }));
  ASSERT_EQ(menu->actions().size(), 1);
  QAction* clear = menu->actions()[0];
  EXPECT_EQ(clear->text(), "Очистить");
  EXPECT_EQ(clear->objectName(), "117");
  clear->trigger();
  menu->hide();
  EXPECT_TRUE(view.Lines().empty());
  EXPECT_TRUE(LogStore::instance().Lines().empty());
  write("Warn first again");
  ASSERT_EQ(view.Lines().size(), 1u);
  EXPECT_EQ(view.verticalScrollBar()->value(), 0);
}

TEST_F(LogViewTest, TheNewestLineIsScrolledIntoView) {
  for (int i = 0; i < 200; ++i) write("Info a line among many");
  ASSERT_GT(view.verticalScrollBar()->maximum(), 0);
  ASSERT_TRUE(waitFor([&] { return view.verticalScrollBar()->value() == view.verticalScrollBar()->maximum(); }));
  EXPECT_EQ(view.verticalScrollBar()->maximum(),
            200 * view.LineHeight() - view.viewport()->height());
}

}  // namespace
}  // namespace kel::test
