#include "filter/acquisition/converter_isa.h"

#include <algorithm>
#include <atomic>

namespace Orvo::conv {
namespace {

Isa widestSupported() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
      __builtin_cpu_supports("avx512vbmi")) {
    return Isa::Avx512;
  }
  if (__builtin_cpu_supports("ssse3")) return Isa::Ssse3;
#endif
  return Isa::Scalar;
}

Isa widest() {
  static const Isa w = widestSupported();
  return w;
}

std::atomic<Isa> limit{Isa::Avx512};

}  // namespace

Isa ActiveIsa() { return std::min(widest(), limit.load(std::memory_order_relaxed)); }

void SetIsaLimit(Isa cap) { limit.store(cap, std::memory_order_relaxed); }

std::vector<Isa> SupportedIsas() {
  std::vector<Isa> all;
  for (Isa isa : {Isa::Scalar, Isa::Ssse3, Isa::Avx512}) {
    if (isa <= widest()) all.push_back(isa);
  }
  return all;
}

const char* IsaName(Isa isa) {
  switch (isa) {
    case Isa::Scalar: return "Scalar";
    case Isa::Ssse3: return "Ssse3";
    case Isa::Avx512: return "Avx512";
  }
  return "Unknown";
}

}  // namespace Orvo::conv
