// The camera's information through the filter: serial number, recording
// capacity, the information list and the temperature, checked against each
// other and against the library's own lists, and their error paths.
#include <gtest/gtest.h>

#include "platform/com/bstr_holder.h"
#include "tests/filter/capture/camera_host.h"
#include "tests/filter/capture/library_shim.h"

namespace kel::test {
namespace {

std::string infoList(ICamera2& camera) {
  plat::Bstr list;
  EXPECT_EQ(camera.GetInfoList(list.put()), S_OK);
  return utf8(list.get());
}

class CameraInfo : public ::testing::Test {
 protected:
  void TearDown() override { shim::reset(); }
  CaptureHost host;
  ComPtr<ICamera2> camera = host.createCamera();
};

TEST_F(CameraInfo, InformationListHasOneLinePerItemWithNumbersAndValueTexts) {
  ASSERT_TRUE(camera);
  const std::string list = infoList(*camera);
  const auto rows = lines(list);
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_EQ(list.back(), '\n');
  EXPECT_EQ(infoValue(list, libraryText(12, 0x900005)), "1280");
  EXPECT_EQ(infoValue(list, libraryText(12, 0x900006)), "1024");
  // Type-32 items name their value with the text of the value list.
  EXPECT_EQ(infoValue(list, libraryText(12, 0x900004)), libraryText(4, 50));
  EXPECT_EQ(infoValue(list, libraryText(12, 0x90000b)), libraryText(4, 60));
}

TEST_F(CameraInfo, TextItemWithoutAMatchingValueTextShowsAQuestionMark) {
  ASSERT_TRUE(camera);
  shim::overrideInfo(0x90000a, 999, 32);
  const std::string list = infoList(*camera);
  EXPECT_EQ(infoValue(list, libraryText(12, 0x90000a)), "?");
  // A value the list has but the item does not accept is no match either.
  shim::overrideInfo(0x90000a, 60, 32);
  EXPECT_EQ(infoValue(infoList(*camera), libraryText(12, 0x90000a)), "?");
  shim::overrideInfo(0x90000a, 60, 0);
  EXPECT_EQ(infoValue(infoList(*camera), libraryText(12, 0x90000a)), "60");
}

TEST_F(CameraInfo, SerialNumberIsTheCameraDescriptionWithTheListedNumber) {
  ASSERT_TRUE(camera);
  plat::Bstr serial;
  ASSERT_EQ(camera->GetSerialNumber(serial.put()), S_OK);
  const std::string text = utf8(serial.get());
  const std::string number = infoValue(infoList(*camera), libraryText(12, 0x900002));
  ASSERT_FALSE(number.empty());
  EXPECT_NE(text.find("№ " + number), std::string::npos) << text;
  EXPECT_EQ(camera->GetSerialNumber(nullptr), E_POINTER);
  shim::hideInterface(0xC0000002, 1);
  plat::Bstr none;
  EXPECT_EQ(camera->GetSerialNumber(none.put()), E_FAIL);
  EXPECT_EQ(none.get(), nullptr);
}

TEST_F(CameraInfo, MaxFramesCountIsPartitionsTimesUsableSlots) {
  ASSERT_TRUE(camera);
  const int slots = std::stoi(infoValue(infoList(*camera), libraryText(12, 0x900003)));
  int frames = -1;
  ASSERT_EQ(camera->GetMaxFramesCount(&frames), S_OK);
  EXPECT_EQ(frames, 2 * (slots - 1)) << "set-up mode uses two partitions";
  ASSERT_EQ(camera->SetMode(&MODE_Input), S_OK);
  const int filmSlots = std::stoi(infoValue(infoList(*camera), libraryText(12, 0x900003)));
  ASSERT_EQ(camera->GetMaxFramesCount(&frames), S_OK);
  EXPECT_EQ(frames, filmSlots - 1);
  EXPECT_EQ(camera->GetMaxFramesCount(nullptr), E_POINTER);
}

TEST_F(CameraInfo, MaxFramesCountIsZeroWithoutSlots) {
  ASSERT_TRUE(camera);
  for (int slots : {0, 1}) {
    shim::overrideInfo(0x900003, slots, 0);
    int frames = -1;
    ASSERT_EQ(camera->GetMaxFramesCount(&frames), S_OK);
    EXPECT_EQ(frames, 0) << slots;
  }
}

TEST_F(CameraInfo, TemperatureIsTheFirstInformationItem) {
  ASSERT_TRUE(camera);
  plat::Bstr text;
  ASSERT_EQ(camera->GetTemperature(text.put()), S_OK);
  EXPECT_EQ(utf8(text.get()), "Т камеры: " + infoValue(infoList(*camera), libraryText(12, 0x900001)));
  EXPECT_EQ(camera->GetTemperature(nullptr), E_POINTER);
}

TEST_F(CameraInfo, TemperatureWithoutTheInformationInterfaceIsNull) {
  ASSERT_TRUE(camera);
  shim::hideInterface(0x900001, 0);
  BSTR text = SysAllocString(u"stale");
  BSTR stale = text;
  EXPECT_EQ(camera->GetTemperature(&text), S_FALSE);
  EXPECT_EQ(text, nullptr);
  SysFreeString(stale);
  // The list leaves the missing item out.
  EXPECT_EQ(infoValue(infoList(*camera), libraryText(12, 0x900001)), "");
}

TEST(CameraInfoFaults, InformationReadFailuresShowTheBoxAndFail) {
  CaptureHost host{{{"KELLIB3_FAIL", "KelLib3GetInfoScalarVal:1"}}};
  BoxLog log;
  ComPtr<ICamera2> camera = host.createCamera();
  ASSERT_TRUE(camera);
  plat::Bstr list;
  EXPECT_EQ(camera->GetInfoList(list.put()), E_FAIL);
  EXPECT_EQ(list.get(), nullptr);
  ASSERT_EQ(log.boxes().size(), 1u);
  EXPECT_EQ(log.boxes()[0].caption, "LIB3 ERROR");
  EXPECT_EQ(log.boxes()[0].text.rfind("GetInfoList():Error: \"KELLIB3", 0), 0u) << log.boxes()[0].text;
  EXPECT_EQ(camera->GetInfoList(list.put()), S_OK) << "the fault was a single call";
}

TEST(CameraInfoFaults, CapacityReadFailureShowsTheBoxAndFails) {
  CaptureHost host{{{"KELLIB3_FAIL", "KelLib3GetInfoScalarVal:1"}}};
  BoxLog log;
  ComPtr<ICamera2> camera = host.createCamera();
  ASSERT_TRUE(camera);
  int frames = -1;
  EXPECT_EQ(camera->GetMaxFramesCount(&frames), E_FAIL);
  EXPECT_EQ(frames, -1);
  ASSERT_EQ(log.boxes().size(), 1u);
  EXPECT_EQ(log.boxes()[0].text.rfind("GetMaxFramesCount():Error: ", 0), 0u) << log.boxes()[0].text;
  EXPECT_EQ(log.boxes()[0].flags & MB_ICONMASK, MB_ICONERROR);
}

}  // namespace
}  // namespace kel::test
