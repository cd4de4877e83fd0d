#include "platform/platform_info.h"

namespace plat {
const char* platformVersion() { return "kelplatform 0.1.0"; }
}  // namespace plat
