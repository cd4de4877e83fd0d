// The process-wide settings records behind the camera interface, the pin's
// part of the table, and bad arguments.
#include <gtest/gtest.h>

#include "platform/com/bstr_holder.h"
#include "platform/dshow/guids.h"
#include "platform/dshow/interfaces.h"
#include "tests/filter/capture/camera_host.h"

namespace kel::test {
namespace {

class CameraRecords : public ::testing::Test {
 protected:
  CaptureHost host{{{"KELLIB3_CONTROLLERS", "2"}}};
  ComPtr<ICamera2> camera = host.createCamera();
};

TEST_F(CameraRecords, StartFromTheirInitialValues) {
  ASSERT_TRUE(camera);
  int black = -1, white = -1, gain = -1, gamma = -1, mono = -1, color = -1, r = -1, g = -1, b = -1;
  HFONT font = nullptr;
  COLORREF colour = 0;
  ASSERT_EQ(camera->GetLevels(&black, &white), S_OK);
  EXPECT_EQ(black, 0);
  EXPECT_EQ(white, 255);
  ASSERT_EQ(camera->GetOverlayFont(&font, &colour), S_OK);
  EXPECT_NE(font, nullptr) << "no font set gives the stock GUI font";
  EXPECT_EQ(colour, 0xFFFFFFu);
  ASSERT_EQ(camera->GetDigitalGain(&gain), S_OK);
  ASSERT_EQ(camera->GetGamma(&gamma), S_OK);
  ASSERT_EQ(camera->GetMonochrome(&mono), S_OK);
  ASSERT_EQ(camera->IsColorCamera(&color), S_OK);
  ASSERT_EQ(camera->GetWhiteBalanceGains(&r, &g, &b), S_OK);
  EXPECT_EQ(gain + gamma + mono + color + r + g + b, 0);
}

TEST_F(CameraRecords, AreSharedByEveryFilterOfTheProcess) {
  ASSERT_TRUE(camera);
  ComPtr<ICamera2> second = host.createCamera();
  ASSERT_TRUE(second);
  EXPECT_EQ(second->IsOpened(), 1) << "the second filter opens controller 1";
  auto* font = reinterpret_cast<HFONT>(0x1234);
  ASSERT_EQ(camera->SetLevels(12, 200), S_OK);
  ASSERT_EQ(camera->SetWhiteBalanceGains(3, 4, 5), S_OK);
  ASSERT_EQ(camera->SetOverlayFont(font, RGB(1, 2, 3)), S_OK);
  ASSERT_EQ(camera->SetGamma(1), S_OK);
  ASSERT_EQ(camera->SetMonochrome(1), S_OK);
  ASSERT_EQ(camera->SetDigitalGain(9), S_OK);
  second.reset();
  ComPtr<ICamera2> third = host.createCamera();
  ASSERT_TRUE(third);
  int black = 0, white = 0, r = 0, g = 0, b = 0, gamma = 0, mono = 0, gain = 0;
  HFONT gotFont = nullptr;
  COLORREF colour = 0;
  ASSERT_EQ(third->GetLevels(&black, &white), S_OK);
  ASSERT_EQ(third->GetWhiteBalanceGains(&r, &g, &b), S_OK);
  ASSERT_EQ(third->GetOverlayFont(&gotFont, &colour), S_OK);
  ASSERT_EQ(third->GetGamma(&gamma), S_OK);
  ASSERT_EQ(third->GetMonochrome(&mono), S_OK);
  ASSERT_EQ(third->GetDigitalGain(&gain), S_OK);
  EXPECT_EQ(black, 12);
  EXPECT_EQ(white, 200);
  EXPECT_EQ(r * 100 + g * 10 + b, 345);
  EXPECT_EQ(gotFont, font);
  EXPECT_EQ(colour, RGB(1, 2, 3));
  EXPECT_EQ(gamma, 1);
  EXPECT_EQ(mono, 1);
  EXPECT_EQ(gain, 9);
}

TEST_F(CameraRecords, GettersRefuseNullPointers) {
  ASSERT_TRUE(camera);
  int v = 0;
  HFONT font = nullptr;
  COLORREF colour = 0;
  EXPECT_EQ(camera->GetOverlayFont(nullptr, &colour), E_POINTER);
  EXPECT_EQ(camera->GetOverlayFont(&font, nullptr), E_POINTER);
  EXPECT_EQ(camera->GetWhiteBalanceGains(&v, nullptr, &v), E_POINTER);
  EXPECT_EQ(camera->IsColorCamera(nullptr), E_POINTER);
  EXPECT_EQ(camera->GetLevels(nullptr, &v), E_POINTER);
  EXPECT_EQ(camera->GetGamma(nullptr), E_POINTER);
  EXPECT_EQ(camera->GetMonochrome(nullptr), E_POINTER);
  EXPECT_EQ(camera->GetDigitalGain(nullptr), E_POINTER);
  EXPECT_EQ(camera->GetSetupOptions(&v, &v, nullptr), E_POINTER);
  EXPECT_EQ(camera->IsSaveFinished(nullptr), E_POINTER);
  EXPECT_EQ(camera->GetErrorText(nullptr), E_POINTER);
  EXPECT_EQ(camera->GetInfoList(nullptr), E_POINTER);
  // A null name is no error: it clears the stored one.
  EXPECT_EQ(camera->SetSaveFileName(nullptr), S_OK);
}

TEST_F(CameraRecords, PinMethodsOfAnOpenCamera) {
  ASSERT_TRUE(camera);
  ASSERT_EQ(camera->IsOpened(), 1);
  plat::Bstr text;
  ASSERT_EQ(camera->GetErrorText(text.put()), S_OK);
  ASSERT_NE(text.get(), nullptr) << "an empty text is an empty string, not null";
  EXPECT_EQ(text.length(), 0u);
  // Pausing is stored for the source and answered with E_NOTIMPL.
  EXPECT_EQ(camera->SetPause(TRUE), E_NOTIMPL);
  EXPECT_EQ(camera->SetPause(FALSE), E_NOTIMPL);
  EXPECT_EQ(camera->SetStopped(), S_OK);
  EXPECT_EQ(camera->SetNotifyWindow(nullptr), S_OK);
  EXPECT_EQ(camera->SetEndEvent(nullptr), S_OK);
  int finished = -1;
  EXPECT_EQ(camera->IsSaveFinished(&finished), S_FALSE) << "no save source";
  EXPECT_EQ(finished, -1);
  EXPECT_EQ(camera->RunCamera(), S_OK);
  EXPECT_EQ(camera->StopCamera(TRUE), S_OK);

  ComPtr<IBaseFilter> filter;
  ASSERT_EQ(camera->QueryInterface(IID_IBaseFilter, filter.putVoid()), S_OK);
  ComPtr<IPin> pin;
  ASSERT_EQ(filter->FindPin(u"1", pin.put()), S_OK);
  PIN_DIRECTION direction = PINDIR_INPUT;
  ASSERT_EQ(pin->QueryDirection(&direction), S_OK);
  EXPECT_EQ(direction, PINDIR_OUTPUT);
  ComPtr<ICamera> first;
  ASSERT_EQ(filter->QueryInterface(IID_ICamera, first.putVoid()), S_OK);
  EXPECT_EQ(static_cast<IUnknown*>(first.get()), static_cast<IUnknown*>(camera.get()))
      << "both identifiers answer the one table";
}

TEST(CameraRun, StartFailureShowsTheBoxWithItsPrefix) {
  CaptureHost host{{{"KELLIB3_FAIL", "KelLib3CallCInterface_0:1"}}};
  BoxLog log;
  ComPtr<ICamera2> camera = host.createCamera();
  ASSERT_TRUE(camera);
  EXPECT_EQ(camera->RunCamera(), E_FAIL);
  ASSERT_EQ(log.boxes().size(), 1u);
  EXPECT_EQ(log.boxes()[0].caption, "LIB3 ERROR");
  EXPECT_EQ(log.boxes()[0].text.rfind("RunCameraError: \"KELLIB3", 0), 0u) << log.boxes()[0].text;
  EXPECT_EQ(camera->RunCamera(), S_OK);
}

}  // namespace
}  // namespace kel::test
