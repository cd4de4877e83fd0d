// Answers of the hardware library that the virtual camera never gives, for
// the filter's rare paths: the test program defines a few of the library's
// functions itself, so the filter module (loaded later) binds to them; they
// pass every call on to the real library unless a test asked otherwise.
#pragma once

#include <cstdint>

namespace kel::test::shim {

// Forgets every change below.
void reset();

// KelLib3SystemGetCInterface reports that (id, index) does not exist.
void hideInterface(std::uint32_t id, std::uint32_t index);

// KelLib3GetInfoScalarVal of information item `id` gives (value, type).
void overrideInfo(std::uint32_t id, std::int32_t value, std::uint32_t type);

// KelLib3OptionGetScalar of option (id, index) read in `unit` gives `value`.
void overrideScalar(std::uint32_t id, std::uint32_t index, std::uint32_t unit, std::int32_t value);

// Calls of KelLib3CallCInterface_0 and _1 with `command` since the program
// started (never reset).
std::uint64_t commandCount(std::uint32_t command);
// Waits until that count reaches `count`; false when it did not within a
// long bound.
bool waitForCommands(std::uint32_t command, std::uint64_t count);

}  // namespace kel::test::shim
