// Makes the N-th call of a named entry point fail with a device fault, so the
// callers' error paths can be exercised (KELLIB3_FAIL).
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace kellib3 {

class FaultInjector {
 public:
  void reset(std::map<std::string, std::uint64_t> plan);
  // Counts a call of `function`; true when this call is the one to fail.
  bool shouldFail(const char* function);

 private:
  std::map<std::string, std::uint64_t> plan_;
  std::map<std::string, std::uint64_t> calls_;
};

}  // namespace kellib3
