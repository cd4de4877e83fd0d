#pragma once

namespace plat {
// Version of the platform library, for diagnostics.
const char* platformVersion();
}  // namespace plat
