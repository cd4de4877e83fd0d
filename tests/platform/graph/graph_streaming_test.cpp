// Running graphs with a streaming source: the end of the stream reported
// through the event interface, the renderer's last picture, stopping while
// samples flow, and state changes repeated.
#include <cstring>

#include "platform/com/co_create.h"
#include "platform/kernel/event_handles.h"
#include "tests/platform/graph/blocking_sink.h"
#include "tests/platform/graph/graph_test_env.h"
#include "tests/platform/graph/toy_source.h"

namespace kel::test {
namespace {

class GraphStreamingTest : public GraphTest {
 protected:
  std::vector<BYTE> currentImage(IBaseFilter* renderer, BITMAPINFOHEADER* header) {
    ComPtr<IVMRWindowlessControl> windowless;
    EXPECT_EQ(ComPtr<IBaseFilter>(renderer).as(IID_IVMRWindowlessControl, windowless), S_OK);
    BYTE* dib = nullptr;
    EXPECT_EQ(windowless->GetCurrentImage(&dib), S_OK);
    if (!dib) return {};
    std::memcpy(header, dib, sizeof *header);
    std::vector<BYTE> bits(dib + sizeof *header, dib + sizeof *header + header->biSizeImage);
    CoTaskMemFree(dib);
    return bits;
  }

};

TEST_F(GraphStreamingTest, RunEndsWithCompletionAndTheLastPictureIsCurrent) {
  const ToyConfig config{.width = 8, .height = 4, .subtype = MEDIASUBTYPE_RGB32, .frames = 5};
  auto renderer = build(config);
  ASSERT_EQ(control_->Run(), S_OK);

  const auto [code, status, sender] = nextEvent();
  EXPECT_EQ(code, EC_COMPLETE);
  EXPECT_EQ(status, S_OK);
  EXPECT_EQ(pin_->filled.load(), 5);

  BITMAPINFOHEADER header{};
  const auto bits = currentImage(renderer.get(), &header);
  EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
  EXPECT_EQ(header.biWidth, 8);
  EXPECT_EQ(header.biHeight, 4);
  EXPECT_EQ(header.biBitCount, 32);
  EXPECT_EQ(bits, toyPicture(config, 4));

  OAFilterState state = -1;
  EXPECT_EQ(control_->GetState(INFINITE, &state), S_OK);
  EXPECT_EQ(state, State_Running) << "the end of the stream does not stop the graph";
  LONG code2 = 0;
  LONG_PTR p1 = 0, p2 = 0;
  EXPECT_EQ(events_->GetEvent(&code2, &p1, &p2, 0), E_ABORT) << "one completion for the run";
}

TEST_F(GraphStreamingTest, WaitForCompletionReturnsTheCompletion) {
  build(ToyConfig{.frames = 2});
  LONG code = 0;
  EXPECT_EQ(events_->WaitForCompletion(0, &code), VFW_E_WRONG_STATE) << "not running";
  ASSERT_EQ(control_->Run(), S_OK);
  EXPECT_EQ(events_->WaitForCompletion(-1, &code), S_OK);
  EXPECT_EQ(code, EC_COMPLETE);
}

TEST_F(GraphStreamingTest, CompletionWaitsForEveryRenderer) {
  auto first = build(ToyConfig{.frames = 2}, u"First");
  auto second = build(ToyConfig{.frames = 40}, u"Second");
  ASSERT_EQ(control_->Run(), S_OK);
  const auto [code, status, sender] = nextEvent();
  EXPECT_EQ(code, EC_COMPLETE);
  EXPECT_EQ(pin_->filled.load(), 40) << "the longer stream had ended too";
}

TEST_F(GraphStreamingTest, AFailingSourceReportsAnErrorAbort) {
  build(ToyConfig{.frames = 10, .failAt = 3});
  ASSERT_EQ(control_->Run(), S_OK);
  // The source ends the stream before it reports why.
  const auto [first, firstStatus, sender] = nextEvent();
  EXPECT_EQ(first, EC_COMPLETE);
  const auto [code, status, unused] = nextEvent();
  EXPECT_EQ(code, EC_ERRORABORT);
  EXPECT_EQ(status, E_FAIL);
  EXPECT_EQ(pin_->filled.load(), 3);
}

TEST_F(GraphStreamingTest, AShortSampleIsRefusedAndReported) {
  build(ToyConfig{.frames = 3, .shortBy = 1});
  ASSERT_EQ(control_->Run(), S_OK);
  const auto [code, status, sender] = nextEvent();
  EXPECT_EQ(code, EC_ERRORABORT);
  EXPECT_EQ(status, E_INVALIDARG);
}

TEST_F(GraphStreamingTest, StopWhileStreamingReturns) {
  auto renderer = build(ToyConfig{.frames = -1});
  ASSERT_EQ(control_->Run(), S_OK);
  pin_->streaming.wait();
  EXPECT_EQ(control_->Stop(), S_OK);
  OAFilterState state = -1;
  EXPECT_EQ(control_->GetState(INFINITE, &state), S_OK);
  EXPECT_EQ(state, State_Stopped);
  FILTER_STATE rendererState = State_Running;
  renderer->GetState(0, &rendererState);
  EXPECT_EQ(rendererState, State_Stopped);
}

TEST_F(GraphStreamingTest, RunAndStopFiftyTimes) {
  build(ToyConfig{.frames = -1});
  for (int i = 0; i < 50; ++i) {
    pin_->streaming.reset();
    ASSERT_EQ(control_->Run(), S_OK) << "round " << i;
    pin_->streaming.wait();
    ASSERT_EQ(control_->Stop(), S_OK) << "round " << i;
  }
  EXPECT_GE(pin_->filled.load(), 50);
}

TEST_F(GraphStreamingTest, PauseThenRunThenPauseAgain) {
  build(ToyConfig{.frames = -1});
  OAFilterState state = -1;
  ASSERT_EQ(control_->Pause(), S_OK);
  pin_->streaming.wait();
  control_->GetState(0, &state);
  EXPECT_EQ(state, State_Paused);
  ASSERT_EQ(control_->Run(), S_OK);
  ASSERT_EQ(control_->Pause(), S_OK);
  control_->GetState(0, &state);
  EXPECT_EQ(state, State_Paused);
  ASSERT_EQ(control_->StopWhenReady(), S_OK);
  control_->GetState(0, &state);
  EXPECT_EQ(state, State_Stopped);
}

TEST_F(GraphStreamingTest, StopReleasesADownstreamFilterHoldingASample) {
  BlockingSink* sink = nullptr;
  auto blocking = BlockingSink::create(&sink);
  auto source = ToySource::create(ToyConfig{.frames = -1}, &pin_);
  graph_->AddFilter(source.get(), u"Source");
  graph_->AddFilter(blocking.get(), u"Sink");
  ASSERT_EQ(graph_->ConnectDirect(pin_, firstPin(blocking.get()).get(), nullptr), S_OK);
  ASSERT_EQ(control_->Run(), S_OK);
  sink->holding.wait();
  EXPECT_EQ(control_->Stop(), S_OK);
  EXPECT_FALSE(sink->gaveUp) << "the source was stopped while its thread was held downstream";
}

}  // namespace
}  // namespace kel::test
