// The hardware library's initialisation held by one filter object:
// KelLib3Init when it is made, KelLib3Exit when it goes.
#pragma once

#include "filter/hardware/error_data.h"

namespace Kel {

class LibrarySession {
 public:
  // Throws LIB3::CError when KelLib3Init fails.
  LibrarySession();
  // A refused KelLib3Exit is shown in the hardware error box with the
  // prefix "~KelOrvoSource():".
  ~LibrarySession();
  LibrarySession(const LibrarySession&) = delete;
  LibrarySession& operator=(const LibrarySession&) = delete;

 private:
  LIB3::ErrorData error_;
};

}  // namespace Kel
