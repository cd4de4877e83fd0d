// `capture`: record a film and save it, in one run.
#include <stdexcept>

#include "tools/args.h"
#include "tools/commands.h"
#include "tools/common_options.h"
#include "tools/interrupt.h"
#include "tools/overlay_settings.h"
#include "tools/saver.h"

namespace kelorvo {

int captureCommand(const std::vector<std::string>& words) {
  Session session("capture");
  return session.run([&] {
    auto values = commonValueOptions();
    values.merge(saveValueOptions());
    values.insert({"--frames", "--out"});
    auto flags = commonFlags();
    flags.merge(saveFlags());
    const Args args(words, values, flags);
    if (!args.positional().empty() || !args.value("--frames") || !args.value("--out"))
      return session.fail("usage: kelorvo capture --frames N --out FILE [options]");
    const long frames = parseNumber(*args.value("--frames"), "the frame count");
    if (frames < 1) throw std::invalid_argument("--frames must be at least 1");
    const SaveOptions options = parseSaveOptions(args);
    // A name that cannot be saved to is refused before the recording.
    checkTarget(*args.value("--out"), options.force);
    if (options.font)
      if (const std::string used = fontStandIn(*options.font); !used.empty())
        session.note("--font \"" + options.font->family + "\" is drawn with \"" + used +
                     "\", the installed font that stands for it");
    if (!session.open()) return 1;
    applyCommonOptions(args, session.graph());
    FrameRange recorded;
    if (!recordFilm(session, frames, recorded)) return 1;
    // Stopped by hand: nothing is saved. The film goes with this run, since
    // the next run's camera sets its memory up for the live picture.
    if (interruptRequested())
      return session.fail("interrupted while recording frames " + std::to_string(recorded.first) + ".." +
                          std::to_string(recorded.last) + "; nothing saved");
    SavedFilm saved;
    if (!saveFilm(session, *args.value("--out"), options, saved)) return 1;
    printSaved(saved);
    return 0;
  });
}

}  // namespace kelorvo
