#include "filter/processing/background_settings.h"

namespace Orvo {

void BackgroundSettings::Remember() {
  for (auto& e : entries_) {
    Options::OptionRecord* record = system_.FindOption(e.id, 0);
    // Managed reads and writes show their own refusals to the operator.
    if (!record) e.remembered = false;
    else if (e.scalar) e.remembered = record->scalar.Value(e.savedScalar);
    else e.remembered = record->enumerated.Value(e.savedEnum);
  }
}

void BackgroundSettings::WriteCaptureValues() {
  for (const auto& e : entries_) {
    if (!e.remembered) continue;
    Options::OptionRecord* record = system_.FindOption(e.id, 0);
    if (!record) continue;
    if (e.scalar) record->scalar.SetValue({e.value, e.unit});
    else record->enumerated.SetValue({e.value});
  }
}

void BackgroundSettings::Restore() {
  for (auto& e : entries_) {
    if (!e.remembered) continue;
    Options::OptionRecord* record = system_.FindOption(e.id, 0);
    if (!record) continue;
    if (e.scalar) record->scalar.SetValue(e.savedScalar);
    else record->enumerated.SetValue(e.savedEnum);
    e.remembered = false;
  }
}

}  // namespace Orvo
