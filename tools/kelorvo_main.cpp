// kelorvo: the command-line host of the camera system.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "tools/commands.h"
#include "tools/common_options.h"
#include "tools/save_options.h"

namespace {

constexpr const char* kUsage =
    "usage: kelorvo COMMAND [ARGS]   (kelorvo COMMAND --help for its options)\n"
    "  register     register the capture module and the platform's classes\n"
    "  unregister   remove them from the class registry\n"
    "  info         open the camera and print what it reports\n"
    "  get          print one camera option\n"
    "  set          change one camera option and print what the camera accepted\n"
    "  codecs       list the video compressors a film can be saved with\n"
    "  snapshot     write a live frame as a PNG file, to check the camera's picture\n"
    "  capture      record a film and save it as an AVI file, in one run\n";

// A film lives in the grabber's memory only until the camera is next opened
// (opening lays the memory out for the live picture), so recording and
// saving in separate runs cannot work.
constexpr const char* kFolded =
    "a film lasts only as long as the run that records it; "
    "`kelorvo capture --frames N --out FILE` records and saves it in one run\n";

struct CommandHelp {
  const char* name;
  const char* text;
  bool common;  // takes the picture options
  bool save;    // takes the save options
};

constexpr CommandHelp kHelp[] = {
    {"register", "usage: kelorvo register\n", false, false},
    {"unregister", "usage: kelorvo unregister\n", false, false},
    {"info", "usage: kelorvo info\n", false, false},
    {"get",
     "usage: kelorvo get ID[/INDEX] [--unit U]\n"
     "  ID in hexadecimal (0x400003) or decimal; U a unit number or name\n",
     false, false},
    {"set",
     "usage: kelorvo set ID[/INDEX] VALUE [--unit U]\n"
     "  VALUE a number, a value name of a list option, or X,Y,WIDTH,HEIGHT\n",
     false, false},
    {"codecs", "usage: kelorvo codecs\n", false, false},
    {"snapshot",
     "usage: kelorvo snapshot FILE.png [--frames N] [picture options]\n"
     "  runs the live picture and writes its N-th frame (default the first) as a PNG file\n",
     true, false},
    {"capture",
     "usage: kelorvo capture --frames N --out FILE [save options] [picture options]\n"
     "  records a film of N frames into the grabber's memory, then saves it as FILE.avi;\n"
     "  Ctrl+C while recording stops it and saves nothing; a second Ctrl+C ends kelorvo at once\n",
     true, true},
};

int usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

bool wantsHelp(const std::vector<std::string>& args) {
  for (const auto& a : args)
    if (a == "--help") return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string_view command = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "--help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (command == "record" || command == "save") {
    std::fprintf(stderr, "kelorvo %.*s: %s", static_cast<int>(command.size()), command.data(), kFolded);
    return 2;
  }
  if (wantsHelp(args)) {
    for (const auto& h : kHelp)
      if (command == h.name) {
        std::fputs(h.text, stdout);
        if (h.save) std::fputs(kelorvo::kSaveHelp, stdout);
        if (h.common) std::fputs(kelorvo::kCommonHelp, stdout);
        return 0;
      }
    return usage();
  }
  const bool bare = args.empty();
  if (command == "register" && bare) return kelorvo::registerCommand(false);
  if (command == "unregister" && bare) return kelorvo::registerCommand(true);
  if (command == "info" && bare) return kelorvo::infoCommand();
  if (command == "codecs" && bare) return kelorvo::codecsCommand();
  if (command == "get") return kelorvo::optionCommand(args, false);
  if (command == "set") return kelorvo::optionCommand(args, true);
  if (command == "snapshot") return kelorvo::snapshotCommand(args);
  if (command == "capture") return kelorvo::captureCommand(args);
  return usage();
}
