// The save's progress on standard error: a bar redrawn in place on a
// terminal, otherwise a plain line at every tenth of the film.
#pragma once
#include <cstdio>

#include "tools/progress_window.h"

namespace kelorvo {

class ProgressDisplay {
 public:
  // `terminal`: whether `out` is a terminal (isatty).
  ProgressDisplay(std::FILE* out, bool terminal) : out_(out), terminal_(terminal) {}

  void show(const ProgressState& state);
  // Takes the bar off its line so that another line can be written.
  void clearLine();
  // Ends the bar's line after the last show.
  void finish();

 private:
  std::FILE* out_;
  bool terminal_;
  bool drawn_ = false;     // a bar is on the terminal's current line
  int lastDone_ = -1;
  int lastTenth_ = -1;
};

}  // namespace kelorvo
