// kelorvo: the command-line host. Commands are added as the system grows.
#include <cstdio>
#include <cstring>

namespace {

int usage() {
  std::fprintf(stderr, "usage: kelorvo --help\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  if (std::strcmp(argv[1], "--help") == 0) {
    std::printf("kelorvo: command-line host of the camera system\n");
    return 0;
  }
  return usage();
}
