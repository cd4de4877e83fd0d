#pragma once

namespace kellib3 {
// The version text the library reports (KelLib3Version).
const char* libraryVersion();
}  // namespace kellib3
