#include "platform/kernel/named_reservation.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "platform/kernel/private_directory.h"
#include "platform/kernel/unique_fd.h"

namespace plat {
namespace {

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& file) {
  throw std::system_error(errno, std::generic_category(), what + " " + file.string());
}

// Names are GUID strings in practice; anything outside a safe set is
// escaped so that every name maps to one file and never leaves the folder.
std::string fileNameFor(std::string_view name) {
  if (name.empty()) throw std::invalid_argument("reservation name is empty");
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : name) {
    bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                c == '{' || c == '}' || c == '-' || c == '_' || c == '.';
    if (safe && !(c == '.' && out.empty())) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out + ".lock";
}

UniqueFd openLockFile(const std::filesystem::path& file) {
  // Close-on-exec: a spawned program must not inherit, and so keep, a lock.
  int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) fail("cannot open lock file", file);
  return UniqueFd(fd);
}

int flockRetry(int fd, int op) {
  int rc;
  do {
    rc = ::flock(fd, op);
  } while (rc != 0 && errno == EINTR);
  return rc;
}

// Serialises creators across processes for the instant of test-and-take.
class GuardLock {
 public:
  explicit GuardLock(const std::filesystem::path& dir) : fd_(openLockFile(dir / ".guard")) {
    if (flockRetry(fd_.get(), LOCK_EX) != 0) fail("cannot lock", dir / ".guard");
  }

 private:
  UniqueFd fd_;  // closing it releases the lock
};

// True when the exclusive test lock could be taken, i.e. nobody holds the
// name through another open; on success the caller holds that lock.
bool tryExclusive(int fd, const std::filesystem::path& file) {
  if (flockRetry(fd, LOCK_EX | LOCK_NB) == 0) return true;
  if (errno != EWOULDBLOCK) fail("cannot lock", file);
  return false;
}

std::filesystem::path ensureDirectory() {
  auto dir = NamedReservation::directory();
  if (const auto ec = createPrivateDirectories(dir)) {
    throw std::system_error(ec, "cannot create reservation folder " + dir.string());
  }
  return dir;
}

}  // namespace

std::filesystem::path NamedReservation::directory() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] != '\0') return std::filesystem::path(runtime) / "kelorvo";
  return std::filesystem::path("/tmp") / ("kelorvo-" + std::to_string(::getuid()));
}

NamedReservation::Created NamedReservation::create(std::string_view name) {
  auto dir = ensureDirectory();
  auto file = dir / fileNameFor(name);
  GuardLock guard(dir);
  UniqueFd fd = openLockFile(file);
  bool existed = !tryExclusive(fd.get(), file);
  // Converting to shared is not atomic in the kernel, but no other creator
  // can test the name while the guard is held, and holders only ever keep
  // shared locks, so this cannot block.
  if (flockRetry(fd.get(), LOCK_SH | LOCK_NB) != 0) fail("cannot lock", file);
  return Created{NamedReservation(std::string(name), fd.release()), existed};
}

bool NamedReservation::isHeld(std::string_view name) {
  auto dir = ensureDirectory();
  auto file = dir / fileNameFor(name);
  GuardLock guard(dir);
  UniqueFd fd = openLockFile(file);
  // The test lock goes away when fd closes.
  return !tryExclusive(fd.get(), file);
}

NamedReservation::NamedReservation(NamedReservation&& other) noexcept
    : name_(std::move(other.name_)), fd_(std::exchange(other.fd_, -1)) {}

NamedReservation& NamedReservation::operator=(NamedReservation&& other) noexcept {
  if (this != &other) {
    close();
    name_ = std::move(other.name_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

NamedReservation::~NamedReservation() { close(); }

void NamedReservation::close() {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}

}  // namespace plat
