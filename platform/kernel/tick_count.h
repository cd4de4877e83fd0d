// Millisecond tick count that wraps at 2^32, and elapsed time that stays
// correct across the wrap. Tests may replace the clock with their own.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/com/types.h"

namespace plat {

std::uint32_t tickCount();

// now - start in 32-bit arithmetic: right as long as less than 2^32 ms
// (about 49.7 days) passed.
inline std::uint32_t ticksSince(std::uint32_t start) { return tickCount() - start; }

using TickSource = std::function<std::uint32_t()>;

// Replaces the clock for the whole process; an empty source restores the
// steady clock. Not meant to be swapped while other threads read ticks.
void setTickSource(TickSource source);

// Installs a source for one scope and restores the steady clock after it.
class ScopedTickSource {
 public:
  explicit ScopedTickSource(TickSource source) { setTickSource(std::move(source)); }
  ~ScopedTickSource() { setTickSource({}); }
  ScopedTickSource(const ScopedTickSource&) = delete;
  ScopedTickSource& operator=(const ScopedTickSource&) = delete;
};

}  // namespace plat

inline DWORD GetTickCount() { return plat::tickCount(); }
