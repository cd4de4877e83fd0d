// The recorder panel of input mode as the operator sees it: a recording
// starts as the mode opens, the frame numbers and the progress bar follow
// it, the space bar or the stop button ends it, and the end moves the main
// frame on to preview, or to save mode with automatic saving.
#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <fstream>

#include "shared/camera_interfaces.h"
#include "shell/app/LogViewWnd.h"
#include "shell/app/MainFrame.h"
#include "shell/app/commands.h"
#include "shell/graph/Graph.h"
#include "shell/panels/DialogWndRecoder.h"
#include "shell/settings/SettingsHost.h"
#include "tests/shell/panel_settings.h"
#include "tests/shell/frame_fixture.h"
#include "tests/shell/qt_helpers.h"
#include "tests/shell/shell_host.h"

namespace kel::test {
namespace {

constexpr LONG kStopEventOption = 0x400005;
constexpr LONG kFramesToInputOption = 0x400007;
constexpr LONG kFramePositionOption = 0x400020;
constexpr LONG kStopAfterFrames = 37;
constexpr LONG kStopOnCommand = 4;
// A recording of the fast virtual camera ends well within this.
constexpr int kEndMs = 30000;

struct FilmRange {
  LONG first = -1;
  LONG last = -1;
};

class RecorderPanel : public FrameFixture {
 protected:
  // The virtual camera's clock runs at `timeScale` times real time.
  explicit RecorderPanel(const char* timeScale = "1") : FrameFixture({{"KELLIB3_TIME_SCALE", timeScale}}) {}
  void openFrame() {
    ASSERT_NO_FATAL_FAILURE(FrameFixture::openFrame());
    // Set-up mode has put the camera's own stop event back; the input
    // settings change it in set-up, as here.
    setStopEvent(stopEvent);
  }
  void enterInput() {
    frame->UpdateCommandUI();
    frame->Command(Cmd::kModeInput)->trigger();
    ASSERT_EQ(frame->ModeCode(), 4);
    ASSERT_NE(panel(), nullptr);
  }
  // The stop event as the input settings leave it: in the camera and in
  // the application's stored values.
  void setStopEvent(LONG value) {
    ComPtr<IEnumProperty> stopEvent;
    ASSERT_TRUE(graph.GetEnumProperty(kStopEventOption, stopEvent.put())) << graph.GetLastErrorText();
    ASSERT_EQ(stopEvent->SetValue(value), S_OK);
  }
  void stopAfter(int frames) {
    stopEvent = kStopAfterFrames;
    store.enums.push_back({kStopEventOption, kStopAfterFrames});
    store.scalars.push_back({kFramesToInputOption, frames, 0, {}});
  }
  CDialogWndRecoder* panel() const { return frame->findChild<CDialogWndRecoder*>(); }
  template <class T>
  T* control(const char* id) const {
    return panel() ? panel()->findChild<T*>(id) : nullptr;
  }
  // Waits until the filter reports frames, as the "max" text shows them.
  bool recordingShown() {
    return waitFor([&] { return control<QLabel>("1107") && !control<QLabel>("1107")->text().isEmpty(); });
  }
  FilmRange recordedRange() {
    FilmRange range;
    ComPtr<IScalarProperty> position;
    EXPECT_TRUE(graph.GetScalarProperty(kFramePositionOption, 0, position.put())) << graph.GetLastErrorText();
    if (position) {
      EXPECT_EQ(position->GetMinValue(&range.first, 0), S_OK);
      EXPECT_EQ(position->GetMaxValue(&range.last, 0), S_OK);
    }
    return range;
  }

  // A recording runs until it is stopped, unless a test says otherwise.
  LONG stopEvent = kStopOnCommand;
};

TEST_F(RecorderPanel, OpeningInputModeStartsARecordingAtOnce) {
  openFrame();
  enterInput();
  EXPECT_TRUE(panel()->Armed());
  EXPECT_EQ(graphState(graph.Graph()), State_Running);
  auto* timer = panel()->findChild<QTimer*>("107");
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 100);
  EXPECT_NE(control<QPushButton>("32786"), nullptr);
  EXPECT_NE(control<QPushButton>("32787"), nullptr);
  EXPECT_FALSE(control<QProgressBar>("1173")->isVisibleTo(panel())) << "no stop after a known number of frames";

  ComPtr<ICamera2> camera;
  ASSERT_TRUE(graph.GetCamera2(camera.put()));
  int capacity = 0;
  ASSERT_EQ(camera->GetMaxFramesCount(&capacity), S_OK);
  EXPECT_EQ(control<QLabel>("1108")->text(), QString::number(capacity));

