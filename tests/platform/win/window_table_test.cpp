#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <mutex>
#include <stdexcept>
#include <string>
#include <memory>
#include <thread>
#include <vector>

#include "platform/kernel/event.h"
#include "platform/kernel/global_memory.h"
#include "platform/win/message_queue.h"
#include "platform/win/messages.h"
#include "platform/win/window_table.h"

namespace {

using namespace std::chrono_literals;

// A receiving thread with its own queue, pumping until told to stop.
class ReceiverThread {
 public:
  explicit ReceiverThread(plat::MessageHandler handler) {
    plat::Event ready(plat::EventReset::Manual);
    thread_ = std::jthread([this, &ready, handler = std::move(handler)] {
      queue_ = std::make_shared<plat::MessageQueue>();
      hwnd_ = plat::registerWindow(queue_, handler);
      ready.set();
      while (!stop_) queue_->waitAndPump(std::chrono::hours(1));
      plat::unregisterWindow(hwnd_);
    });
    ready.wait();
  }
  ~ReceiverThread() {
    queue_->post([this] { stop_ = true; });
  }
  HWND hwnd() const { return hwnd_; }

 private:
  std::shared_ptr<plat::MessageQueue> queue_;
  HWND hwnd_ = nullptr;
  bool stop_ = false;  // touched only on the receiving thread
  std::jthread thread_;
};

TEST(WindowTable, PostsFromSeveralThreadsAllArriveInEachThreadsOrder) {
  constexpr int kThreads = 4;
  constexpr int kPerThread = 500;
  auto queue = std::make_shared<plat::MessageQueue>();
  std::vector<std::vector<LPARAM>> seen(kThreads);
  plat::WindowRegistration window(queue, [&](const plat::Message& m) -> LRESULT {
    EXPECT_EQ(m.message, WM_APP + 40);
    seen.at(m.wParam).push_back(m.lParam);
    return 0;
  });
  {
    std::vector<std::jthread> senders;
    for (int t = 0; t < kThreads; ++t) {
      senders.emplace_back([&, t] {
        for (int i = 0; i < kPerThread; ++i) {
          EXPECT_TRUE(PostMessage(window.hwnd(), WM_APP + 40, static_cast<WPARAM>(t), i));
        }
      });
    }
  }
  EXPECT_EQ(queue->pump(), static_cast<std::size_t>(kThreads * kPerThread));
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(seen[t].size(), static_cast<std::size_t>(kPerThread));
    for (int i = 0; i < kPerThread; ++i) EXPECT_EQ(seen[t][i], i);
  }
}

TEST(WindowTable, SendFromAnotherThreadRunsOnTheReceiverAndReturnsItsResult) {
  std::thread::id handledOn;
  ReceiverThread receiver([&](const plat::Message& m) -> LRESULT {
    handledOn = std::this_thread::get_id();
    return static_cast<LRESULT>(m.wParam) * 2 + m.lParam;
  });
  EXPECT_EQ(SendMessage(receiver.hwnd(), PBM_SETRANGE, 20, 1), 41);
  EXPECT_NE(handledOn, std::this_thread::get_id());
}

TEST(WindowTable, SendOnTheReceiversOwnThreadRunsAtOnce) {
  auto queue = std::make_shared<plat::MessageQueue>();
  int calls = 0;
  plat::WindowRegistration window(queue, [&](const plat::Message& m) -> LRESULT {
    ++calls;
    return m.lParam + 1;
  });
  EXPECT_EQ(plat::sendMessage(window.hwnd(), PBM_STEPIT, 0, 9), 10);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(queue->pending(), 0u);
}

