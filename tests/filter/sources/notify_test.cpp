// Texts posted to the notify window.
#include <gtest/gtest.h>

#include "filter/acquisition/stream_source_notify.h"
#include "platform/kernel/global_memory.h"
#include "platform/win/messages.h"
#include "tests/filter/sources/source_rig.h"

namespace {

using kel::test::TextWindow;

TEST(NotifyText, ReachesTheWindowInABlockTheReceiverFrees) {
  TextWindow window;
  const auto blocksBefore = plat::globalBlocksInUse();
  ASSERT_TRUE(Orvo::PostNotifyText(window.hwnd(), "DUMP: Ошибка записи."));
  EXPECT_EQ(plat::globalBlocksInUse(), blocksBefore + 1) << "the block travels with the message";
  const auto& texts = window.texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].message, WM_LOG_TEXT);
  EXPECT_EQ(texts[0].wParam, 0u);
  EXPECT_EQ(texts[0].text, "DUMP: Ошибка записи.");
  EXPECT_TRUE(texts[0].freed);
  EXPECT_EQ(plat::globalBlocksInUse(), blocksBefore);
}

TEST(NotifyText, NothingIsAllocatedForAHandleThatIsNoWindow) {
  HWND gone = nullptr;
  {
    TextWindow window;
    gone = window.hwnd();
  }
  const auto blocksBefore = plat::globalBlocksInUse();
  EXPECT_FALSE(Orvo::PostNotifyText(nullptr, "text"));
  EXPECT_FALSE(Orvo::PostNotifyText(gone, "text"));
  EXPECT_EQ(plat::globalBlocksInUse(), blocksBefore);
}

}  // namespace
