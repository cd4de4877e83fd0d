// Answers of the hardware library that the virtual camera never gives, for
// the part loop's rare paths: the test program defines two of the library's
// functions itself, which pass every call on unless a test asked otherwise.
#pragma once

#include <cstdint>

namespace kel::test::overrides {

// The next `count` next-part commands answer part index `part`.
void answerNextPart(std::uint32_t part, int count);
// Next-part commands made since the program started.
std::uint64_t nextPartCommands();

// While on, every scalar range read answers a minimum of -1.
void refuseFrameRange(bool on);
// Waits until `count` ranges were read while refused (counted from the last
// reset); false when they were not within a long bound.
bool waitForRefusedRanges(std::uint64_t count);

// Forgets both requests and the count of refused ranges.
void reset();

}  // namespace kel::test::overrides
