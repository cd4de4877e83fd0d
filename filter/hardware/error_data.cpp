#include "filter/hardware/error_data.h"

#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "filter/hardware/lib3_error.h"

namespace LIB3 {

ErrorData::ErrorData() {
  // Handle 0 cannot be formatted, so a failure here reads as an unknown error.
  Check(KelLib3ErrorDataCreate(&handle_), 0, "ErrorData", __LINE__);
}

ErrorData::~ErrorData() {
  // Only an unknown handle can fail to be freed, and then nothing is held.
  if (handle_ != 0) KelLib3ErrorDataFree(handle_);
}

namespace {

struct ThreadTable {
  std::mutex mutex;
  std::unordered_map<std::thread::id, std::unique_ptr<ErrorData>> byThread;
};

ThreadTable& threadTable() {
  static ThreadTable table;
  return table;
}

}  // namespace

KL3_HANDLE ThreadErrorData() {
  auto& table = threadTable();
  std::lock_guard lock(table.mutex);
  auto& slot = table.byThread[std::this_thread::get_id()];
  if (!slot) slot = std::make_unique<ErrorData>();
  return slot->get();
}

void ReleaseThreadErrorData() {
  auto& table = threadTable();
  std::unique_ptr<ErrorData> mine;
  {
    std::lock_guard lock(table.mutex);
    auto it = table.byThread.find(std::this_thread::get_id());
    if (it == table.byThread.end()) return;
    mine = std::move(it->second);
    table.byThread.erase(it);
  }
}

}  // namespace LIB3
