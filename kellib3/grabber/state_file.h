// The controller's memory survives the program: settings and film are kept in
// a small file per controller while the machine is up, written atomically.
#pragma once

#include <cstdint>
#include <filesystem>

#include "kellib3/grabber/controller.h"

namespace kellib3 {

class VirtualClock;

std::filesystem::path stateFilePath(const Config& config, unsigned controller);

// Writes the controller's state; raises LibError (StateFile) on failure.
void saveState(const Controller& c, const VirtualClock& clock);

// Restores a saved state if there is one for the same camera; a missing file
// leaves the controller as it is. A damaged or impossible state leaves the
// controller as it is too: the file is overwritten with it, and LibError
// (StateFile) says what was wrong and that the film is lost.
void loadState(Controller& c, const VirtualClock& clock);

}  // namespace kellib3
