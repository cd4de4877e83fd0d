// Frames through the output pin into the renderer: the row order the viewer
// sees, digital gain, the upside-down camera, and the ways a stream ends
// without frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/dshow/errors.h"
#include "platform/graph/vmr_interfaces.h"
#include "platform/com/co_create.h"
#include "shared/identifiers.h"
#include "tests/filter/capture/graph_rig.h"

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

}  // namespace
}  // namespace kel::test
