// kelorvo: the command-line host of the camera system.
#include <cstdio>
#include <string_view>

#include "tools/commands.h"

namespace {

constexpr const char* kUsage =
    "usage: kelorvo COMMAND\n"
    "  register     register the capture module and the platform's classes\n"
    "  unregister   remove them from the class registry\n"
    "  info         open the camera through the registry and print what it reports\n";

int usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return usage();
  const std::string_view command = argv[1];
  if (command == "--help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (command == "register") return kelorvo::registerCommand(false);
  if (command == "unregister") return kelorvo::registerCommand(true);
  if (command == "info") return kelorvo::infoCommand();
  return usage();
}
