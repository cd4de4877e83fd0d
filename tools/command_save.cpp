// `save`: the film in the grabber's memory written as an AVI file.
#include <stdexcept>

#include "tools/args.h"
#include "tools/commands.h"
#include "tools/saver.h"

namespace kelorvo {

int saveCommand(const std::vector<std::string>& words) {
  Session session("save");
  return session.run([&] {
    const Args args(words, saveValueOptions(), saveFlags());
    if (args.positional().size() != 1) return session.fail("usage: kelorvo save FILE [save options]");
    const SaveOptions options = parseSaveOptions(args);
    if (!session.open()) return 1;
    SavedFilm saved;
    if (!saveFilm(session, args.positional()[0], options, saved)) return 1;
    printSaved(saved);
    return 0;
  });
}

}  // namespace kelorvo
