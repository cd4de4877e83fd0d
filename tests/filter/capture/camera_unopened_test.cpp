// A filter whose camera could not be opened: it exists without a pin, says
// why, refuses what needs the camera and changes nothing; and a filter that
// cannot even initialise the library is not made at all.
#include <gtest/gtest.h>

#include "platform/com/bstr_holder.h"
#include "platform/com/co_create.h"
#include "platform/dshow/guids.h"
#include "platform/dshow/interfaces.h"
#include "tests/filter/capture/camera_host.h"

namespace kel::test {
namespace {

class NoCamera : public ::testing::Test {
 protected:
  CaptureHost host{{{"KELLIB3_CAMERA", "absent"}}};
  BoxLog log;
  ComPtr<ICamera2> camera = host.createCamera();
};

TEST_F(NoCamera, ExistsWithoutPinAndGivesTheReasonOfEveryController) {
  ASSERT_TRUE(camera);
  EXPECT_EQ(camera->IsOpened(), 0);
  plat::Bstr text;
  ASSERT_EQ(camera->GetErrorText(text.put()), S_OK);
  const std::string reason = utf8(text.get());
  // Controllers 0, 1 and 2 were tried, each reason closed by "\r\r\n".
  std::size_t count = 0;
  const std::string end = "\r\r\nError: ";
  for (std::size_t at = reason.find(end); at != std::string::npos; at = reason.find(end, at + 1)) ++count;
  EXPECT_EQ(count, 2u) << "three reasons, one after another";
  EXPECT_EQ(reason.rfind("Error: ", 0), 0u);
  EXPECT_NE(reason.find(libraryText(1, 10)), std::string::npos) << reason;
  EXPECT_EQ(reason.substr(reason.size() - 3), "\r\r\n");
  EXPECT_TRUE(log.boxes().empty()) << "a slot was free: no box";

  ComPtr<IBaseFilter> filter;
  ASSERT_EQ(camera->QueryInterface(IID_IBaseFilter, filter.putVoid()), S_OK);
  ComPtr<IEnumPins> pins;
  ASSERT_EQ(filter->EnumPins(pins.put()), S_OK);
  ComPtr<IPin> pin;
  ULONG fetched = 0;
  EXPECT_EQ(pins->Next(1, pin.put(), &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
  ComPtr<IUnknown> seeking;
  EXPECT_EQ(camera->QueryInterface(IID_IMediaSeeking, seeking.putVoid()), E_NOINTERFACE);
  EXPECT_EQ(camera->QueryInterface(IID_IMediaSeekingLocal, seeking.putVoid()), E_NOINTERFACE);
  EXPECT_FALSE(seeking);
}

TEST_F(NoCamera, MethodsNeedingTheCameraFailAndChangeNothing) {
  ASSERT_TRUE(camera);
  int t = 0, input = 0, period = 0;
  int finished = -1;
  EXPECT_EQ(camera->RunCamera(), E_FAIL);
  EXPECT_EQ(camera->StopCamera(TRUE), E_FAIL);
  EXPECT_EQ(camera->SetPause(TRUE), E_FAIL);
  EXPECT_EQ(camera->SetNotifyWindow(nullptr), E_FAIL);
  EXPECT_EQ(camera->SetStopped(), E_FAIL);
  EXPECT_EQ(camera->IsSaveFinished(&finished), E_FAIL);
  EXPECT_EQ(finished, -1);
  EXPECT_EQ(camera->EnableBackgroundSubtraction(TRUE), E_FAIL);
  EXPECT_EQ(camera->SetEndEvent(nullptr), E_FAIL);
  EXPECT_EQ(camera->SetVisibleFrameTime(1000), E_FAIL);
  ASSERT_EQ(camera->GetSetupOptions(&t, &input, &period), S_OK);
  EXPECT_EQ(t, 200);
  EXPECT_EQ(camera->SetFramesToInput(10), E_FAIL);
  EXPECT_EQ(camera->SetTestMode(TRUE), E_FAIL);
  EXPECT_EQ(camera->SetMode(&MODE_Input), S_OK) << "a setting, which never fails";

  ComPtr<IScalarProperty> scalar;
  EXPECT_EQ(camera->GetScalar(0x400003, 0, scalar.put()), E_NOINTERFACE);
  plat::Bstr text;
  EXPECT_EQ(camera->GetTemperature(text.put()), S_FALSE);
  EXPECT_EQ(text.get(), nullptr);
  EXPECT_EQ(camera->GetSerialNumber(text.put()), E_FAIL);
  EXPECT_EQ(camera->GetInfoList(text.put()), E_FAIL);
  int frames = -1;
  EXPECT_EQ(camera->GetMaxFramesCount(&frames), E_FAIL);
  EXPECT_EQ(frames, -1);
  EXPECT_TRUE(log.boxes().empty());
}

TEST(LibraryInitFailure, TheFactoryMakesNoObjectAndShowsWhy) {
  CaptureHost host{{{"KELLIB3_FAIL", "KelLib3Init:1"}}};
  BoxLog log;
  ComPtr<ICamera2> camera;
  EXPECT_EQ(CoCreateInstance(CLSID_KelOrvoSource, nullptr, CLSCTX_INPROC_SERVER, IID_ICamera2, camera.putVoid()),
            E_FAIL);
  EXPECT_FALSE(camera);
  ASSERT_EQ(log.boxes().size(), 1u);
  EXPECT_EQ(log.boxes()[0].caption, "LIB3 ERROR");
  EXPECT_EQ(log.boxes()[0].text.rfind("KelOrvoSource():Error: ", 0), 0u) << log.boxes()[0].text;
}

}  // namespace
}  // namespace kel::test
