#include "kellib3/library_info.h"

namespace kellib3 {
const char* libraryVersion() { return "kellib3 virtual camera 3.0.0"; }
}  // namespace kellib3
