#include "filter/acquisition/global_frame_lock.h"

namespace Orvo {

std::recursive_mutex& GlobalFrameLock() {
  static std::recursive_mutex lock;
  return lock;
}

}  // namespace Orvo
