#include "filter/acquisition/settings_records.h"

namespace Orvo {

ProcessSettings& Settings() {
  static ProcessSettings settings;
  return settings;
}

}  // namespace Orvo
