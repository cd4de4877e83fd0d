#include "filter/options/module_count.h"

#include <atomic>

namespace Options {
namespace {
std::atomic<plat::ModuleRefCount*> g_count{nullptr};
}  // namespace

void setModuleRefCount(plat::ModuleRefCount* count) { g_count.store(count, std::memory_order_release); }

plat::ModuleRefCount* moduleRefCount() { return g_count.load(std::memory_order_acquire); }

}  // namespace Options
