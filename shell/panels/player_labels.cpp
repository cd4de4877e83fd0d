#include "shell/panels/player_labels.h"

#include <cmath>

namespace PlayerLabels {

QString State(int playState, double rate) {
  const double speed = std::fabs(rate);
  switch (playState) {
    case kForwards: return QString::asprintf("Play > x%2.1f", speed);
    case kBackwards: return QString::asprintf("< Play x%2.1f", speed);
    default: return QString::asprintf(" Stop x%2.1f", speed);
  }
}

QString Frame(std::int64_t frame) { return QString::asprintf("%d", static_cast<int>(frame)); }

}  // namespace PlayerLabels
