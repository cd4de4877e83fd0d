#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "platform/kernel/named_reservation.h"
#include "tests/support/temp_env.h"

namespace {

const std::array<std::string, 4> kSlots = {
    "{A3EA5908-AB5B-4d66-99D5-205000676631}", "{4D947043-0744-4efe-A4C1-BF1EE87C6152}",
    "{8B45C0D2-74CE-401d-9C8C-34743EB8AF1C}", "{C7A46CC1-C837-4434-8CD1-413868221EDC}"};

class NamedReservationTest : public ::testing::Test {
 protected:
  kel::test::TempDir runtime_;
  kel::test::ScopedEnv env_{"XDG_RUNTIME_DIR", runtime_.path().string()};
};

TEST_F(NamedReservationTest, SecondCreateReportsExistingAndEveryHandleKeepsTheName) {
  auto first = plat::NamedReservation::create(kSlots[0]);
  EXPECT_FALSE(first.alreadyExisted);
  auto second = plat::NamedReservation::create(kSlots[0]);
  EXPECT_TRUE(second.alreadyExisted);

  // The creator lets go, but the handle that only opened it keeps it taken.
  first.reservation.close();
  EXPECT_TRUE(plat::NamedReservation::isHeld(kSlots[0]));
  auto third = plat::NamedReservation::create(kSlots[0]);
  EXPECT_TRUE(third.alreadyExisted);

  second.reservation.close();
  third.reservation.close();
  EXPECT_FALSE(plat::NamedReservation::isHeld(kSlots[0]));
  EXPECT_FALSE(plat::NamedReservation::create(kSlots[0]).alreadyExisted);
}

TEST_F(NamedReservationTest, NamesAreIndependentAndLiveUnderTheRuntimeFolder) {
  auto a = plat::NamedReservation::create(kSlots[0]);
  auto b = plat::NamedReservation::create(kSlots[1]);
  EXPECT_FALSE(b.alreadyExisted);
  EXPECT_EQ(plat::NamedReservation::directory(), runtime_.path() / "kelorvo");
  EXPECT_FALSE(plat::NamedReservation::isHeld(kSlots[2]));
}

TEST_F(NamedReservationTest, AMissingRuntimeFolderIsCreatedForItsOwnerOnly) {
  const auto runtime = runtime_.path() / "missing";
  kel::test::ScopedEnv missing{"XDG_RUNTIME_DIR", runtime.string()};
  auto held = plat::NamedReservation::create(kSlots[0]);
  for (const auto& created : {runtime, runtime / "kelorvo"})
    EXPECT_EQ(std::filesystem::status(created).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all)
        << created;
}

TEST_F(NamedReservationTest, MovedHandleStillHolds) {
  auto created = plat::NamedReservation::create("moved");
  plat::NamedReservation moved = std::move(created.reservation);
  created.reservation.close();  // the moved-from object holds nothing
  EXPECT_TRUE(plat::NamedReservation::isHeld("moved"));
  moved = plat::NamedReservation::create("other").reservation;
  EXPECT_FALSE(plat::NamedReservation::isHeld("moved"));
}

TEST_F(NamedReservationTest, OddNamesStayInsideTheFolderAndEmptyIsRefused) {
  auto slash = plat::NamedReservation::create("../x/y");
  EXPECT_FALSE(slash.alreadyExisted);
  EXPECT_FALSE(plat::NamedReservation::isHeld("..%2Fx%2Fy"));
  EXPECT_FALSE(std::filesystem::exists(runtime_.path() / "x"));
  EXPECT_THROW(plat::NamedReservation::create(""), std::invalid_argument);
}

TEST(NamedReservationFolder, UnusableFolderIsAClearError) {
  kel::test::TempDir dir;
  auto blocker = dir / "file";
  { std::ofstream(blocker) << "x"; }
  kel::test::ScopedEnv env("XDG_RUNTIME_DIR", blocker.string());
  try {
    plat::NamedReservation::create(kSlots[0]);
    FAIL() << "expected an error";
  } catch (const std::system_error& e) {
    EXPECT_NE(std::string(e.what()).find(blocker.string()), std::string::npos) << e.what();
  }
}

// A helper process running the slot walk, spoken to through pipes.
class Holder {
 public:
  Holder() {
    int toChild[2];
    int fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0) {
      throw std::runtime_error("pipe failed");
    }
    std::string program = (kel::test::binDir() / "kel_reservation_holder").string();
    std::vector<char*> argv{program.data()};
    std::array<std::string, 4> names = kSlots;
    for (auto& n : names) argv.push_back(n.data());
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
      dup2(toChild[0], 0);
      dup2(fromChild[1], 1);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    in_ = toChild[1];
    out_ = fromChild[0];
  }

  ~Holder() { finish(); }

  // The line the helper printed: "slot N", "none", or what it said on error.
  std::string answer() {
    std::string line;
    char c;
    while (::read(out_, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }

  void kill() {
    ::kill(pid_, SIGKILL);
    finish();
  }

  // Closing its input lets the helper end; wait until it is gone.
  int finish() {
    if (pid_ <= 0) return status_;
    ::close(in_);
    ::close(out_);
    waitpid(pid_, &status_, 0);
    pid_ = 0;
    return status_;
  }

 private:
  pid_t pid_ = 0;
  int in_ = -1;
  int out_ = -1;
  int status_ = 0;
};

TEST_F(NamedReservationTest, FiveProcessesShareFourSlotsAndAKilledHolderFreesItsSlot) {
  std::vector<std::unique_ptr<Holder>> holders;
  for (int i = 0; i < 4; ++i) {
    holders.push_back(std::make_unique<Holder>());
    EXPECT_EQ(holders.back()->answer(), "slot " + std::to_string(i));
  }
  for (const auto& name : kSlots) EXPECT_TRUE(plat::NamedReservation::isHeld(name));

  Holder fifth;
  EXPECT_EQ(fifth.answer(), "none");
  int status = fifth.finish();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  holders[1]->kill();
  EXPECT_FALSE(plat::NamedReservation::isHeld(kSlots[1]));
  Holder replacement;
  EXPECT_EQ(replacement.answer(), "slot 1");

  replacement.finish();
  for (auto& h : holders) h->finish();
  for (const auto& name : kSlots) EXPECT_FALSE(plat::NamedReservation::isHeld(name));
}

}  // namespace
