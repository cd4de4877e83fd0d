// Owning pointer to a SAFEARRAY for our own code.
#pragma once

#include <memory>

#include "platform/com/safearray.h"

namespace plat {

struct SafeArrayDeleter {
  void operator()(SAFEARRAY* psa) const noexcept { SafeArrayDestroy(psa); }
};

using SafeArrayPtr = std::unique_ptr<SAFEARRAY, SafeArrayDeleter>;

}  // namespace plat
