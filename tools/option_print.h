// Printing the camera's options through the filter's property objects.
#pragma once

#include <cstdint>
#include <cstdio>

#include "shared/camera_interfaces.h"

namespace kelorvo {

// One line per option the camera has; options it lacks are left out.
// Returns how many were printed.
int printOptions(ICamera2& camera, std::FILE* out);

// The kind of one of the system's own options: 's'calar, 'e'num, 'r'ect, or
// 0 for an option the system does not use itself.
char knownOptionKind(std::uint32_t id, std::uint32_t index);

}  // namespace kelorvo
