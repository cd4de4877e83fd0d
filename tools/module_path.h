// Where the kelorvo host finds the capture module.
#pragma once

#include <filesystem>

namespace kelorvo {

// kelorvomt.ax beside the program (the build tree), else in the library
// folder of an installed tree (../lib*/); the first that exists, else the
// one beside the program.
std::filesystem::path captureModulePath();

}  // namespace kelorvo
