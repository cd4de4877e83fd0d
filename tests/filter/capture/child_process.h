// Other processes for the tests: a program run to its end with its output
// collected, and a helper kept alive and talked to line by line.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kel::test {

struct RunResult {
  int exitCode = -1;  // -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Runs `program` with `args` in the current environment and waits for it.
RunResult runProgram(const std::filesystem::path& program, const std::vector<std::string>& args);

// A helper process whose standard input and output are pipes to the test.
class ChildProcess {
 public:
  ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args);
  // Closes its input and waits for it.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line it writes, without the line end; empty at its end.
  std::string readLine();
  // Lines up to and including the first that starts with `prefix`.
  std::vector<std::string> readUntil(const std::string& prefix);
  // Closing its input lets a helper that reads until end of input finish.
  void closeInput();
  // SIGKILL, then waits for it.
  void kill();
  // Waits for it to end; its exit code, -1 when it did not exit normally.
  int wait();

 private:
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  std::string buffer_;
  bool eof_ = false;
};

}  // namespace kel::test
