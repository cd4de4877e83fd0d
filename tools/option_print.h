// Printing the camera's options through the filter's property objects.
#pragma once

#include <cstdio>

#include "shared/camera_interfaces.h"

namespace kelorvo {

// One line per option the camera has; options it lacks are left out.
// Returns how many were printed.
int printOptions(ICamera2& camera, std::FILE* out);

}  // namespace kelorvo
