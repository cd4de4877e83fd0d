// The set-up source's time-out when the grabber never becomes idle. In live
// mode the virtual grabber is always idle, so the test records a film armed
// for an external trigger that never fires (state 5).
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>

#include "filter/acquisition/StSetupSource.h"
#include "filter/acquisition/global_frame_lock.h"
#include "platform/kernel/tick_count.h"
#include "platform/win/message_box.h"
#include "shared/identifiers.h"
#include "tests/filter/sources/source_rig.h"

namespace {

using namespace kel::test;

TEST(SetupSourceTimeout, TextIsPostedThenTheBoxIsShownWithoutTheFrameLock) {
  SettingsGuard settings;
  TextWindow window;
  SourceRig rig(MODE_Setup, {kSmallSensor});
  rig.hw().setScalar(0x400009, 1, 0);
  rig.hw().setEnum(0x400004, 5);
  rig.system().StartInput();
  ASSERT_EQ(rig.hw().status().state, static_cast<std::uint32_t>(KELLIB3_STATE_WAIT_TRIGGER));

  Orvo::StSetupSource source(rig.holder(), window.hwnd());
  source.SetRunning(true);

  struct Seen {
    plat::MessageBoxRequest box;
    std::size_t postedBefore = 0;
    bool lockFree = false;
  };
  std::vector<Seen> boxes;
  const auto previous = plat::setMessageBoxHook([&](const plat::MessageBoxRequest& r) {
    Seen seen{r, window.pending(), false};
    // An option write on another thread must not wait for the operator.
    std::thread other([&] {
      seen.lockFree = Orvo::GlobalFrameLock().try_lock();
      if (seen.lockFree) Orvo::GlobalFrameLock().unlock();
    });
    other.join();
    boxes.push_back(seen);
    return IDOK;
  });

  DWORD now = 0;
  int looks = 0;
  Orvo::StOrvoSource::FrameBuffer raw;
  bool produced = true;
  {
    plat::ScopedTickSource ticks([&] {
      ++looks;
      return now += 1000;
    });
    produced = source.createData(raw);
  }
  plat::setMessageBoxHook(previous);

  EXPECT_FALSE(produced);
  EXPECT_TRUE(raw.empty());
  // The start tick, then one look per status read until more than 5000 ms passed.
  EXPECT_EQ(looks, 7);
  const std::string head = "\n***\nStSetupSource::createData(...) Transfer control status: 5\nFile: StSetupSource\nLine: ";
  const auto& texts = window.texts();
  ASSERT_EQ(texts.size(), 1u);
  ASSERT_EQ(texts[0].text.rfind(head, 0), 0u) << texts[0].text;
  const std::string line = texts[0].text.substr(head.size());
  EXPECT_FALSE(line.empty());
  EXPECT_EQ(line.find_first_not_of("0123456789"), std::string::npos) << line;
  EXPECT_TRUE(texts[0].freed);

  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].box.text, texts[0].text);
  EXPECT_EQ(boxes[0].box.caption, "TIMEOUT");
  EXPECT_EQ(boxes[0].box.flags & MB_ICONMASK, MB_ICONERROR);
  EXPECT_NE(boxes[0].box.flags & MB_SYSTEMMODAL, 0u);
  EXPECT_EQ(boxes[0].postedBefore, 1u) << "the text is posted before the box";
  EXPECT_TRUE(boxes[0].lockFree);
}

}  // namespace
