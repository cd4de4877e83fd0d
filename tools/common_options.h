// The picture options every capturing command takes: digital gain, levels,
// gamma, summation, white balance and background subtraction.
#pragma once
#include <set>
#include <string>

#include "shell/graph/Graph.h"
#include "tools/args.h"

namespace kelorvo {

// Options with a value, and flags, for Args.
std::set<std::string> commonValueOptions();
std::set<std::string> commonFlags();
extern const char* const kCommonHelp;

// Hands the given options to the camera; throws std::invalid_argument for a
// bad value and COMERR errors for a refused one.
void applyCommonOptions(const Args& args, CGraph& graph);

}  // namespace kelorvo
