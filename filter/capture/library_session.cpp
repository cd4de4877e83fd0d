#include "filter/capture/library_session.h"

#include "filter/hardware/lib3_error.h"

namespace Kel {

namespace {
constexpr const char* kUnit = "KelOrvoSource";
}

LibrarySession::LibrarySession() { LIB3::Check(KelLib3Init(error_.get()), error_.get(), kUnit, __LINE__); }

LibrarySession::~LibrarySession() {
  try {
    LIB3::Check(KelLib3Exit(error_.get()), error_.get(), kUnit, __LINE__);
  } catch (const LIB3::CError& e) {
    LIB3::ShowError(e, "~KelOrvoSource():");
  }
}

}  // namespace Kel
