#include "platform/kernel/tick_count.h"

#include <atomic>
#include <chrono>
#include <mutex>

namespace plat {
namespace {

std::atomic<bool> g_overridden{false};
std::mutex g_sourceMutex;
TickSource g_source;

std::uint32_t steadyTicks() {
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
  // Keeping the low 32 bits is what makes the count wrap like the original.
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

}  // namespace

std::uint32_t tickCount() {
  // The common case reads the steady clock without taking a lock, since
  // polling loops call this back to back.
  if (!g_overridden.load(std::memory_order_acquire)) return steadyTicks();
  std::lock_guard lock(g_sourceMutex);
  return g_source ? g_source() : steadyTicks();
}

void setTickSource(TickSource source) {
  std::lock_guard lock(g_sourceMutex);
  g_source = std::move(source);
  g_overridden.store(static_cast<bool>(g_source), std::memory_order_release);
}

}  // namespace plat
