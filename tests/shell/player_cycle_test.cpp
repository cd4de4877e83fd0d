// The player on a long film at its top speed: it runs through the whole
// film, both ends included, and goes round again in either direction.
// Playback follows the platform's tick count, which the test moves itself.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <atomic>

#include "platform/kernel/tick_count.h"
#include "shell/app/MainFrame.h"
#include "shell/app/commands.h"
#include "shell/graph/Graph.h"
#include "shell/panels/DialogWndPlayer.h"
#include "shell/settings/SettingsHost.h"
#include "tests/shell/panel_settings.h"
#include "tests/shell/frame_fixture.h"
#include "tests/shell/qt_helpers.h"
#include "tests/shell/shell_host.h"

namespace kel::test {
namespace {

constexpr int kFilmFrames = 1000;
// One frame at 2.0x: 40 ms at 1.0x.
constexpr std::uint32_t kFrameMs = 20;

class PlayerCycle : public FrameFixture {
 protected:
  PlayerCycle() : FrameFixture({{"KELLIB3_TIME_SCALE", "1000"}, {"KELLIB3_SIZE", "160x40"}}) {}
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(FrameFixture::SetUp());
    ASSERT_NO_FATAL_FAILURE(openFrame());
    recordFilm(*frame, graph, kFilmFrames, first, last, 60000);
  }
  CDialogWndPlayer* panel() const { return frame->findChild<CDialogWndPlayer*>(); }
  void click(int id) { panel()->findChild<QPushButton*>(QString::number(id))->click(); }
  // Moves the clock on by `frames` frames at 2.0x and waits until the
  // frame-number label shows `expected`.
  bool advanceTo(std::uint32_t frames, LONG expected) {
    now += frames * kFrameMs;
    return waitFor([&] { return panel()->findChild<QLabel*>("1117")->text() == QString::number(expected); });
  }

  LONG first = -1, last = -1;
  std::atomic<std::uint32_t> now{1000};
};

TEST_F(PlayerCycle, AtTwiceTheSpeedAThousandFramesGoRoundThroughBothEndsInEitherDirection) {
  plat::ScopedTickSource clock([this] { return now.load(); });
  panel()->findChild<QSlider*>("1111")->setValue(20);
  click(CDialogWndPlayer::kPlayForward);
  ASSERT_DOUBLE_EQ(panel()->Rate(), 2.0);
  EXPECT_TRUE(advanceTo(500, first + 500));
  EXPECT_TRUE(advanceTo(499, last)) << "the last frame is played";
  EXPECT_TRUE(advanceTo(1, first)) << "and the first follows it";
  EXPECT_TRUE(advanceTo(1, first + 1));
  EXPECT_EQ(panel()->PlayState(), 1) << "the player never stops by itself";

  click(CDialogWndPlayer::kPlayBack);
  ASSERT_DOUBLE_EQ(panel()->Rate(), -2.0);
  EXPECT_TRUE(advanceTo(1, first));
  EXPECT_TRUE(advanceTo(1, last)) << "backwards the last frame follows the first";
  EXPECT_TRUE(advanceTo(999, first));
  EXPECT_TRUE(advanceTo(1, last));
  EXPECT_EQ(panel()->PlayState(), 2);
}

}  // namespace
}  // namespace kel::test
