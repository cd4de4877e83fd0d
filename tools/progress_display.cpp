#include "tools/progress_display.h"

#include <algorithm>
#include <string>

namespace kelorvo {
namespace {

constexpr int kBarWidth = 30;

}  // namespace

void ProgressDisplay::show(const ProgressState& state) {
  if (!state.started || state.total() <= 0) return;
  const int total = state.total();
  const int done = std::clamp(state.done(), 0, total);
  if (done == lastDone_) return;
  lastDone_ = done;
  const int percent = static_cast<int>(100LL * done / total);
  if (terminal_) {
    const int filled = static_cast<int>(static_cast<long long>(kBarWidth) * done / total);
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kBarWidth - filled), '.');
    std::fprintf(out_, "\rSaving [%s] %3d%% %d/%d frames", bar.c_str(), percent, done, total);
    drawn_ = true;
  } else {
    const int tenth = percent / 10;
    if (tenth == lastTenth_) return;
    lastTenth_ = tenth;
    std::fprintf(out_, "Saving: %d/%d frames (%d%%)\n", done, total, percent);
  }
  std::fflush(out_);
}

void ProgressDisplay::clearLine() {
  if (!drawn_) return;
  // Erase to the end of the line; the next show draws the bar again.
  std::fputs("\r\033[K", out_);
  drawn_ = false;
  lastDone_ = -1;
}

void ProgressDisplay::finish() {
  if (!drawn_) return;
  std::fputc('\n', out_);
  std::fflush(out_);
  drawn_ = false;
}

}  // namespace kelorvo
