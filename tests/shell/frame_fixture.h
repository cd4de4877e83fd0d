// The whole main window on the virtual camera, with the settings host the
// application installs: the base of the tests that drive the shell as an
// operator does.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "shell/app/MainFrame.h"
#include "shell/graph/Graph.h"
#include "shell/settings/SettingsHost.h"
#include "tests/shell/qt_helpers.h"
#include "tests/shell/shell_host.h"

namespace kel::test {

class FrameFixture : public ::testing::Test {
 protected:
  // `vars`: the virtual camera's environment (clock scale, sensor size).
  explicit FrameFixture(std::vector<std::pair<std::string, std::string>> vars = {}) : host(std::move(vars)) {}
  void SetUp() override { ASSERT_TRUE(graph.Create()) << graph.GetLastErrorText(); }
  void TearDown() override {
    frame.reset();
    graph.Destroy();
  }
  std::filesystem::path ini() const { return host.dir().path() / "WinKelOrvoShell.ini"; }
  // The main window in set-up mode, shown.
  void openFrame() {
    frame = std::make_unique<CMainFrame>(graph, ini());
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
  }

  ShellHost host;
  CGraph graph;
  Sett::SettingStore store;
  Sett::FilmMarks marks;
  Sett::Host settings{graph, store, marks};
  std::unique_ptr<CMainFrame> frame;
};

}  // namespace kel::test
