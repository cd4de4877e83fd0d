// The player panel of preview mode on a film just recorded: its buttons,
// its two sliders and its labels as the operator sees them.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include "platform/dshow/guids.h"
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

constexpr int kFilmFrames = 100;

class PlayerPanel : public FrameFixture {
 protected:
  PlayerPanel() : FrameFixture({{"KELLIB3_TIME_SCALE", "1000"}}) {}
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(FrameFixture::SetUp());
    ASSERT_NO_FATAL_FAILURE(openFrame());
    // A film of a known length, recorded as the operator would.
    recordFilm(*frame, graph, kFilmFrames, first, last, 30000);
    ASSERT_NE(panel(), nullptr);
  }
  CDialogWndPlayer* panel() const { return frame->findChild<CDialogWndPlayer*>(); }
  void click(int id) { panel()->findChild<QPushButton*>(QString::number(id))->click(); }
  QSlider* slider(const char* id) const { return panel()->findChild<QSlider*>(id); }
  QString text(const char* id) const { return panel()->findChild<QLabel*>(id)->text(); }
  QString frameText() const { return text("1117"); }
  // What the filter's output pin says, not what the panel believes.
  LONGLONG pinPosition() {
    ComPtr<IMediaSeekingLocal> seeking;
    LONGLONG position = -1;
    EXPECT_TRUE(graph.GetSeeking(seeking.putVoid()));
    if (seeking) {
      EXPECT_EQ(seeking->GetCurrentPosition(&position, &TIME_FORMAT_FRAME), S_OK);
    }
    return position;
  }
  double pinRate() {
    ComPtr<IMediaSeekingLocal> seeking;
    double rate = 0;
    EXPECT_TRUE(graph.GetSeeking(seeking.putVoid()));
    if (seeking) {
      EXPECT_EQ(seeking->GetRate(&rate), S_OK);
    }
    return rate;
  }

  LONG first = -1, last = -1;
};

TEST_F(PlayerPanel, OpensStoppedAtTheFirstFrameWithItsLabels) {
  EXPECT_EQ(panel()->PlayState(), 0);
  EXPECT_EQ(text("1115"), " Stop x1.0");
  EXPECT_EQ(text("1116"), "Кадр №:");
  EXPECT_EQ(frameText(), QString::number(first));
  EXPECT_EQ(slider("1110")->minimum(), 0);
  EXPECT_EQ(slider("1110")->maximum(), last - first);
  EXPECT_EQ(slider("1110")->value(), 0);
  EXPECT_EQ(slider("1111")->minimum(), 1);
  EXPECT_EQ(slider("1111")->maximum(), 20);
  EXPECT_EQ(slider("1111")->value(), 10);
  EXPECT_EQ(panel()->findChild<QLabel*>("1115")->palette().color(QPalette::WindowText), QColor(0, 255, 255));
}

TEST_F(PlayerPanel, StepButtonsAtTheEndsDoNothing) {
  click(CDialogWndPlayer::kFrameBack);
  EXPECT_EQ(frameText(), QString::number(first)) << "nothing before the first frame";
  EXPECT_EQ(slider("1110")->value(), 0);
  click(CDialogWndPlayer::kFrameForward);
  EXPECT_EQ(frameText(), QString::number(first + 1));
  click(CDialogWndPlayer::kToEnd);
  EXPECT_EQ(frameText(), QString::number(last));
  EXPECT_EQ(slider("1110")->value(), last - first);
  click(CDialogWndPlayer::kFrameForward);
  EXPECT_EQ(frameText(), QString::number(last)) << "nothing after the last frame";
  EXPECT_EQ(slider("1110")->value(), last - first);
  click(CDialogWndPlayer::kFrameBack);
  EXPECT_EQ(frameText(), QString::number(last - 1));
  click(CDialogWndPlayer::kToStart);
  EXPECT_EQ(frameText(), QString::number(first));
  EXPECT_EQ(slider("1110")->value(), 0);
}

TEST_F(PlayerPanel, PlayingBackwardsTurnsTheRateAndTheSpeedSliderKeepsTheDirection) {
  click(CDialogWndPlayer::kPlayForward);
  EXPECT_EQ(panel()->PlayState(), 1);
  EXPECT_DOUBLE_EQ(panel()->Rate(), 1.0);
  EXPECT_EQ(text("1115"), "Play > x1.0");
  const QString before = frameText();
  ASSERT_TRUE(waitFor([&] { return frameText() != before; })) << "the frame number follows the playing film";

  click(CDialogWndPlayer::kPlayBack);
  EXPECT_EQ(panel()->PlayState(), 2);
  EXPECT_DOUBLE_EQ(panel()->Rate(), -1.0);
  EXPECT_EQ(text("1115"), "< Play x1.0");

  EXPECT_DOUBLE_EQ(pinRate(), -1.0);
  slider("1111")->setValue(20);
  EXPECT_DOUBLE_EQ(panel()->Rate(), -2.0);
  EXPECT_DOUBLE_EQ(pinRate(), -2.0);
  EXPECT_EQ(text("1115"), "< Play x2.0");

  click(CDialogWndPlayer::kStop);
  EXPECT_EQ(panel()->PlayState(), 0);
  EXPECT_EQ(text("1115"), " Stop x2.0");
  click(CDialogWndPlayer::kPlayForward);
  EXPECT_DOUBLE_EQ(panel()->Rate(), 2.0);
}

TEST_F(PlayerPanel, DraggingThePositionSliderSeeksAndClampsAtTheLastFrame) {
  QSlider* position = slider("1110");
  position->setSliderPosition(40);
  EXPECT_EQ(frameText(), QString::number(first + 40));
  EXPECT_EQ(pinPosition(), first + 40);
  position->setSliderPosition(position->maximum() + 500);
  EXPECT_EQ(frameText(), QString::number(last));
  EXPECT_EQ(pinPosition(), last);
  click(CDialogWndPlayer::kFrameForward);
  EXPECT_EQ(frameText(), QString::number(last)) << "the end reached by dragging is the end";
}

TEST_F(PlayerPanel, PlayingGoesOnPastTheEndOfTheFilmInEitherDirection) {
  for (const int button : {CDialogWndPlayer::kPlayForward, CDialogWndPlayer::kPlayBack}) {
    click(button);
    const bool forwards = button == CDialogWndPlayer::kPlayForward;
    long previous = frameText().toLong();
    bool wrapped = false;
    ASSERT_TRUE(waitFor([&] {
      const long now = frameText().toLong();
      // A jump against the direction of play is the wrap at the film's end.
      wrapped = forwards ? now < previous : now > previous;
      previous = now;
      return wrapped;
    })) << (forwards ? "forwards" : "backwards");
    EXPECT_EQ(panel()->PlayState(), forwards ? 1 : 2) << "the player never stops by itself";
  }
}

TEST_F(PlayerPanel, OpensAtTheMarkedFirstFrameWhenTheFilmIsMarked) {
  leaveFragment(*frame, first + 30, last - 10);
  frame->Command(Cmd::kModeSave)->trigger();
  frame->Command(Cmd::kModePreview)->trigger();
  ASSERT_NE(panel(), nullptr);
  EXPECT_EQ(frameText(), QString::number(first + 30));
  EXPECT_EQ(slider("1110")->value(), 30);
  EXPECT_EQ(pinPosition(), first + 30);
}

}  // namespace
}  // namespace kel::test
