#include <gtest/gtest.h>

#include "platform/win/message_queue.h"
#include "platform/win/window_table.h"
#include "tests/platform/dshow/graph_fixture.h"

namespace {

using kel::test::GraphFixture;
using kel::test::kToyFrameTime;
using kel::test::SinkConfig;
using kel::test::ToyConfig;

ToyConfig frames(int n) {
  ToyConfig c;
  c.frames = n;
  return c;
}

void expectFramesInOrder(const std::vector<kel::test::ReceivedSample>& got, std::size_t n) {
  ASSERT_EQ(got.size(), n);
  for (std::size_t i = 0; i < n; ++i) {
    EXPECT_EQ(got[i].frame, i);
    EXPECT_EQ(got[i].timeResult, S_OK);
    EXPECT_EQ(got[i].start, static_cast<REFERENCE_TIME>(i) * kToyFrameTime);
    EXPECT_EQ(got[i].stop, static_cast<REFERENCE_TIME>(i + 1) * kToyFrameTime);
    EXPECT_TRUE(got[i].syncPoint);
  }
}

TEST(SourceStreaming, DeliversNumberedFramesThenOneEndOfStream) {
  GraphFixture g(frames(7));
  ASSERT_EQ(g.connect(), S_OK);
  g.run();
  ASSERT_TRUE(g.input->waitForEndOfStream());
  FILTER_STATE state;
  g.source->GetState(0, &state);
  EXPECT_EQ(state, State_Running);
  g.stop();
  // The thread has been joined: nothing more can arrive.
  expectFramesInOrder(g.input->samples(), 7);
  EXPECT_EQ(g.input->endOfStreams(), 1);
  EXPECT_EQ(g.stream->threadCreates, 1);
  EXPECT_EQ(g.stream->threadDestroys, 1);
  // A stream that simply ended is no error for the graph.
  EXPECT_TRUE(g.graph->events().empty());
}

TEST(SourceStreaming, StreamWithoutFramesEndsAtOnce) {
  GraphFixture g(frames(0));
  ASSERT_EQ(g.connect(), S_OK);
  g.run();
  ASSERT_TRUE(g.input->waitForEndOfStream());
  g.stop();
  EXPECT_TRUE(g.input->samples().empty());
  EXPECT_EQ(g.input->endOfStreams(), 1);
}

TEST(SourceStreaming, FailureEndsTheStreamAndIsReportedToTheGraph) {
  for (bool throws : {false, true}) {
    ToyConfig c = frames(10);
    c.failAt = 3;
    c.throwAt = throws;
    GraphFixture g(c);
    ASSERT_EQ(g.connect(), S_OK);
    g.run();
    ASSERT_TRUE(g.input->waitForEndOfStream());
    g.stop();
    expectFramesInOrder(g.input->samples(), 3);
    EXPECT_EQ(g.input->endOfStreams(), 1);
    const auto events = g.graph->events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].first, EC_ERRORABORT);
    EXPECT_EQ(events[0].second, throws ? E_UNEXPECTED : E_FAIL);
  }
}

class StopOrder : public testing::TestWithParam<bool> {};

TEST_P(StopOrder, StopEndsAnEndlessStream) {
  GraphFixture g(frames(-1));
  ASSERT_EQ(g.connect(), S_OK);
  g.run();
  ASSERT_TRUE(g.input->waitForSamples(20));
  g.stop(GetParam());
  EXPECT_EQ(g.stream->threadDestroys, 1);
  const auto got = g.input->samples();
  for (std::size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i].frame, i);
  EXPECT_EQ(g.input->endOfStreams(), 0);
}

INSTANTIATE_TEST_SUITE_P(SourceStreaming, StopOrder, testing::Bool(),
                         [](const auto& info) { return info.param ? "SinkFirst" : "SourceFirst"; });

TEST(SourceStreaming, StopReleasesAThreadWaitingForABuffer) {
  SinkConfig holding;
  holding.holdSamples = true;
  GraphFixture g(frames(-1), holding);
  ASSERT_EQ(g.connect(), S_OK);
  g.run();
  // Both buffers are held downstream: the thread now waits in GetBuffer.
  ASSERT_TRUE(g.input->waitForSamples(2));
  EXPECT_EQ(g.source->Stop(), S_OK);
  EXPECT_EQ(g.stream->threadDestroys, 1);
  EXPECT_EQ(g.input->samples().size(), 2u);
  g.input->releaseHeld();
}

