#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>

#include "platform/kernel/tick_count.h"

namespace {

TEST(TickCount, ElapsedTimeIsRightAcrossTheWrap) {
  std::atomic<std::uint32_t> now{0xFFFFFF00u};
  plat::ScopedTickSource clock([&] { return now.load(); });
  std::uint32_t start = plat::tickCount();
  EXPECT_EQ(start, 0xFFFFFF00u);
  now = 0x00000100u;
  EXPECT_EQ(plat::ticksSince(start), 0x200u);
  EXPECT_EQ(GetTickCount(), 0x100u);
  // A time-out test written the usual way keeps working over the wrap.
  EXPECT_FALSE(plat::ticksSince(start) > 5000u);
  now = start + 5001u;
  EXPECT_TRUE(plat::ticksSince(start) > 5000u);
}

TEST(TickCount, RestoredClockIsTheSteadyOne) {
  {
    plat::ScopedTickSource clock([] { return 7u; });
    EXPECT_EQ(plat::tickCount(), 7u);
  }
  auto steadyMs = [] {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
  };
  std::uint32_t before = steadyMs();
  std::uint32_t ticks = plat::tickCount();
  std::uint32_t after = steadyMs();
  EXPECT_LE(ticks - before, after - before);
}

}  // namespace
