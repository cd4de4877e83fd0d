// The player panel's texts: its play state with the speed, and the frame
// number.
#pragma once
#include <QString>
#include <cstdint>

namespace PlayerLabels {

enum PlayState { kStopped = 0, kForwards = 1, kBackwards = 2 };

// " Stop x1.0", "Play > x1.0" or "< Play x1.0", with |rate|.
QString State(int playState, double rate);
QString Frame(std::int64_t frame);

}  // namespace PlayerLabels
