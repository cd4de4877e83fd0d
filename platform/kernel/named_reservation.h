// A machine-wide reservation by name, held until every holder has let go.
//
// Each name has a lock file under $XDG_RUNTIME_DIR/kelorvo/ (or
// /tmp/kelorvo-<uid>/ when that is unset). Every open reservation holds a
// shared flock on its own open of that file, so the name stays taken while
// any handle to it is open in any process, including handles of processes
// that only found it already existing. "Already existed" is decided by
// trying an exclusive lock on a fresh open: it fails exactly when someone
// else holds the name. A side guard lock serialises the test-and-take of
// all creators, so two of them can never both believe they were first.
// The kernel drops flocks when a process dies, so a killed holder frees its
// name. Lock files are never removed: removing one while another process
// opens it would split the name into two unrelated locks.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace plat {

class NamedReservation {
 public:
  struct Created;

  // Creates the reservation or opens the existing one. Throws
  // std::system_error naming the lock file when it cannot be used, and
  // std::invalid_argument for an empty name.
  static Created create(std::string_view name);

  // True while any handle to the name is open, in this or another process.
  static bool isHeld(std::string_view name);

  // Folder of the lock files.
  static std::filesystem::path directory();

  NamedReservation(NamedReservation&& other) noexcept;
  NamedReservation& operator=(NamedReservation&& other) noexcept;
  NamedReservation(const NamedReservation&) = delete;
  NamedReservation& operator=(const NamedReservation&) = delete;
  ~NamedReservation();

  const std::string& name() const { return name_; }

  // Lets go of the name early; the destructor does the same.
  void close();

 private:
  NamedReservation(std::string name, int fd) : name_(std::move(name)), fd_(fd) {}

  std::string name_;
  int fd_ = -1;
};

struct NamedReservation::Created {
  NamedReservation reservation;
  bool alreadyExisted;
};

}  // namespace plat
