// Which instruction set the converter's per-pixel loops use. The widest one
// the processor offers is the default; a lower limit can be set so that every
// path, down to the portable one, can be run and compared on one machine.
#pragma once

#include <vector>

namespace Orvo::conv {

enum class Isa {
  Scalar,  // portable C++
  Ssse3,   // 16-byte shuffles for the unpacking only
  Avx512,  // AVX-512 with byte permutes (F, BW, VBMI)
};

// The instruction set in use: the widest supported one, capped by the limit.
Isa ActiveIsa();

// Caps the instruction set (not above what the processor supports). Meant for
// tests and benchmarks; not for use while a conversion runs.
void SetIsaLimit(Isa limit);

// Every instruction set this processor can run, narrowest first.
std::vector<Isa> SupportedIsas();

const char* IsaName(Isa isa);

}  // namespace Orvo::conv
