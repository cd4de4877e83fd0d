// The grabber's memory belongs to the controller: settings and film survive
// a restart of the program; several controllers work side by side.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/kellib3/session.h"

namespace kel::test {
namespace {

constexpr std::uint32_t kFrameRange = 0x400020;

void recordFilm(Session& s, std::int32_t frames, std::int32_t stopEvent) {
  ASSERT_EQ(s.setScalar(0x400009, 1, 0), 0);
  ASSERT_EQ(s.setScalar(0x400007, frames, KELLIB3_UNIT_FRAMES), 0);
  ASSERT_EQ(s.setEnum(0x400005, stopEvent), 0);
  ASSERT_EQ(s.setEnum(0x400004, 4), 0);
  s.startInput();
}

TEST(Persistence, SettingsAndFilmSurviveExitAndInit) {
  TempDir dir;
  SessionEnv env(dir.path(), 1e6, {{"KELLIB3_SIZE", "320x240"}});
  {
    Session s;
    ASSERT_EQ(s.setScalar(0x40000a, 5, 0), 0);
    recordFilm(s, 12, 37);
    ASSERT_TRUE(s.waitForState(KELLIB3_STATE_IDLE));
  }
  EXPECT_TRUE(std::filesystem::exists(dir / "controller0.state"));
  Session s;
  EXPECT_EQ(s.scalar(0x40000a, 0), 5);
  EXPECT_EQ(s.range(kFrameRange, 0), std::make_pair(0, 11));
  ASSERT_EQ(s.setScalar(kFrameRange, 3, 0), 0);
  const auto t = s.transfer();
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(t->stripNumber, std::optional<std::uint32_t>(3));
}

TEST(Persistence, ARecordingGoesOnWhileTheProgramIsAway) {
  TempDir dir;
  SessionEnv env(dir.path(), 1e4, {{"KELLIB3_SIZE", "320x240"}});
  std::int32_t before = -1;
  {
    Session s;
    recordFilm(s, 10, 4);
    ASSERT_EQ(KelLib3InDInterfaceWait(s.input(), 100, s.error()), 0);
    before = s.range(kFrameRange, 0).second;
  }
  Session s;
  EXPECT_EQ(s.state(), static_cast<std::uint32_t>(KELLIB3_STATE_RECORDING));
  ASSERT_EQ(KelLib3InDInterfaceWait(s.input(), 100, s.error()), 0);
  EXPECT_GT(s.range(kFrameRange, 0).second, before);
  s.stopInput();
  EXPECT_TRUE(s.waitForState(KELLIB3_STATE_IDLE));
}

TEST(Persistence, AnotherCameraOrADamagedFileIsNotTakenForTheSavedOne) {
  TempDir dir;
  {
    SessionEnv env(dir.path(), 1e6, {{"KELLIB3_SIZE", "320x240"}});
    Session s;
    ASSERT_EQ(s.setScalar(0x40000a, 7, 0), 0);
  }
  {
    SessionEnv env(dir.path(), 1e6, {{"KELLIB3_SIZE", "640x480"}});
    Session s;
    EXPECT_EQ(s.scalar(0x40000a, 0), 1) << "settings of a different sensor are not restored";
  }
  // A damaged or impossible state is reported by one open, which says the
  // film is lost; the camera then goes on from its defaults.
  std::string zeros = "clock 0 0\nsettings";
  for (int field = 0; field < 21; ++field) zeros += " 0";
  zeros += "\nmemory 1 0 0 0 0\n";
  const std::pair<std::string, std::string> damaged[] = {
      {"clock x\n", "clock line missing"},
      {zeros, "settings the camera cannot hold"},
      {"clock 9223372036854775807 -9223372036854775807\nsettings x\n", "settings line damaged"}};
  SessionEnv env(dir.path(), 1e6, {{"KELLIB3_SIZE", "640x480"}});
  for (const auto& [body, reason] : damaged) {
    SCOPED_TRACE(reason);
    std::ofstream(dir / "controller0.state") << "kellib3-controller-state 1\ncamera 0 640 480\n" << body;
    {
      Library lib;
      KL3_HANDLE system = 0;
      ASSERT_EQ(KelLib3SystemCreate(3, &system, lib.error()), 0);
      EXPECT_EQ(KelLib3SystemInit(system, lib.error()), 17);
      const std::string text = errorText(lib.error());
      EXPECT_NE(text.find(reason), std::string::npos) << text;
      EXPECT_NE(text.find("the film it held is lost"), std::string::npos) << text;
      EXPECT_EQ(KelLib3SystemInit(system, lib.error()), 0) << errorText(lib.error());
      EXPECT_EQ(KelLib3SystemDestroy(system, lib.error()), 0);
    }
    Session s;  // a later start finds the defaults, with nothing to report
    std::int32_t x = 0, y = 0, w = 0, h = 0, start = 0;
    ASSERT_EQ(KelLib3OptionGetRect(s.iface(0x400006), &x, &y, &w, &h, s.error()), 0);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(640, 480));
    ASSERT_EQ(KelLib3OptionGetEnumVal(s.iface(0x400004), &start, s.error()), 0);
    EXPECT_EQ(start, 33);
  }
}

TEST(Persistence, AMissingStateFolderIsCreatedForItsOwnerOnly) {
  TempDir dir;
  const auto folder = dir / "run" / "kelorvo";
  { SessionEnv env(folder); Session s; }
  for (const auto& created : {folder.parent_path(), folder})
    EXPECT_EQ(std::filesystem::status(created).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all)
        << created;
}

TEST(Persistence, ControllersKeepSeparateSettingsAndFilms) {
  TempDir dir;
  SessionEnv env(dir.path(), 1e6, {{"KELLIB3_SIZE", "320x240"}, {"KELLIB3_CONTROLLERS", "2"}});
  Session a(0);
  Session b(1);
  ASSERT_EQ(a.setScalar(0x40000a, 3, 0), 0);
  ASSERT_EQ(b.setScalar(0x40000a, 9, 0), 0);
  recordFilm(a, 4, 37);
  recordFilm(b, 7, 37);
  ASSERT_TRUE(a.waitForState(KELLIB3_STATE_IDLE));
  ASSERT_TRUE(b.waitForState(KELLIB3_STATE_IDLE));
  EXPECT_EQ(a.range(kFrameRange, 0), std::make_pair(0, 3));
  EXPECT_EQ(b.range(kFrameRange, 0), std::make_pair(0, 6));
  EXPECT_EQ(a.scalar(0x40000a, 0), 3);
  EXPECT_EQ(b.scalar(0x40000a, 0), 9);
  std::int32_t index = -1;
  std::uint32_t type = 0;
  ASSERT_EQ(KelLib3GetInfoScalarVal(b.iface(0x90000c), &index, &type, b.error()), 0);
  EXPECT_EQ(index, 1);
  ASSERT_EQ(b.setScalar(kFrameRange, 6, 0), 0);
  const auto t = b.transfer();
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(t->stripNumber, std::optional<std::uint32_t>(6));
}

}  // namespace
}  // namespace kel::test
