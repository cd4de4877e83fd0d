#include "kellib3/core/virtual_clock.h"

namespace kellib3 {

using std::chrono::steady_clock;

VirtualClock::VirtualClock(double scale)
    : scale_(scale),
      anchorReal_(steady_clock::now()),
      anchorVirtual_(std::chrono::duration_cast<std::chrono::nanoseconds>(anchorReal_.time_since_epoch()).count()) {}

std::int64_t VirtualClock::nowNs() const {
  const auto real = std::chrono::duration_cast<std::chrono::nanoseconds>(steady_clock::now() - anchorReal_).count();
  return anchorVirtual_ + static_cast<std::int64_t>(static_cast<double>(real) * scale_);
}

steady_clock::time_point VirtualClock::realTimeAt(std::int64_t virtualNs) const {
  const double realNs = static_cast<double>(virtualNs - anchorVirtual_) / scale_;
  if (realNs <= 0) return anchorReal_;
  if (realNs > 3.0e15) return anchorReal_ + std::chrono::hours(24 * 30);
  return anchorReal_ + std::chrono::nanoseconds(static_cast<std::int64_t>(realNs) + 1);
}

}  // namespace kellib3
