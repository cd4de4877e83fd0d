// The camera column: the live picture painted from the renderer's newest
// frame, and the video window's size under zoom, fit and decimation.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <fstream>
#include <QSignalSpy>
#include <set>

#include "platform/graph/vmr_interfaces.h"
#include "shell/app/CamView.h"
#include "shell/app/MainFrame.h"
#include "shell/app/VideoWindow.h"
#include "shell/app/commands.h"
#include "shell/graph/Graph.h"
#include "tests/shell/qt_helpers.h"
#include "tests/shell/shell_host.h"

namespace kel::test {
namespace {

class LiveFrame : public ::testing::Test {
 protected:
  explicit LiveFrame(std::vector<std::pair<std::string, std::string>> vars = {{"KELLIB3_SIZE", "640x480"}})
      : host(std::move(vars)) {}
  void open(long decimation = 0) {
    ASSERT_TRUE(graph.Create()) << graph.GetLastErrorText();
    if (decimation) {
      ComPtr<IScalarProperty> option;
      ASSERT_TRUE(graph.GetScalarProperty(0x400055, 0, option.put())) << graph.GetLastErrorText();
      ASSERT_EQ(option->SetValue(decimation, 0), S_OK);
    }
    frame = std::make_unique<CMainFrame>(graph, host.dir().path() / "WinKelOrvoShell.ini");
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    ASSERT_NE(frame->CamView(), nullptr);
    video = frame->CamView()->VideoWindow();
  }
  void TearDown() override {
    frame.reset();
    graph.Destroy();
  }
  QSize native() {
    ComPtr<IVMRWindowlessControl> control;
    LONG w = 0, h = 0;
    if (graph.GetWindowlessControl(control.putVoid())) control->GetNativeVideoSize(&w, &h, nullptr, nullptr);
    return QSize(w, h);
  }
  void zoom(int id) {
    frame->Command(id)->trigger();
  }

  ShellHost host;
  CGraph graph;
  std::unique_ptr<CMainFrame> frame;
  CVideoWindow* video = nullptr;
};

TEST_F(LiveFrame, TheLivePictureIsPaintedFromNewerAndNewerFrames) {
  open();
  QSignalSpy painted(video, &CVideoWindow::FramePainted);
  ASSERT_TRUE(waitFor([&] { return painted.size() >= 5; })) << "the live picture keeps coming";
  std::set<quint64> counters;
  for (const auto& args : painted) counters.insert(args.at(0).toULongLong());
  EXPECT_EQ(counters.size(), static_cast<std::size_t>(painted.size())) << "every paint shows a newer frame";
  // The picture is the camera's, not an empty window.
  const QImage shot = video->grab().toImage();
  std::set<QRgb> colours;
  for (int y = 0; y < shot.height(); y += 7)
    for (int x = 0; x < shot.width(); x += 7) colours.insert(shot.pixel(x, y));
  EXPECT_GT(colours.size(), 4u);
}

TEST_F(LiveFrame, BackInSetUpTheNewViewGetsTheLivePictureAgain) {
  open();
  frame->Command(Cmd::kModeInput)->trigger();
  frame->Command(Cmd::kModeSetup)->trigger();
  ASSERT_EQ(frame->CamView()->objectName(), "CSetupCamView");
  CVideoWindow* again = frame->CamView()->VideoWindow();
  QSignalSpy painted(again, &CVideoWindow::FramePainted);
  ASSERT_TRUE(waitFor([&] { return painted.size() >= 3; })) << "the old view's going must not detach the new one";
}

TEST_F(LiveFrame, FitFillsTheViewKeepingTheProportions) {
  open();
  ASSERT_EQ(native(), QSize(640, 480));
  const QSize view = frame->CamView()->viewport()->size();
  ASSERT_TRUE(waitFor([&] { return video->isVisible(); }));
  const QSize size = video->size();
  EXPECT_TRUE(size.width() == view.width() || size.height() == view.height()) << size.width() << "x" << size.height();
  EXPECT_LE(size.width(), view.width());
  EXPECT_LE(size.height(), view.height());
  EXPECT_NEAR(size.width() * 480.0 / 640.0, size.height(), 1.0);
  // A smaller window sits in the middle of the view.
  const QPoint middle = video->geometry().center();
  EXPECT_NEAR(middle.x(), view.width() / 2, 1);
  EXPECT_NEAR(middle.y(), view.height() / 2, 1);
}

TEST_F(LiveFrame, ZoomedWindowsHaveTheirPercentAndStartScrolledToTheMiddle) {
  open();
  zoom(Cmd::kZoom100);
  EXPECT_EQ(video->size(), QSize(640, 480));
  zoom(Cmd::kZoom800);
  EXPECT_EQ(video->size(), QSize(5120, 3840));
  CCamView* view = frame->CamView();
  ASSERT_TRUE(waitFor([&] { return view->horizontalScrollBar()->maximum() > 0; }));
  EXPECT_EQ(view->horizontalScrollBar()->value(), (5120 - view->viewport()->width()) / 2);
  EXPECT_EQ(view->verticalScrollBar()->value(), (3840 - view->viewport()->height()) / 2);
}

class DecimatedCamera : public LiveFrame {
 protected:
  // Decimation 4 over 1920 sensor rows gives a 640 x 480 picture.
  DecimatedCamera() : LiveFrame({{"KELLIB3_SIZE", "640x1920"}}) {}
};

TEST_F(DecimatedCamera, Zoom200WithDecimation4IsStretchedToFourTimesTheHeight) {
  open(4);
  ASSERT_EQ(video->Decimation(), 4);
  ASSERT_EQ(native(), QSize(640, 480));
  zoom(Cmd::kZoom200);
  EXPECT_EQ(video->size(), QSize(1280, 3840));
  CCamView* view = frame->CamView();
  EXPECT_EQ(view->verticalScrollBar()->value(), (3840 - view->viewport()->height()) / 2);
  EXPECT_EQ(view->horizontalScrollBar()->value(), std::max(0, (1280 - view->viewport()->width()) / 2));
}

TEST_F(DecimatedCamera, WithoutStretchInTheProfileThePictureKeepsItsHeight) {
  std::ofstream(host.dir().path() / "WinKelOrvoShell.ini") << "[STRETCH_SEC]\nSTRETCH=0\n";
  open(4);
  zoom(Cmd::kZoom200);
  EXPECT_EQ(video->size(), QSize(1280, 960));
}

}  // namespace
}  // namespace kel::test
