#include "kellib3/core/fault_injector.h"

namespace kellib3 {

void FaultInjector::reset(std::map<std::string, std::uint64_t> plan) {
  plan_ = std::move(plan);
  calls_.clear();
}

bool FaultInjector::shouldFail(const char* function) {
  if (plan_.empty()) return false;
  auto it = plan_.find(function);
  if (it == plan_.end()) return false;
  return ++calls_[function] == it->second;
}

}  // namespace kellib3
