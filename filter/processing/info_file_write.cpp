#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

#include "filter/processing/info_file.h"

namespace Orvo {
namespace {

std::string reason(const char* step, int error) { return std::string(step) + ": " + std::strerror(error); }

// A name no other writer in this or another process uses.
std::filesystem::path temporaryBeside(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path temp = path;
  temp += "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
  return temp;
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closing can report a late write error, so it is checked.
  int close() {
    const int r = ::close(fd_);
    fd_ = -1;
    return r;
  }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view bytes, std::string& why) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      why = reason("write", errno);
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool writeTemporary(const std::filesystem::path& temp, std::string_view bytes, std::string& why) {
  Descriptor file(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (file.get() < 0) {
    why = reason("open", errno);
    return false;
  }
  if (!writeAll(file.get(), bytes, why)) return false;
  // On the disk before the rename makes it the file.
  if (::fsync(file.get()) != 0) {
    why = reason("fsync", errno);
    return false;
  }
  if (file.close() != 0) {
    why = reason("close", errno);
    return false;
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string& why) {
  const std::filesystem::path temp = temporaryBeside(path);
  bool done = writeTemporary(temp, bytes, why);
  if (done && ::rename(temp.c_str(), path.c_str()) != 0) {
    why = reason("rename", errno);
    done = false;
  }
  if (!done) {
    std::error_code ignored;  // the write error is the one to report
    std::filesystem::remove(temp, ignored);
  }
  return done;
}

}  // namespace Orvo
