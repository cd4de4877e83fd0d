// The process-wide global frame lock: a whole frame cycle of the set-up
// source, the running flag, background capture and every option write.
// Recursive, because a holder may write options while it holds it. Lock
// order: pin lock first, then this one.
#pragma once

#include <mutex>

namespace Orvo {

// Made on first use; lives until the module is unloaded.
std::recursive_mutex& GlobalFrameLock();

}  // namespace Orvo
