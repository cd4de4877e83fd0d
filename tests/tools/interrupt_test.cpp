// Ctrl+C in kelorvo: the first asks for an orderly end, a second ends the
// program at once. Run in a child process, which the signals may end.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "tools/interrupt.h"

namespace {

TEST(KelorvoInterrupt, FirstCtrlCIsNotedAndASecondEndsTheProgram) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    kelorvo::InterruptScope scope;
    raise(SIGINT);
    // Exit code 3 tells the parent that the first one was only noted.
    if (!kelorvo::interruptRequested()) _exit(4);
    raise(SIGINT);
    _exit(3);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT)
      << "exit code " << (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

}  // namespace