// The stopping thread owns a window that the streaming thread sends to when
// it starts and when it ends; its queue is never pumped, so only the stop's
// own waits can answer them.
TEST(SourceStreaming, AStopFromTheThreadOfAWindowTheStreamSendsToFinishes) {
  auto queue = std::make_shared<plat::MessageQueue>();
  std::vector<WPARAM> got;
  plat::WindowRegistration window(queue, [&](const plat::Message& m) -> LRESULT {
    got.push_back(m.wParam);
    return 0;
  });
  ToyConfig c = frames(-1);
  c.sendTo = window.hwnd();
  GraphFixture g(c);
  ASSERT_EQ(g.connect(), S_OK);
  g.run();
  g.stop();
  EXPECT_EQ(got, (std::vector<WPARAM>{1, 2}));
}

TEST(SourceStreaming, RunAndStopRepeatedlyStartsEachStreamAfresh) {
  {
    GraphFixture g(frames(3));
    ASSERT_EQ(g.connect(), S_OK);
    constexpr int kRounds = 40;
    for (int round = 0; round < kRounds; ++round) {
      g.input->clear();
      g.run();
      if (round % 2 == 0) {
        ASSERT_TRUE(g.input->waitForEndOfStream());
        g.stop();
        expectFramesInOrder(g.input->samples(), 3);
        EXPECT_EQ(g.input->endOfStreams(), 1);
      } else {
        // Stopped at once, at whatever point the stream has reached.
        g.stop(round % 4 == 1);
        EXPECT_LE(g.input->samples().size(), 3u);
      }
    }
    EXPECT_EQ(g.stream->threadCreates, kRounds);
    EXPECT_EQ(g.stream->threadDestroys, kRounds);
    EXPECT_EQ(g.sourceModule.objects(), 1);
  }
}

TEST(SourceStreaming, ThreadThatCannotStartFailsThePause) {
  ToyConfig c;
  c.failThreadCreate = true;
  GraphFixture g(c);
  ASSERT_EQ(g.connect(), S_OK);
  ASSERT_EQ(g.sink->Pause(), S_OK);
  EXPECT_EQ(g.source->Pause(), E_OUTOFMEMORY);
  FILTER_STATE state;
  g.source->GetState(0, &state);
  EXPECT_EQ(state, State_Stopped);
  EXPECT_EQ(g.stream->threadDestroys, 1);
  // The pool was given back: the source can be stopped and disconnected.
  g.stop();
  EXPECT_EQ(g.out->Disconnect(), S_OK);
}

TEST(SourceStreaming, UnconnectedPinStartsNoThread) {
  GraphFixture g;
  g.run();
  FILTER_STATE state;
  g.source->GetState(0, &state);
  EXPECT_EQ(state, State_Running);
  g.stop();
  EXPECT_EQ(g.stream->threadCreates, 0);
}

TEST(SourceStreaming, FiltersAreDestroyedOnceStoppedAndDisconnected) {
  plat::ModuleRefCount sourceModule;
  plat::ModuleRefCount sinkModule;
  kel::test::RecordingPin* input = nullptr;
  ComPtr<IBaseFilter> source = kel::test::ToySource::create(frames(-1), &sourceModule);
  ComPtr<IBaseFilter> sink = kel::test::RecordingSink::create({}, &sinkModule, &input);
  ComPtr<IPin> out = kel::test::onlyPin(source.get());
  ComPtr<IPin> in = kel::test::onlyPin(sink.get());
  ASSERT_EQ(out->Connect(in.get(), nullptr), S_OK);
  ASSERT_EQ(sink->Run(0), S_OK);
  ASSERT_EQ(source->Run(0), S_OK);
  ASSERT_TRUE(input->waitForSamples(3));
  ASSERT_EQ(source->Stop(), S_OK);
  ASSERT_EQ(sink->Stop(), S_OK);
  source = nullptr;
  sink = nullptr;
  // The pins handed out keep their filters.
  EXPECT_EQ(sourceModule.objects(), 1);
  EXPECT_EQ(sinkModule.objects(), 1);
  EXPECT_EQ(out->Disconnect(), S_OK);
  EXPECT_EQ(in->Disconnect(), S_OK);
  out = nullptr;
  in = nullptr;
  EXPECT_EQ(sourceModule.objects(), 0);
  EXPECT_EQ(sinkModule.objects(), 0);
}

}  // namespace
