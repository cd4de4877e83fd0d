#include "platform/kernel/global_memory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/kernel/last_error.h"

namespace {

// Live blocks and their sizes. Keeping them lets GlobalFree refuse a
// pointer it does not own instead of handing it to free().
class BlockRegistry {
 public:
  void add(void* p, std::size_t size) {
    std::lock_guard lock(mutex_);
    sizes_.emplace(p, size);
  }
  bool remove(void* p) {
    std::lock_guard lock(mutex_);
    return sizes_.erase(p) != 0;
  }
  std::size_t size(void* p) const {
    std::lock_guard lock(mutex_);
    auto it = sizes_.find(p);
    return it == sizes_.end() ? 0 : it->second;
  }
  std::size_t count() const {
    std::lock_guard lock(mutex_);
    return sizes_.size();
  }

 private:
  mutable std::mutex mutex_;
  std::unordered_map<void*, std::size_t> sizes_;
};

BlockRegistry& registry() {
  static BlockRegistry instance;
  return instance;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if ((flags & GMEM_MOVEABLE) != 0) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  // A zero-byte request still yields a distinct live block.
  std::size_t allocated = bytes == 0 ? 1 : bytes;
  void* p = (flags & GMEM_ZEROINIT) != 0 ? std::calloc(1, allocated) : std::malloc(allocated);
  if (p == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  registry().add(p, bytes);
  return p;
}

HGLOBAL GlobalFree(HGLOBAL block) {
  if (block == nullptr) return nullptr;
  if (!registry().remove(block)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return block;
  }
  std::free(block);
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL block) { return block == nullptr ? 0 : registry().size(block); }

namespace plat {

HGLOBAL globalCopyText(std::string_view text) {
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, text.size() + 1);
  if (block == nullptr) return nullptr;
  auto* bytes = static_cast<char*>(block);
  if (!text.empty()) std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  return block;
}

std::size_t globalBlocksInUse() { return registry().count(); }

}  // namespace plat
