// The camera system's option catalogue: one record per option the library
// offers, in the order they were built. Records are never removed while the
// system is open, so pointers to them (property objects) stay valid.
#pragma once

#include <cstdint>
#include <list>

#include "filter/options/option_record.h"

namespace Options {

class Catalogue {
 public:
  // Empties the catalogue and probes every option of the library's option
  // list on the initialised `system`. Probe failures are not errors; a
  // refused first read of a scalar is shown to the operator.
  void Build(KL3_HANDLE system, KL3_HANDLE errorData);
  void Clear() { records_.clear(); }

  // First record with this identifier and index, or null.
  OptionRecord* Find(std::uint32_t id, std::uint32_t index);

  const std::list<OptionRecord>& Records() const { return records_; }

 private:
  void AppendScalar(KL3_HANDLE option, KL3_HANDLE errorData, std::uint32_t id, std::uint32_t index,
                    const std::string& name);
  void AppendEnum(KL3_HANDLE option, KL3_HANDLE errorData, std::uint32_t id, std::uint32_t index,
                  const std::string& name);
  void AppendRect(KL3_HANDLE option, std::uint32_t id, std::uint32_t index, const std::string& name);

  std::list<OptionRecord> records_;
};

}  // namespace Options
