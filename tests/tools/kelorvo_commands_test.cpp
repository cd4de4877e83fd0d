// The camera commands of kelorvo run as a user runs them, on the virtual
// camera with a fast clock and a private class registry.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "tests/filter/capture/child_process.h"
#include "tests/support/temp_env.h"

namespace kel::test {
namespace {

class KelorvoCommands : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(kelorvo({"register"}).exitCode, 0); }
  RunResult kelorvo(const std::vector<std::string>& args) { return runProgram(binDir() / "kelorvo", args); }

  // Width and height from a PNG file's header.
  static std::pair<int, int> pngSize(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char h[24] = {};
    in.read(reinterpret_cast<char*>(h), sizeof h);
    if (!in || std::string(reinterpret_cast<char*>(h + 1), 3) != "PNG") return {-1, -1};
    auto be = [&](int at) { return (h[at] << 24) | (h[at + 1] << 16) | (h[at + 2] << 8) | h[at + 3]; };
    return {be(16), be(20)};
  }

  TempDir dir;
  ScopedEnv registry{"KELORVO_REGISTRY", (dir / "registry").string()};
  ScopedEnv run{"XDG_RUNTIME_DIR", (dir / "run").string()};
  ScopedEnv state{"KELLIB3_STATE_DIR", (dir / "state").string()};
  ScopedEnv scale{"KELLIB3_TIME_SCALE", "1000"};
  ScopedEnv camera{"KELLIB3_CAMERA", ""};
  ScopedEnv faults{"KELLIB3_FAIL", ""};
};

TEST_F(KelorvoCommands, SetAndGetRoundTripInUnitsByNameOrNumber) {
  const RunResult set = kelorvo({"set", "0x400003", "3000", "--unit", "мкс"});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  EXPECT_EQ(set.out, "3000 мкс\n");
  // Another process sees what the camera accepted, in another unit.
  const RunResult ns = kelorvo({"get", "4194307", "--unit", "1"});
  ASSERT_EQ(ns.exitCode, 0) << ns.err;
  EXPECT_EQ(ns.out, "3000000 нс\n");

  const RunResult list = kelorvo({"set", "0x400005", "По счётчику кадров"});
  ASSERT_EQ(list.exitCode, 0) << list.err;
  EXPECT_EQ(list.out, "37 По счётчику кадров\n");
  const RunResult window = kelorvo({"set", "0x400006", "0,0,640,480"});
  ASSERT_EQ(window.exitCode, 0) << window.err;
  EXPECT_EQ(kelorvo({"get", "0x400006"}).out, "0,0,640,480\n");
}

TEST_F(KelorvoCommands, BadOptionsValuesAndUnitsFailWithOneLine) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"get", "0x4000ff"}, {"set", "0x400003", "fast"}, {"set", "0x400003", "5", "--unit", "parsec"},
        {"get", "zz"}, {"get"}, {"set", "0x400003", "1", "--speed", "2"}}) {
    const RunResult r = kelorvo(args);
    EXPECT_NE(r.exitCode, 0) << args[0];
    ASSERT_FALSE(r.err.empty());
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    EXPECT_EQ(r.err.rfind("kelorvo ", 0), 0u) << r.err;
  }
}

TEST_F(KelorvoCommands, SnapshotWritesAPngOfTheInputWindowsSize) {
  ASSERT_EQ(kelorvo({"set", "0x400006", "0,0,640,480"}).exitCode, 0);
  const auto file = dir / "frame.png";
  const RunResult r = kelorvo({"snapshot", file.string(), "--frames", "3"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(pngSize(file), std::make_pair(640, 480));
  const RunResult bad = kelorvo({"snapshot", (dir / "missing" / "x.png").string()});
  EXPECT_NE(bad.exitCode, 0);
  EXPECT_NE(bad.err.find("cannot write"), std::string::npos) << bad.err;
}

TEST_F(KelorvoCommands, RecordAndSaveArePartsOfCapture) {
  // A film recorded by one run is gone when the next opens the camera.
  for (const char* command : {"record", "save"}) {
    const RunResult r = kelorvo({command, "--frames", "40"});
    EXPECT_EQ(r.exitCode, 2) << command;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    EXPECT_NE(r.err.find("`kelorvo capture --frames N --out FILE` records and saves it in one run"), std::string::npos)
        << r.err;
  }
  const RunResult usage = kelorvo({"--help"});
  EXPECT_NE(usage.out.find("\n  capture "), std::string::npos) << usage.out;
  EXPECT_EQ(usage.out.find("\n  record "), std::string::npos) << usage.out;
}

TEST_F(KelorvoCommands, SnapshotRefusesWhatItCannotMean) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"snapshot", (dir / "s.jpg").string()}, "a snapshot is written as PNG: name the file FILE.png"},
      {{"snapshot", (dir / "s.png").string(), "--gamma", "-1"}, "the gamma is 0 (off) or 1 (on)"},
  };
  for (const auto& [args, reason] : cases) {
    const RunResult r = kelorvo(args);
    EXPECT_NE(r.exitCode, 0) << reason;
    EXPECT_NE(r.err.find(reason), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "s.jpg"));
  EXPECT_FALSE(std::filesystem::exists(dir / "s.png"));
}

TEST_F(KelorvoCommands, OneLiveFrameLostToADmaFaultIsReplacedByTheNext) {
  ScopedEnv fault{"KELLIB3_FAIL", "InDInterfaceStartDma:2"};
  const auto file = dir / "frame.png";
  const RunResult r = kelorvo({"snapshot", file.string(), "--frames", "3"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_GT(pngSize(file).first, 0);
}

TEST_F(KelorvoCommands, CodecsEndWithoutCompressionAndNoCameraIsOneClearLine) {
  const RunResult codecs = kelorvo({"codecs"});
  ASSERT_EQ(codecs.exitCode, 0) << codecs.err;
  EXPECT_TRUE(codecs.out.ends_with("\nБез сжатия\n")) << codecs.out;

  ScopedEnv absent{"KELLIB3_CAMERA", "absent"};
  const RunResult r = kelorvo({"snapshot", (dir / "x.png").string()});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.err.find("kelorvo snapshot: cannot open the camera: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Камера не обнаружена"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "x.png"));
}

}  // namespace
}  // namespace kel::test
