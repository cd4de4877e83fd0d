#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "platform/dshow/errors.h"
#include "platform/graph/graph_events.h"
#include "platform/graph/graph_interfaces.h"
#include "platform/kernel/event_handles.h"
#include "platform/win/message_queue.h"
#include "platform/win/messages.h"
#include "platform/win/window_table.h"

namespace {

constexpr std::intptr_t kRendererA = 0x100;
constexpr std::intptr_t kRendererB = 0x200;

bool signalled(const plat::GraphEvents& events) { return WaitForSingleObject(events.handle(), 0) == WAIT_OBJECT_0; }

TEST(GraphEvents, CompletionIsQueuedOnceEveryStreamEnded) {
  plat::GraphEvents events;
  events.beginRun(2);
  events.notify(EC_COMPLETE, E_FAIL, kRendererA);
  events.notify(EC_COMPLETE, S_OK, kRendererA);
  EXPECT_FALSE(signalled(events)) << "the same renderer twice counts once";
  EXPECT_FALSE(events.next(0));

  events.notify(EC_COMPLETE, S_OK, kRendererB);
  ASSERT_TRUE(signalled(events));
  const auto e = events.next(0);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->code, EC_COMPLETE);
  EXPECT_EQ(e->param1, E_FAIL) << "a failed stream gives its status to the completion";
  EXPECT_FALSE(signalled(events)) << "the handle is reset once the queue is empty";
  EXPECT_FALSE(events.next(0));
}

TEST(GraphEvents, CompletionsOutsideARunAreStale) {
  plat::GraphEvents events;
  events.notify(EC_COMPLETE, S_OK, kRendererA);
  events.beginRun(1);
  events.endRun();
  events.notify(EC_COMPLETE, S_OK, kRendererA);
  EXPECT_FALSE(events.next(0));

  events.beginRun(1);
  events.notify(EC_COMPLETE, S_OK, kRendererA);
  EXPECT_TRUE(events.next(0)) << "a new run counts afresh";
}

TEST(GraphEvents, WithoutDefaultHandlingEachCompletionIsQueued) {
  plat::GraphEvents events;
  EXPECT_FALSE(events.setDefaultHandling(EC_ERRORABORT, false)) << "only EC_COMPLETE has default handling";
  ASSERT_TRUE(events.setDefaultHandling(EC_COMPLETE, false));
  events.beginRun(2);
  events.notify(EC_COMPLETE, S_OK, kRendererA);
  const auto e = events.next(0);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->param2, kRendererA) << "the renderer's own event, with its sender";
}

TEST(GraphEvents, WaitForCompletionGivesUpWhenTheRunEnds) {
  plat::GraphEvents events;
  events.beginRun(1);
  std::thread stopper([&] { events.endRun(); });
  EXPECT_FALSE(events.waitForCompletion(INFINITE));
  stopper.join();
}

TEST(GraphEvents, NoNotifyDropsEventsAndTheQueue) {
  plat::GraphEvents events;
  events.beginRun(1);
  events.notify(0x50, 0, 0);
  events.setNotifyFlags(AM_MEDIAEVENT_NONOTIFY);
  EXPECT_FALSE(signalled(events));
  events.notify(0x51, 0, 0);
  EXPECT_FALSE(events.next(0));
  events.setNotifyFlags(0);
  events.notify(0x52, 0, 0);
  const auto e = events.next(0);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->code, 0x52);
}

TEST(GraphEvents, TheNotifyWindowGetsAMessagePerEvent) {
  auto queue = std::make_shared<plat::MessageQueue>();
  std::vector<plat::Message> got;
  plat::WindowRegistration window(queue, [&](const plat::Message& m) {
    got.push_back(m);
    return LRESULT{0};
  });
  plat::GraphEvents events;
  events.setNotifyWindow(window.hwnd(), 0x8123, 42);
  events.beginRun(1);
  events.notify(0x50, 0, 0);
  events.notify(EC_COMPLETE, S_OK, kRendererA);
  queue->pump();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].message, 0x8123u);
  EXPECT_EQ(got[0].lParam, 42);

  events.setNotifyWindow(nullptr, 0, 0);
  events.notify(0x50, 0, 0);
  EXPECT_EQ(queue->pump(), 0u);
}

}  // namespace

namespace {

// The application's thread owns a window that a streaming thread sends to
// before it ends the run: waiting for the completion answers the send.
TEST(GraphEvents, WaitingForCompletionRunsWhatIsSentToTheWaitersWindows) {
  auto queue = std::make_shared<plat::MessageQueue>();  // this thread's, never pumped
  int sent = 0;
  plat::WindowRegistration window(queue, [&](const plat::Message&) -> LRESULT { return ++sent; });
  plat::GraphEvents events;
  events.beginRun(1);
  std::jthread streaming([&] {
    EXPECT_EQ(SendMessage(window.hwnd(), WM_APP, 0, 0), 1);
    events.notify(EC_COMPLETE, S_OK, kRendererA);
  });
  EXPECT_EQ(events.waitForCompletion(INFINITE), EC_COMPLETE);
  EXPECT_EQ(sent, 1);
}

}  // namespace