  ASSERT_TRUE(recordingShown());
  bool minOk = false, maxOk = false;
  const int min = control<QLabel>("1106")->text().toInt(&minOk);
  const int max = control<QLabel>("1107")->text().toInt(&maxOk);
  EXPECT_TRUE(minOk && maxOk);
  EXPECT_LE(min, max);
  EXPECT_FALSE(graph.filmRecorded);
  EXPECT_EQ(frame->ModeCode(), 4) << "the recording goes on until stopped";
}

// A thousand frames in a moment, on the fast clock.
class FastRecorderPanel : public RecorderPanel {
 protected:
  FastRecorderPanel() : RecorderPanel("1000") {}
};

TEST_F(FastRecorderPanel, AStopAfterAThousandFramesRunsTheBarToTheLastFrameAndEndsInPreview) {
  stopAfter(1000);
  openFrame();
  enterInput();
  auto* bar = control<QProgressBar>("1173");
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->isVisibleTo(panel()));
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 1000);
  std::vector<int> values;
  QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) { values.push_back(v); });

  ASSERT_TRUE(waitFor([&] { return frame->ModeCode() == 8; }, kEndMs)) << "the end of the recording leads to preview";
  EXPECT_TRUE(graph.filmRecorded);
  EXPECT_EQ(frame->CamView()->objectName(), "CPreviewCamView");
  const FilmRange film = recordedRange();
  EXPECT_EQ(film.last - film.first + 1, 1000);
  ASSERT_FALSE(values.empty());
  EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
  EXPECT_EQ(values.back(), film.last) << "the bar follows the last frame number to the end";
  EXPECT_FALSE(marks.Film()) << "film marks are written only for an automatic save";
}

// Before any settings panel has stored the input settings, the camera's own
// stop event and frame count make the film (not a count of 0: one frame).
TEST_F(FastRecorderPanel, TheFrameCountLeftInTheSetUpPanelMakesTheFilm) {
  openFrame();
  leaveInputSettings(*frame, kStopAfterFrames, 300);
  enterInput();
  auto* bar = control<QProgressBar>("1173");
  EXPECT_TRUE(bar->isVisibleTo(panel()));
  EXPECT_EQ(bar->maximum(), 300);
  ASSERT_TRUE(waitFor([&] { return frame->ModeCode() == 8; }, kEndMs));
  const FilmRange film = recordedRange();
  EXPECT_EQ(film.last - film.first + 1, 300);
}

TEST_F(RecorderPanel, TheSpaceBarInTheCameraViewStopsTheRecordingAndTheEndLeadsToPreview) {
  openFrame();
  enterInput();
  ASSERT_TRUE(recordingShown());
  QTest::keyClick(frame->CamView(), Qt::Key_Space);
  ASSERT_TRUE(waitFor([&] { return frame->ModeCode() == 8; }, kEndMs));
  EXPECT_TRUE(graph.filmRecorded);
  frame->UpdateCommandUI();
  EXPECT_TRUE(frame->Command(Cmd::kModePreview)->isChecked());
  const FilmRange film = recordedRange();
  EXPECT_GE(film.first, 0);
  EXPECT_GE(film.last, film.first);
}

TEST_F(RecorderPanel, TheSpaceBarInTheLogAndTheStopButtonStopToo) {
  openFrame();
  enterInput();
  ASSERT_TRUE(recordingShown());
  QTest::keyClick(frame->LogView(), Qt::Key_Space);
  ASSERT_TRUE(waitFor([&] { return frame->ModeCode() == 8; }, kEndMs));

  // Another scene: the question is answered yes, and a new recording runs.
  whenModal([](QWidget* box) { buttonWithText(box, "Да")->click(); });
  enterInput();
  EXPECT_FALSE(graph.filmRecorded) << "a new recording forgets the old film";
  ASSERT_TRUE(recordingShown());
  control<QPushButton>("32787")->click();
  ASSERT_TRUE(waitFor([&] { return frame->ModeCode() == 8; }, kEndMs));
  EXPECT_TRUE(graph.filmRecorded);
}

TEST_F(RecorderPanel, WithAutoSaveTheEndLeadsToSaveModeWithTheFilmMarked) {
  {
    std::ofstream out(ini());
    out << "[AUTOSAVE_SEC]\nAUTOSAVE=1\n";
  }
  openFrame();
  enterInput();
  ASSERT_TRUE(recordingShown());
  QTest::keyClick(frame->CamView(), Qt::Key_Space);
  ASSERT_TRUE(waitFor([&] { return frame->ModeCode() == 16; }, kEndMs));
  EXPECT_TRUE(graph.filmRecorded);
  const FilmRange film = recordedRange();
  const auto mark = marks.Film();
  ASSERT_TRUE(mark);
  EXPECT_EQ(mark->first, film.first);
  EXPECT_EQ(mark->last, film.last);

  // The next scene forgets the marks of this one.
  whenModal([](QWidget* box) { buttonWithText(box, "Да")->click(); });
  enterInput();
  EXPECT_FALSE(marks.Film());
}

TEST_F(RecorderPanel, LeavingInputModeWhileRecordingMarksNoFilm) {
  openFrame();
  enterInput();
  ASSERT_TRUE(recordingShown());
  frame->Command(Cmd::kModeSetup)->trigger();
  EXPECT_EQ(frame->ModeCode(), 2) << "no question: there is no film yet";
  EXPECT_FALSE(graph.filmRecorded);
  EXPECT_EQ(panel(), nullptr);
  frame->UpdateCommandUI();
  EXPECT_FALSE(frame->Command(Cmd::kModePreview)->isEnabled());
}

}  // namespace
}  // namespace kel::test
