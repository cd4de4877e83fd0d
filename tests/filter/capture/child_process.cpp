#include "tests/filter/capture/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <system_error>
#include <utility>

extern char** environ;

namespace kel::test {
namespace {

std::vector<char*> argv(const std::filesystem::path& program, const std::vector<std::string>& args,
                        std::vector<std::string>& storage) {
  storage.clear();
  storage.push_back(program.string());
  storage.insert(storage.end(), args.begin(), args.end());
  std::vector<char*> v;
  for (auto& s : storage) v.push_back(s.data());
  v.push_back(nullptr);
  return v;
}

void check(int rc, const char* what) {
  if (rc != 0) throw std::system_error(rc, std::generic_category(), what);
}

void makePipe(int fds[2]) {
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe2");
}

int exitCodeOf(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

std::string readAll(int fd) {
  std::string s;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0) {
      s.append(buf, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      return s;
    }
  }
}

// Spawns `program` with the given descriptors as its standard streams.
pid_t spawn(const std::filesystem::path& program, const std::vector<std::string>& args, int in, int out, int err) {
  posix_spawn_file_actions_t actions;
  check(posix_spawn_file_actions_init(&actions), "posix_spawn_file_actions_init");
  posix_spawn_file_actions_adddup2(&actions, in, 0);
  posix_spawn_file_actions_adddup2(&actions, out, 1);
  posix_spawn_file_actions_adddup2(&actions, err, 2);
  std::vector<std::string> storage;
  auto v = argv(program, args, storage);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, v[0], &actions, nullptr, v.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  check(rc, "posix_spawn");
  return pid;
}

}  // namespace

RunResult runProgram(const std::filesystem::path& program, const std::vector<std::string>& args) {
  int out[2], in[2];
  makePipe(out);
  makePipe(in);
  // Standard error goes to an unlinked file, so neither pipe can fill up
  // while the other is read.
  FILE* errFile = std::tmpfile();
  if (!errFile) throw std::system_error(errno, std::generic_category(), "tmpfile");
  const pid_t pid = spawn(program, args, in[0], out[1], fileno(errFile));
  ::close(in[0]);
  ::close(in[1]);
  ::close(out[1]);
  RunResult r;
  r.out = readAll(out[0]);
  ::close(out[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  r.exitCode = exitCodeOf(status);
  std::rewind(errFile);
  r.err = readAll(fileno(errFile));
  std::fclose(errFile);
  return r;
}

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args) {
  int in[2], out[2];
  makePipe(in);
  makePipe(out);
  pid_ = spawn(program, args, in[0], out[1], 2);
  ::close(in[0]);
  ::close(out[1]);
  in_ = in[1];
  out_ = out[0];
}

ChildProcess::~ChildProcess() {
  closeInput();
  wait();
  if (out_ >= 0) ::close(out_);
}

std::string ChildProcess::readLine() {
  for (;;) {
    if (auto nl = buffer_.find('\n'); nl != std::string::npos) {
      std::string line = buffer_.substr(0, nl);
      buffer_.erase(0, nl + 1);
      return line;
    }
    char buf[1024];
    const ssize_t n = out_ >= 0 ? ::read(out_, buf, sizeof buf) : 0;
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      eof_ = true;
      return std::exchange(buffer_, {});
    }
    buffer_.append(buf, static_cast<std::size_t>(n));
  }
}

std::vector<std::string> ChildProcess::readUntil(const std::string& prefix) {
  std::vector<std::string> lines;
  for (;;) {
    std::string line = readLine();
    const bool ended = eof_ && line.empty();
    const bool found = line.rfind(prefix, 0) == 0;
    lines.push_back(std::move(line));
    if (found || ended) return lines;
  }
}

void ChildProcess::closeInput() {
  if (in_ >= 0) ::close(in_);
  in_ = -1;
}

void ChildProcess::kill() {
  if (pid_ > 0) ::kill(pid_, SIGKILL);
  wait();
}

int ChildProcess::wait() {
  if (pid_ <= 0) return -1;
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  return exitCodeOf(status);
}

}  // namespace kel::test
