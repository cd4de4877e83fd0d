// The camera's clock: the machine's steady clock run KELLIB3_TIME_SCALE times
// faster. Times are virtual nanoseconds on the steady clock's epoch, so they
// are comparable between processes that use the same scale.
#pragma once

#include <chrono>
#include <cstdint>

namespace kellib3 {

class VirtualClock {
 public:
  explicit VirtualClock(double scale = 1.0);
  std::int64_t nowNs() const;
  // The real time point at which the virtual clock reaches `virtualNs`.
  std::chrono::steady_clock::time_point realTimeAt(std::int64_t virtualNs) const;
  double scale() const { return scale_; }

 private:
  double scale_;
  std::chrono::steady_clock::time_point anchorReal_;
  std::int64_t anchorVirtual_;
};

}  // namespace kellib3
