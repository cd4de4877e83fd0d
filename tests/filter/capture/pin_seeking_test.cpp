// The pin's seeking interfaces: each playback method answers S_FALSE unless
// the current source is the preview source and the time format is frames;
// the few IMediaSeeking methods that work report progress only.
#include <gtest/gtest.h>

#include "platform/dshow/guids.h"
#include "shared/identifiers.h"
#include "tests/filter/capture/graph_rig.h"

namespace kel::test {
namespace {

ComPtr<IMediaSeekingLocal> seekingOf(GraphRig& rig) {
  ComPtr<IMediaSeekingLocal> seeking;
  EXPECT_EQ(ComPtr<IBaseFilter>(rig.cameraFilter()).as(IID_IMediaSeekingLocal, seeking), S_OK);
  return seeking;
}

// Every method of IMediaSeekingLocal, each expected to answer S_FALSE and
// leave its outputs alone.
void expectAllRefused(IMediaSeekingLocal* seeking) {
  LONGLONG a = -7, b = -7;
  double rate = -7;
  EXPECT_EQ(seeking->GetDuration(&a), S_FALSE);
  EXPECT_EQ(seeking->GetRange(&a, &TIME_FORMAT_FRAME, &b, &TIME_FORMAT_FRAME), S_FALSE);
  EXPECT_EQ(seeking->GetCurrentPosition(&a, &TIME_FORMAT_FRAME), S_FALSE);
  EXPECT_EQ(seeking->SetCurrentPosition(3, &TIME_FORMAT_FRAME), S_FALSE);
  EXPECT_EQ(seeking->SetRate(2.0), S_FALSE);
  EXPECT_EQ(seeking->GetRate(&rate), S_FALSE);
  EXPECT_EQ(seeking->Resume(), S_FALSE);
  EXPECT_EQ(seeking->Pause(), S_FALSE);
  EXPECT_EQ(a, -7);
  EXPECT_EQ(b, -7);
  EXPECT_EQ(rate, -7);
}

TEST(CapturePinSeeking, RefusedWithoutAPreviewSource) {
  GraphRig rig;
  auto seeking = seekingOf(rig);
  ASSERT_TRUE(seeking);
  {
    SCOPED_TRACE("unconnected");
    expectAllRefused(seeking.get());
  }
  for (const GUID* mode : {&MODE_Setup, &MODE_Input}) {
    ASSERT_EQ(rig.build(*mode), S_OK);
    SCOPED_TRACE(mode == &MODE_Setup ? "set-up" : "input");
    expectAllRefused(seeking.get());
  }
}

TEST(CapturePinSeeking, SaveSourceAnswersItsDurationAndProgressOnly) {
  GraphRig rig;
  ASSERT_EQ(rig.camera()->SetSaveRange(2, 6), S_OK);
  ASSERT_EQ(rig.build(MODE_Save), S_OK);
  auto seeking = seekingOf(rig);
  ASSERT_TRUE(seeking);
  LONGLONG duration = -1, a = -7, b = -7;
  ASSERT_EQ(seeking->GetDuration(&duration), S_OK);
  EXPECT_EQ(duration, 5 * 400000) << "five frames of 40 ms";
  EXPECT_EQ(seeking->GetRange(&a, &TIME_FORMAT_FRAME, &b, &TIME_FORMAT_FRAME), S_FALSE);
  EXPECT_EQ(seeking->SetRate(2.0), S_FALSE);
  EXPECT_EQ(seeking->Resume(), S_FALSE);
  ComPtr<IMediaSeeking> progress;
  ASSERT_EQ(ComPtr<IBaseFilter>(rig.cameraFilter()).as(IID_IMediaSeeking, progress), S_OK);
  EXPECT_EQ(progress->GetPositions(nullptr, &b), E_POINTER);
  ASSERT_EQ(progress->GetPositions(&a, &b), S_OK);
  EXPECT_EQ(a, 0) << "nothing written yet";
  EXPECT_EQ(b, 5);
}

TEST(CapturePinSeeking, PreviewSourceAnswersFramesOnly) {
  GraphRig rig;
  ASSERT_TRUE(rig.recordFilm(12));
  ASSERT_EQ(rig.build(MODE_Preview), S_OK);
  auto seeking = seekingOf(rig);
  ASSERT_TRUE(seeking);

  LONGLONG first = -1, last = -1, current = -1, duration = -1;
  EXPECT_EQ(seeking->GetRange(&first, &TIME_FORMAT_FRAME, &last, &TIME_FORMAT_MEDIA_TIME), S_FALSE);
  EXPECT_EQ(seeking->GetRange(&first, &TIME_FORMAT_MEDIA_TIME, &last, &TIME_FORMAT_FRAME), S_FALSE);
  EXPECT_EQ(seeking->GetCurrentPosition(&current, &TIME_FORMAT_MEDIA_TIME), S_FALSE);
  EXPECT_EQ(seeking->SetCurrentPosition(5, &TIME_FORMAT_MEDIA_TIME), S_FALSE);
  EXPECT_EQ(first, -1);
  EXPECT_EQ(current, -1);

  ASSERT_EQ(seeking->GetRange(&first, &TIME_FORMAT_FRAME, &last, &TIME_FORMAT_FRAME), S_OK);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 11);
  ASSERT_EQ(seeking->GetDuration(&duration), S_OK);
  EXPECT_EQ(duration, 11);
  EXPECT_EQ(seeking->Pause(), S_OK);
  EXPECT_EQ(seeking->SetCurrentPosition((LONGLONG{1} << 32) + 5, &TIME_FORMAT_FRAME), S_OK);
  ASSERT_EQ(seeking->GetCurrentPosition(&current, &TIME_FORMAT_FRAME), S_OK);
  EXPECT_EQ(current, 5) << "only the low 32 bits of a position count";
  double rate = 0;
  EXPECT_EQ(seeking->SetRate(-2.5), S_OK);
  ASSERT_EQ(seeking->GetRate(&rate), S_OK);
  EXPECT_EQ(rate, -2.5);
  EXPECT_EQ(seeking->Resume(), S_OK);
}

TEST(CapturePinSeeking, MediaSeekingReportsNoProgressOutsideSaving) {
  GraphRig rig;
  ASSERT_EQ(rig.build(MODE_Setup), S_OK);
  ComPtr<IMediaSeeking> seeking;
  ASSERT_EQ(rig.output().as(IID_IMediaSeeking, seeking), S_OK);
  DWORD caps = 0;
  LONGLONG current = -1, stop = -1;
  EXPECT_EQ(seeking->GetCapabilities(&caps), E_NOTIMPL);
  EXPECT_EQ(seeking->CheckCapabilities(&caps), S_FALSE);
  EXPECT_EQ(seeking->GetPositions(&current, &stop), S_FALSE);
  EXPECT_EQ(seeking->GetDuration(&current), S_FALSE);
  EXPECT_EQ(current, -1);
  // One object: the seeking interface leads back to the pin.
  ComPtr<IPin> pin;
  ASSERT_EQ(seeking.as(IID_IPin, pin), S_OK);
  EXPECT_EQ(pin.get(), rig.output().get());
}

}  // namespace
}  // namespace kel::test
