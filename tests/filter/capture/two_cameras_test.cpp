// Two capture filters of one process on two controllers, streaming at once:
// each camera has its own frame converter and overlay, so frames of
// different sizes never share buffers. Built under ThreadSanitizer as well,
// where any sharing between the two streaming threads is reported.
#include <gtest/gtest.h>

#include <array>

#include "platform/kernel/event_handles.h"
#include "shared/identifiers.h"
#include "shared/property_interfaces.h"
#include "tests/filter/capture/graph_rig.h"

namespace kel::test {
namespace {

// At the camera's own pace (2 ms a frame) the recording lasts long enough
// for both renderers to be shown frames while it runs.
constexpr int kFilmFrames = 500;
constexpr DWORD kEndBoundMs = 60000;

// Input graph for a film of kFilmFrames frames, started; the end event is
// signalled when the grabber has it.
void startRecording(GraphRig& rig, HANDLE end) {
  ASSERT_EQ(rig.camera()->SetFramesToInput(kFilmFrames), S_OK);
  ASSERT_EQ(rig.build(MODE_Input), S_OK);
  for (const auto& [option, value] : {std::pair{0x400004L, 4L}, std::pair{0x400005L, 37L}}) {
    ComPtr<IEnumProperty> property;
    ASSERT_EQ(rig.camera()->GetEnum(option, property.put()), S_OK);
    ASSERT_EQ(property->SetValue(value), S_OK);
  }
  ASSERT_EQ(rig.camera()->SetEndEvent(end), S_OK);
  ASSERT_EQ(rig.run(), S_OK);
}

// The next frame of each rig, taken in turns while both stream; each must
// be a picture of its own camera's size with a readable frame number.
void framesInTurns(std::array<GraphRig*, 2> rigs, std::array<LONG, 2> heights, int rounds) {
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t k = 0; k < rigs.size(); ++k) {
      plat::VideoFrame frame;
      ASSERT_TRUE(rigs[k]->nextFrame(frame)) << "camera " << k;
      EXPECT_EQ(frame.height, heights[k]) << "camera " << k;
      EXPECT_TRUE(stripAtTop(frame).has_value()) << "camera " << k << ", round " << round;
    }
  }
}

TEST(CaptureTwoCameras, RecordAndPlayBackOnTwoControllersAtOnce) {
  GraphRig first({kSmallSensor, {"KELLIB3_CONTROLLERS", "2"}});
  GraphRig second(first);
  ASSERT_EQ(first.camera()->IsOpened(), 1);
  ASSERT_EQ(second.camera()->IsOpened(), 1);
  // The second camera's frames are half as tall: a converter or overlay
  // shared between them would be resized under the other's frame.
  ComPtr<IRectProperty> window;
  ASSERT_EQ(second.camera()->GetRect(0x400006, window.put()), S_OK);
  LONG x = 0, y = 0, width = 0, height = 0;
  ASSERT_EQ(window->GetValue(&x, &y, &width, &height), S_OK);
  ASSERT_EQ(window->SetValue(x, y, width, height / 2), S_OK);
  const std::array<LONG, 2> heights{height, height / 2};

  std::array<HANDLE, 2> ends{CreateEvent(nullptr, FALSE, FALSE, nullptr), CreateEvent(nullptr, FALSE, FALSE, nullptr)};
  ASSERT_NO_FATAL_FAILURE(startRecording(first, ends[0]));
  ASSERT_NO_FATAL_FAILURE(startRecording(second, ends[1]));
  framesInTurns({&first, &second}, heights, 3);
  for (HANDLE end : ends) EXPECT_EQ(WaitForSingleObject(end, kEndBoundMs), WAIT_OBJECT_0);
  for (GraphRig* rig : {&first, &second}) {
    EXPECT_TRUE(rig->stop());
    rig->camera()->SetEndEvent(nullptr);
  }
  for (HANDLE end : ends) CloseHandle(end);

  // Playback with the overlay drawn into both cameras' frames at once.
  ASSERT_EQ(first.camera()->SetOverlayEnabled(1), S_OK);
  for (GraphRig* rig : {&first, &second}) {
    ASSERT_EQ(rig->build(MODE_Preview), S_OK);
    ASSERT_EQ(rig->run(), S_OK);
  }
  framesInTurns({&first, &second}, heights, 3);
  for (GraphRig* rig : {&first, &second}) {
    EXPECT_TRUE(rig->stop());
    EXPECT_TRUE(rig->texts().empty()) << rig->texts().front();
  }
  first.camera()->SetOverlayEnabled(0);
}

}  // namespace
}  // namespace kel::test
