// Frames through the output pin into the renderer: the row order the viewer
// sees, digital gain, the upside-down camera, and the ways a stream ends
// without frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <thread>

#include "platform/dshow/errors.h"
#include "platform/graph/vmr_interfaces.h"
#include "platform/com/co_create.h"
#include "platform/com/standard_classes.h"
#include "filter/hardware/kellib3.h"
#include "shared/identifiers.h"
#include "tests/filter/capture/graph_rig.h"
#include "tests/filter/capture/library_shim.h"
#include "tests/filter/capture/stream_sink.h"

namespace kel::test {
namespace {

// The first live frame of a running set-up graph.
plat::VideoFrame firstLiveFrame(GraphRig& rig) {
  plat::VideoFrame frame;
  EXPECT_EQ(rig.build(MODE_Setup), S_OK);
  EXPECT_EQ(rig.run(), S_OK);
  EXPECT_TRUE(rig.nextFrame(frame));
  return frame;
}

TEST(CapturePinFrames, LiveFramesAreUprightForTheViewer) {
  GraphRig rig;
  const plat::VideoFrame frame = firstLiveFrame(rig);
  EXPECT_FALSE(frame.bottomUp) << "the renderer was told the rows go top row first";
  EXPECT_TRUE(stripAtTop(frame).has_value()) << "the frame-number strip is at the top";
  EXPECT_FALSE(stripAtTop(turned(frame)).has_value());
  ASSERT_EQ(frame.bitCount, 32);
  EXPECT_EQ(transparentPixels(frame), 0u) << "players read the fourth byte as opacity";

  ComPtr<IVMRWindowlessControl> windowless;
  ASSERT_EQ(ComPtr<IBaseFilter>(rig.renderer()).as(IID_IVMRWindowlessControl, windowless), S_OK);
  BYTE* dib = nullptr;
  ASSERT_EQ(windowless->GetCurrentImage(&dib), S_OK);
  BITMAPINFOHEADER header{};
  std::memcpy(&header, dib, sizeof header);
  CoTaskMemFree(dib);
  EXPECT_EQ(header.biHeight, -40) << "the current image is a top-down DIB";
}

TEST(CapturePinFrames, UpsideDownCameraIsTurnedByTheCopy) {
  GraphRig rig({kSmallSensor, kFastClock, {"KELLIB3_ORIENTATION", "180"}});
  const plat::VideoFrame frame = firstLiveFrame(rig);
  EXPECT_FALSE(stripAtTop(frame).has_value());
  EXPECT_TRUE(stripAtTop(turned(frame)).has_value()) << "pixels in reverse order: the strip is at the bottom";
  EXPECT_EQ(transparentPixels(frame), 0u);
}

TEST(CapturePinFrames, GainNineSaturatesEveryNonZeroByte) {
  GraphRig rig;
  plat::VideoFrame plain = firstLiveFrame(rig);
  const auto intermediate = [](const plat::VideoFrame& f) {
    return std::count_if(f.bytes.begin(), f.bytes.end(), [](BYTE b) { return b != 0 && b != 255; });
  };
  ASSERT_GT(intermediate(plain), 0) << "the scene has grey levels to saturate";
  ASSERT_TRUE(rig.stop());

  rig.camera()->SetDigitalGain(9);
  ASSERT_EQ(rig.run(), S_OK);
  plat::VideoFrame gained;
  ASSERT_TRUE(rig.nextFrame(gained));
  EXPECT_EQ(intermediate(gained), 0);
  EXPECT_GT(std::count(gained.bytes.begin(), gained.bytes.end(), BYTE{255}), 0);
  EXPECT_TRUE(stripAtTop(gained).has_value()) << "dark blocks stay dark";
  rig.camera()->SetDigitalGain(0);
}

TEST(CapturePinFrames, SourceThatNeverRunsEndsTheStreamWithoutASample) {
  GraphRig rig;
  ASSERT_EQ(rig.build(MODE_Setup), S_OK);
  // Run without RunCamera: the set-up source is not running.
  ASSERT_EQ(rig.control()->Run(), S_OK);
  EXPECT_EQ(rig.nextEvent(), EC_COMPLETE);
  plat::VideoFrame frame;
  EXPECT_FALSE(plat::readNewestFrame(rig.renderer(), frame)) << "no sample was delivered";
  EXPECT_TRUE(rig.texts().empty());
}

TEST(CapturePinFrames, LibraryErrorOfTheLiveSourceIsPostedAndCostsOneFrame) {
  GraphRig rig({kSmallSensor, kFastClock, {"KELLIB3_FAIL", "InDInterfaceBeginBlock:1"}});
  ASSERT_EQ(rig.build(MODE_Setup), S_OK);
  ASSERT_EQ(rig.run(), S_OK);
  plat::VideoFrame frame;
  EXPECT_TRUE(rig.nextFrame(frame)) << "the next cycle delivers a frame";
  const auto& texts = rig.texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("StSetupSource"), std::string::npos) << texts[0];
}

TEST(CapturePinFrames, LibraryErrorsInThreeCyclesInARowEndTheLiveStream) {
  // Each cycle fails at another call: the first at its block, the second at
  // its transfer, the third at the block's end.
  GraphRig rig({kSmallSensor, kFastClock,
                {"KELLIB3_FAIL", "InDInterfaceBeginBlock:1,InDInterfaceStartDma:1,InDInterfaceEndBlock:1"}});
  ASSERT_EQ(rig.build(MODE_Setup), S_OK);
  ASSERT_EQ(rig.run(), S_OK);
  EXPECT_EQ(rig.nextEvent(), EC_COMPLETE) << "an ordinary end, not an aborted stream";
  EXPECT_EQ(rig.texts().size(), 3u);
  plat::VideoFrame frame;
  EXPECT_FALSE(plat::readNewestFrame(rig.renderer(), frame)) << "no sample was delivered";
}

TEST(CapturePinFrames, SaveModeWithABackwardRangeEndsAtOnceUnfinished) {
  GraphRig rig;
  ASSERT_EQ(rig.camera()->SetSaveRange(7, 3), S_OK);
  ASSERT_EQ(rig.build(MODE_Save), S_OK);
  ASSERT_EQ(rig.run(), S_OK);
  EXPECT_EQ(rig.nextEvent(), EC_COMPLETE);
  plat::VideoFrame frame;
  EXPECT_FALSE(plat::readNewestFrame(rig.renderer(), frame));
  int finished = -1;
  EXPECT_EQ(rig.camera()->IsSaveFinished(&finished), S_OK);
  EXPECT_EQ(finished, 0);
  EXPECT_FALSE(rig.texts().empty()) << "the refusal is posted";
}

TEST(CapturePinFrames, SetPauseIsStoredForTheSourceThoughItAnswersNotImplemented) {
  GraphRig rig;
  ASSERT_EQ(rig.build(MODE_Setup), S_OK);
  // A paused set-up source leaves every frame cycle open.
  EXPECT_EQ(rig.camera()->SetPause(TRUE), E_NOTIMPL);
  const std::uint64_t closed = shim::commandCount(KELLIB3_CMD_CLOSE_CYCLE);
  plat::VideoFrame frame;
  ASSERT_EQ(rig.run(), S_OK);
  ASSERT_TRUE(rig.nextFrame(frame));
  ASSERT_TRUE(rig.nextFrame(frame));
  ASSERT_TRUE(rig.stop());
  EXPECT_EQ(shim::commandCount(KELLIB3_CMD_CLOSE_CYCLE), closed);

  EXPECT_EQ(rig.camera()->SetPause(FALSE), E_NOTIMPL);
  ASSERT_EQ(rig.run(), S_OK);
  ASSERT_TRUE(rig.nextFrame(frame));
  ASSERT_TRUE(rig.stop());
  EXPECT_GT(shim::commandCount(KELLIB3_CMD_CLOSE_CYCLE), closed);
}

TEST(CapturePinFrames, ReleasingAFilterThatWaitsForTheTriggerEnds) {
  CaptureHost host({kSmallSensor, kFastClock});
  ComPtr<ICamera2> camera = host.createCamera();
  ASSERT_TRUE(camera);
  ASSERT_EQ(plat::registerStandardClasses(false), S_OK);
  ComPtr<IBaseFilter> filter;
  ASSERT_EQ(camera.as(IID_IBaseFilter, filter), S_OK);
  ASSERT_EQ(camera->SetMode(&MODE_Input), S_OK);
  {
    ComPtr<IEnumProperty> start;
    ASSERT_EQ(camera->GetEnum(0x400004, start.put()), S_OK);
    ASSERT_EQ(start->SetValue(5), S_OK) << "external trigger, which never fires here";
  }
  StreamSink* sink = nullptr;
  ComPtr<IBaseFilter> sinkFilter = StreamSink::create(&sink);
  ComPtr<IGraphBuilder> graph;
  ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_ALL, IID_IGraphBuilder, graph.putVoid()), S_OK);
  ASSERT_EQ(graph->AddFilter(filter.get(), u"Camera"), S_OK);
  ASSERT_EQ(graph->AddFilter(sinkFilter.get(), u"Sink"), S_OK);
  ComPtr<IPin> output;
  ASSERT_EQ(filter->FindPin(u"1", output.put()), S_OK);
  ASSERT_EQ(graph->ConnectDirect(output.get(), sink->input(), nullptr), S_OK);
  ComPtr<IMediaControl> control;
  ASSERT_EQ(graph.as(IID_IMediaControl, control), S_OK);
  ASSERT_EQ(camera->RunCamera(), S_OK);
  ASSERT_EQ(control->Run(), S_OK);
  // The record source polls the grabber's state while it waits.
  const std::uint64_t polls = shim::commandCount(KELLIB3_CMD_READ_STATUS);
  ASSERT_TRUE(shim::waitForCommands(KELLIB3_CMD_READ_STATUS, polls + 100));

  // Released without a stop of the camera: the graph stops the filter.
  std::promise<void> released;
  std::thread releasing([&] {
    control = {};
    output = {};
    graph = {};
    filter = {};
    camera = {};
    released.set_value();
  });
  if (released.get_future().wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
    // The streaming thread cannot be ended: report and leave at once.
    std::fprintf(stderr, "releasing the filter never ended\n");
    std::_Exit(1);
  }
  releasing.join();
  EXPECT_TRUE(sink->sizes().empty());
}

}  // namespace
}  // namespace kel::test
