// The commands of the kelorvo host. Each returns the process exit code.
#pragma once
#include <string>
#include <vector>

namespace kelorvo {

// Writes (or removes) the capture module's class with its filter-mapper
// entry, and the platform's standard classes, in the user's class registry.
int registerCommand(bool unregister);

// Creates the capture filter through the class registry and prints what
// the camera reports, with every option of the catalogue.
int infoCommand();

// `get` (write false) and `set` (write true) of one option.
int optionCommand(const std::vector<std::string>& args, bool write);
int codecsCommand();
int snapshotCommand(const std::vector<std::string>& args);
int captureCommand(const std::vector<std::string>& args);

}  // namespace kelorvo
