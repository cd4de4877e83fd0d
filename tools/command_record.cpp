// `record`: a film into the grabber's memory; prints its frame range.
#include <cstdio>
#include <stdexcept>

#include "tools/args.h"
#include "tools/commands.h"
#include "tools/common_options.h"
#include "tools/recorder.h"

namespace kelorvo {

int recordCommand(const std::vector<std::string>& words) {
  Session session("record");
  return session.run([&] {
    auto values = commonValueOptions();
    values.insert("--frames");
    const Args args(words, values, commonFlags());
    if (!args.positional().empty() || !args.value("--frames")) return session.fail("usage: kelorvo record --frames N");
    const long frames = parseNumber(*args.value("--frames"), "the frame count");
    if (frames < 1) throw std::invalid_argument("--frames must be at least 1");
    if (!session.open()) return 1;
    applyCommonOptions(args, session.graph());
    FrameRange range;
    if (!recordFilm(session, frames, range)) return 1;
    std::printf("Recorded frames %d..%d\n", range.first, range.last);
    return 0;
  });
}

}  // namespace kelorvo
