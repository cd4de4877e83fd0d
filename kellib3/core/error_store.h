// Error data objects: each handle remembers the last failure of a call that
// was given it, and formats it with the caller's placeholders.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "kellib3/core/lib_error.h"

namespace kellib3 {

struct ErrorRecord {
  std::int32_t code = 0;
  std::string remark;       // UTF-8
  std::string file;         // source file name without folders
  int line = 0;
  std::string date;         // local date and time of the failure
  std::uint32_t object = 0;
};

class ErrorStore {
 public:
  std::uint32_t create();
  bool free(std::uint32_t handle);
  bool exists(std::uint32_t handle) const;
  // Stores the failure in `handle` when it names error data; false otherwise.
  bool record(std::uint32_t handle, const LibError& error);
  // Expands `format`; false when the handle or the text list is unknown.
  bool format(std::uint32_t handle, const char* format, std::uint32_t textList, std::string& out) const;

 private:
  mutable std::mutex mutex_;
  std::map<std::uint32_t, ErrorRecord> records_;
  std::uint32_t next_ = 1;
};

ErrorStore& errorStore();

}  // namespace kellib3
