// `kelorvo register`, `info` and `unregister` as a user runs them.
#include <gtest/gtest.h>

#include "platform/com/class_registry.h"
#include "platform/com/guid.h"
#include "platform/com/registration.h"
#include "platform/com/standard_classes.h"
#include "shared/identifiers.h"
#include "tests/filter/capture/child_process.h"
#include "tests/support/temp_env.h"

namespace kel::test {
namespace {

class KelorvoTool : public ::testing::Test {
 protected:
  RunResult kelorvo(const std::string& command) { return runProgram(binDir() / "kelorvo", {command}); }

  TempDir dir;
  ScopedEnv registry{"KELORVO_REGISTRY", (dir / "registry").string()};
  ScopedEnv run{"XDG_RUNTIME_DIR", (dir / "run").string()};
  ScopedEnv state{"KELLIB3_STATE_DIR", (dir / "state").string()};
  ScopedEnv camera{"KELLIB3_CAMERA", ""};
  ScopedEnv faults{"KELLIB3_FAIL", ""};
};

TEST_F(KelorvoTool, InfoNeedsRegistrationAndThenDescribesTheCamera) {
  const RunResult before = kelorvo("info");
  EXPECT_NE(before.exitCode, 0);
  // An empty registry has no class key to check against: creation reports it.
  EXPECT_NE(before.err.find("cannot open the camera: Код ошибки:"), std::string::npos) << before.err;

  const RunResult reg = kelorvo("register");
  ASSERT_EQ(reg.exitCode, 0) << reg.err;
  const RunResult info = kelorvo("info");
  ASSERT_EQ(info.exitCode, 0) << info.err;
  for (const char* part : {"Serial number: ", "Temperature: Т камеры: ", "Information:\n", "Recording capacity: ",
                           "Options:\n", "0x400003/0  ", " scalar ", " enum ", " rect "})
    EXPECT_NE(info.out.find(part), std::string::npos) << part << "\n" << info.out;
  // The catalogue shows the current value with its unit, the range and the names.
  EXPECT_NE(info.out.find("values: 1 "), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("units: 1 "), std::string::npos) << info.out;
}

TEST_F(KelorvoTool, InfoWithoutACameraPrintsTheFiltersReasonAndFails) {
  ASSERT_EQ(kelorvo("register").exitCode, 0);
  ScopedEnv absent{"KELLIB3_CAMERA", "absent"};
  const RunResult info = kelorvo("info");
  EXPECT_NE(info.exitCode, 0);
  EXPECT_NE(info.err.find("Камера не обнаружена"), std::string::npos) << info.err;
  EXPECT_EQ(info.err.find('\r'), std::string::npos);
  EXPECT_EQ(info.out.find("Options:"), std::string::npos);
}

TEST_F(KelorvoTool, UnregisterRemovesTheClassTheFilterEntryAndThePlatformClasses) {
  ASSERT_EQ(kelorvo("register").exitCode, 0);
  auto reg = plat::ClassRegistry::user();
  const std::string clsid = "CLSID\\" + plat::guidToString(CLSID_KelOrvoSource);
  const std::string graph = "CLSID\\" + plat::guidToString(CLSID_FilterGraph);
  ASSERT_EQ(reg.keyExists(clsid), S_OK);
  ASSERT_EQ(reg.keyExists(graph), S_OK);
  ASSERT_EQ(reg.keyExists(plat::filterInstanceKey(CLSID_KelOrvoSource)), S_OK);
  const RunResult again = kelorvo("register");
  EXPECT_EQ(again.exitCode, 0) << "registering twice is harmless";

  const RunResult un = kelorvo("unregister");
  ASSERT_EQ(un.exitCode, 0) << un.err;
  EXPECT_EQ(reg.keyExists(clsid), S_FALSE);
  EXPECT_EQ(reg.keyExists(graph), S_FALSE);
  EXPECT_EQ(reg.keyExists(plat::filterInstanceKey(CLSID_KelOrvoSource)), S_FALSE);
}

TEST_F(KelorvoTool, UnknownCommandsShowTheUsage) {
  const RunResult r = kelorvo("record-everything");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("usage: kelorvo"), std::string::npos);
}

}  // namespace
}  // namespace kel::test
