#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/kernel/event.h"
#include "platform/kernel/event_handles.h"
#include "platform/kernel/last_error.h"

namespace {

using namespace std::chrono_literals;

// Counts threads that got through their wait, and lets the test wait for a
// given count without sleeping.
class Arrivals {
 public:
  void arrive() {
    {
      std::lock_guard lock(mutex_);
      ++count_;
    }
    cv_.notify_all();
  }
  void waitFor(int n) {
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [&] { return count_ >= n; });
  }
  int count() {
    std::lock_guard lock(mutex_);
    return count_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  int count_ = 0;
};

TEST(Event, AutoResetReleasesOneWaiterPerSet) {
  auto event = plat::makeEvent(plat::EventReset::Automatic);
  Arrivals through;
  std::vector<std::jthread> waiters;
  for (int i = 0; i < 3; ++i) {
    waiters.emplace_back([&] {
      event->wait();
      through.arrive();
    });
  }
  event->set();
  through.waitFor(1);
  // The one set was consumed by the waiter that got through; nobody else can
  // pass until it is set again.
  EXPECT_FALSE(event->isSet());
  EXPECT_EQ(through.count(), 1);
  event->set();
  through.waitFor(2);
  event->set();
  through.waitFor(3);
  EXPECT_FALSE(event->isSet());
}

TEST(Event, AutoResetWithoutWaiterStaysSetForTheNextWaitOnly) {
  plat::Event event(plat::EventReset::Automatic);
  event.set();
  EXPECT_TRUE(event.wait(0ms));
  EXPECT_FALSE(event.wait(20ms));
}

TEST(Event, ManualResetReleasesEveryWaiterAndStaysSet) {
  auto event = plat::makeEvent(plat::EventReset::Manual);
  Arrivals through;
  std::vector<std::jthread> waiters;
  for (int i = 0; i < 4; ++i) {
    waiters.emplace_back([&] {
      event->wait();
      through.arrive();
    });
  }
  event->set();
  through.waitFor(4);
  EXPECT_TRUE(event->wait(0ms));
  EXPECT_TRUE(event->isSet());
  event->reset();
  EXPECT_FALSE(event->wait(20ms));
}

TEST(Event, InitiallySignalled) {
  plat::Event manual(plat::EventReset::Manual, true);
  EXPECT_TRUE(manual.waitMs(0));
  EXPECT_TRUE(manual.waitMs(INFINITE));
}

TEST(EventHandles, SignalledFromAnotherThreadThroughTheHandle) {
  HANDLE h = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  std::jthread signaller([h] { EXPECT_TRUE(SetEvent(h)); });
  EXPECT_EQ(WaitForSingleObject(h, INFINITE), WAIT_OBJECT_0);
  signaller.join();
  EXPECT_EQ(WaitForSingleObject(h, 20), WAIT_TIMEOUT);
  EXPECT_TRUE(CloseHandle(h));
}

TEST(EventHandles, ClosedOrUnknownHandlesFail) {
  HANDLE h = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  ASSERT_TRUE(CloseHandle(h));
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(SetEvent(h));
  EXPECT_FALSE(CloseHandle(h));
  EXPECT_FALSE(SetEvent(nullptr));

  HANDLE named = CreateEvent(nullptr, FALSE, FALSE, "Global\\x");
  EXPECT_EQ(named, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
}

TEST(EventHandles, ClosingAHandleKeepsTheEventForItsOtherHolders) {
  auto event = plat::makeEvent(plat::EventReset::Manual);
  HANDLE h = plat::openEventHandle(event);
  ASSERT_EQ(plat::eventFromHandle(h), event);
  EXPECT_TRUE(SetEvent(h));
  ASSERT_TRUE(CloseHandle(h));
  EXPECT_EQ(plat::eventFromHandle(h), nullptr);
  EXPECT_TRUE(event->isSet());
  // A new handle never takes the value of a closed one.
  HANDLE again = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  EXPECT_NE(again, h);
  CloseHandle(again);
}

}  // namespace