TEST(WindowTable, DeadHandleRefusesAndTheSenderKeepsItsBlock) {
  auto queue = std::make_shared<plat::MessageQueue>();
  HWND hwnd = plat::registerWindow(queue, [](const plat::Message&) -> LRESULT { return 1; });
  EXPECT_TRUE(IsWindow(hwnd));
  ASSERT_TRUE(plat::unregisterWindow(hwnd));
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(plat::unregisterWindow(hwnd));

  std::size_t before = plat::globalBlocksInUse();
  HGLOBAL block = plat::globalCopyText("lost?");
  EXPECT_FALSE(PostMessage(hwnd, WM_LOG_TEXT, 0, reinterpret_cast<LPARAM>(block)));
  EXPECT_EQ(SendMessage(hwnd, WM_LOG_TEXT, 0, 0), 0);
  EXPECT_EQ(plat::globalBlocksInUse(), before + 1);
  EXPECT_STREQ(static_cast<const char*>(block), "lost?");
  EXPECT_EQ(GlobalFree(block), nullptr);
  EXPECT_FALSE(IsWindow(nullptr));

  // Handles are not reused: a new window never takes the dead one's value.
  plat::WindowRegistration next(queue, [](const plat::Message&) -> LRESULT { return 0; });
  EXPECT_NE(next.hwnd(), hwnd);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(WindowTable, MessagesQueuedForAWindowThatGoesAwayAreDropped) {
  auto queue = std::make_shared<plat::MessageQueue>();
  int delivered = 0;
  HWND hwnd = plat::registerWindow(queue, [&](const plat::Message&) -> LRESULT {
    ++delivered;
    return 0;
  });
  ASSERT_TRUE(PostMessage(hwnd, WM_SETTING_CHANGED, 0, 0));
  plat::unregisterWindow(hwnd);
  queue->pump();
  EXPECT_EQ(delivered, 0);
}

TEST(WindowTable, LogTextBlocksTravelToTheReceiverWhichFreesThem) {
  std::size_t before = plat::globalBlocksInUse();
  auto queue = std::make_shared<plat::MessageQueue>();
  std::vector<std::string> log;
  plat::WindowRegistration logView(queue, [&](const plat::Message& m) -> LRESULT {
    if (m.message == WM_LOG_TEXT && m.lParam != 0) {
      auto block = reinterpret_cast<HGLOBAL>(m.lParam);
      log.emplace_back(static_cast<const char*>(block));
      GlobalFree(block);
    }
    return 0;
  });
  std::jthread streaming([&] {
    for (int i = 0; i < 3; ++i) {
      HGLOBAL block = plat::globalCopyText("кадр " + std::to_string(i));
      EXPECT_TRUE(PostMessage(logView.hwnd(), WM_LOG_TEXT, 0, reinterpret_cast<LPARAM>(block)));
    }
  });
  streaming.join();
  queue->pump();
  EXPECT_EQ(log, (std::vector<std::string>{"кадр 0", "кадр 1", "кадр 2"}));
  EXPECT_EQ(plat::globalBlocksInUse(), before);
}

TEST(MessageQueue, PumpRunsOnlyWhatWasQueuedAndWaitTimesOut) {
  auto queue = std::make_shared<plat::MessageQueue>();
  int runs = 0;
  std::function<void()> repost = [&] {
    ++runs;
    queue->post(repost);
  };
  queue->post(repost);
  EXPECT_EQ(queue->pump(), 1u);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(queue->pending(), 1u);
  queue->pump();
  EXPECT_EQ(runs, 2);

  auto idle = std::make_shared<plat::MessageQueue>();
  EXPECT_EQ(idle->waitAndPump(20ms), 0u);
}

TEST(MessageQueue, ATaskThatThrowsKeepsTheRestQueued) {
  plat::MessageQueue queue;
  std::vector<int> order;
  queue.post([&] { order.push_back(1); });
  queue.post([] { throw std::runtime_error("handler failed"); });
  queue.post([&] { order.push_back(3); });
  EXPECT_THROW(queue.pump(), std::runtime_error);
  EXPECT_EQ(queue.pump(), 1u);
  EXPECT_EQ(order, (std::vector<int>{1, 3}));
}

// Holds posted tasks for the test to run or throw away.
class StashingDispatcher : public plat::MessageDispatcher {
 public:
  void post(std::function<void()> task) override {
    {
      std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    posted_.set();
  }
  bool isCurrentThread() const override { return false; }
  std::vector<std::function<void()>> take() {
    posted_.wait();
    std::lock_guard lock(mutex_);
    return std::move(tasks_);
  }

 private:
  std::mutex mutex_;
  std::vector<std::function<void()>> tasks_;
  plat::Event posted_{plat::EventReset::Automatic};
};

// What never reaches the handler (the window went, or the dispatcher threw
// the task away) goes to the undelivered handler, once; nothing else does.
TEST(WindowTable, OnlyMessagesThatNeverArriveReachTheUndeliveredHandler) {
  auto dispatcher = std::make_shared<StashingDispatcher>();
  std::vector<UINT> delivered, undelivered;
  HWND hwnd = plat::registerWindow(
      dispatcher, [&](const plat::Message& m) -> LRESULT { delivered.push_back(m.message); return 0; },
      [&](const plat::Message& m) -> LRESULT { undelivered.push_back(m.message); return 0; });
  ASSERT_TRUE(PostMessage(hwnd, WM_APP + 1, 0, 0));
  for (auto& task : dispatcher->take()) task();
  ASSERT_TRUE(PostMessage(hwnd, WM_APP + 2, 0, 0));
  dispatcher->take().clear();  // the loop shut down without running it
  ASSERT_TRUE(PostMessage(hwnd, WM_APP + 3, 0, 0));
  auto orphaned = dispatcher->take();
  plat::unregisterWindow(hwnd);
  for (auto& task : orphaned) task();
  orphaned.clear();
  EXPECT_EQ(delivered, (std::vector<UINT>{WM_APP + 1}));
  EXPECT_EQ(undelivered, (std::vector<UINT>{WM_APP + 2, WM_APP + 3}));
}

TEST(WindowTable, SendReturnsZeroWhenItsMessageIsDiscardedOrItsWindowGoes) {
  auto dispatcher = std::make_shared<StashingDispatcher>();
  HWND hwnd = plat::registerWindow(dispatcher, [](const plat::Message&) -> LRESULT { return 5; });

  std::atomic<LRESULT> result{-1};
  std::jthread discarded([&] { result = plat::sendMessage(hwnd, WM_APP, 0, 0); });
  dispatcher->take().clear();  // the loop shut down without running it
  discarded.join();
  EXPECT_EQ(result.load(), 0);

  std::jthread orphaned([&] { result = plat::sendMessage(hwnd, WM_APP, 0, 0); });
  auto tasks = dispatcher->take();
  plat::unregisterWindow(hwnd);
  for (auto& task : tasks) task();
  orphaned.join();
  EXPECT_EQ(result.load(), 0);
}

// A thread whose window's queue is never pumped still answers a send while
// it waits on an event, once: the queue's task later finds it done.
TEST(SentMessages, AnEventWaitOnTheWindowsThreadRunsWhatIsSentToItOnce) {
  auto queue = std::make_shared<plat::MessageQueue>();
  int runs = 0;
  std::thread::id ranOn;
  plat::WindowRegistration window(queue, [&](const plat::Message&) -> LRESULT {
    ++runs;
    ranOn = std::this_thread::get_id();
    return 7;
  });
  plat::Event answered(plat::EventReset::Manual);
  std::atomic<LRESULT> answer{0};
  std::jthread sender([&] {
    answer = SendMessage(window.hwnd(), PBM_SETRANGE, 0, 0);
    answered.set();
  });
  answered.wait();
  EXPECT_EQ(answer.load(), 7);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  queue->pump();
  EXPECT_EQ(runs, 1);
}

// Each of two threads sends to the other's window, neither pumping its
// queue: each answers the other from its own wait for a reply.
TEST(SentMessages, TwoThreadsSendingToEachOtherAtOnceBothGetTheirAnswers) {
  struct Side {
    HWND window = nullptr;
    LRESULT answer = 0;
    plat::Event answered{plat::EventReset::Manual};
  };
  Side sides[2];
  std::latch registered(2);
  auto run = [&](int me) {
    auto queue = std::make_shared<plat::MessageQueue>();
    plat::WindowRegistration window(queue, [me](const plat::Message& m) -> LRESULT {
      return static_cast<LRESULT>(m.wParam) * 10 + me;
    });
    sides[me].window = window.hwnd();
    registered.arrive_and_wait();
    sides[me].answer = SendMessage(sides[1 - me].window, WM_APP, static_cast<WPARAM>(me + 1), 0);
    sides[me].answered.set();
    // The window stays until the other side has its answer too.
    sides[1 - me].answered.wait();
  };
  {
    std::jthread first(run, 0), second(run, 1);
  }
  EXPECT_EQ(sides[0].answer, 11);
  EXPECT_EQ(sides[1].answer, 20);
}

}  // namespace

namespace {

// Messages still queued for a window that is gone must not keep the window
// or its queue alive: the queue owns the tasks, so a strong hold would be a
// cycle that outlives every owner.
TEST(WindowTableLifetime, QueuedMessagesDoNotKeepAnAbandonedQueueAlive) {
  auto queue = std::make_shared<plat::MessageQueue>();
  std::weak_ptr<plat::MessageQueue> watch = queue;
  HWND hwnd = plat::registerWindow(queue, [](const plat::Message&) -> LRESULT { return 0; });
  ASSERT_TRUE(plat::postMessage(hwnd, WM_APP + 1, 0, 0));
  ASSERT_TRUE(plat::postMessage(hwnd, WM_APP + 2, 0, 0));
  ASSERT_TRUE(plat::unregisterWindow(hwnd));
  ASSERT_EQ(queue->pending(), 2u);
  queue.reset();
  EXPECT_TRUE(watch.expired());
}

}  // namespace
