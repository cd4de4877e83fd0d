// The camera table against the virtual camera: the modes and the option
// writes of the camera interface, read back through the filter's own
// property objects (each GetValue is a fresh read from the library).
#include <gtest/gtest.h>

#include "tests/filter/capture/camera_host.h"
#include "tests/filter/capture/library_shim.h"

namespace kel::test {
namespace {

LONG scalar(ICamera2& camera, LONG id, UINT unit, LONG index = 0) {
  ComPtr<IScalarProperty> p;
  EXPECT_EQ(camera.GetScalar(id, index, p.put()), S_OK) << std::hex << id;
  LONG v = -1;
  if (p) {
    EXPECT_EQ(p->GetValue(&v, unit), S_OK);
  }
  return v;
}

void setScalar(ICamera2& camera, LONG id, LONG value, UINT unit) {
  ComPtr<IScalarProperty> p;
  ASSERT_EQ(camera.GetScalar(id, 0, p.put()), S_OK);
  ASSERT_EQ(p->SetValue(value, unit), S_OK);
}

LONG enumerated(ICamera2& camera, LONG id) {
  ComPtr<IEnumProperty> p;
  EXPECT_EQ(camera.GetEnum(id, p.put()), S_OK) << std::hex << id;
  LONG v = -1;
  if (p) {
    EXPECT_EQ(p->GetValue(&v), S_OK);
  }
  return v;
}

void setEnum(ICamera2& camera, LONG id, LONG value) {
  ComPtr<IEnumProperty> p;
  ASSERT_EQ(camera.GetEnum(id, p.put()), S_OK);
  ASSERT_EQ(p->SetValue(value), S_OK);
}

class CameraModes : public ::testing::Test {
 protected:
  CaptureHost host;
  ComPtr<ICamera2> camera = host.createCamera();
};

TEST_F(CameraModes, CreationEntersSetUpModeWithItsOptionValues) {
  ASSERT_TRUE(camera);
  ASSERT_EQ(camera->IsOpened(), 1);
  EXPECT_EQ(scalar(*camera, 0x400009, 0), 2);
  EXPECT_EQ(enumerated(*camera, 0x400005), 37);
  EXPECT_EQ(enumerated(*camera, 0x400011), 2);
  EXPECT_EQ(enumerated(*camera, 0x400004), 33);
}

TEST_F(CameraModes, InputModeWritesOnePartitionAndSetUpRestoresTheOptions) {
  ASSERT_TRUE(camera);
  setEnum(*camera, 0x400004, 4);
  setEnum(*camera, 0x400005, 4);
  ASSERT_EQ(camera->SetMode(&MODE_Input), S_OK);
  EXPECT_EQ(scalar(*camera, 0x400009, 0), 1);
  EXPECT_EQ(enumerated(*camera, 0x400004), 4) << "input mode leaves the start event";
  ASSERT_EQ(camera->SetMode(&MODE_Setup), S_OK);
  EXPECT_EQ(scalar(*camera, 0x400009, 0), 2);
  EXPECT_EQ(enumerated(*camera, 0x400004), 33);
  EXPECT_EQ(enumerated(*camera, 0x400005), 37);
}

TEST_F(CameraModes, UnknownOrNullModeChangesNothing) {
  ASSERT_TRUE(camera);
  ASSERT_EQ(camera->SetMode(&MODE_Input), S_OK);
  const GUID other{0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
  EXPECT_EQ(camera->SetMode(&other), S_OK);
  EXPECT_EQ(camera->SetMode(nullptr), E_POINTER);
  EXPECT_EQ(scalar(*camera, 0x400009, 0), 1);
}

TEST_F(CameraModes, TestModeIsWrittenAndKeptForSetUpMode) {
  ASSERT_TRUE(camera);
  ASSERT_EQ(camera->SetTestMode(TRUE), S_OK);
  EXPECT_EQ(enumerated(*camera, 0x400011), 1);
  ASSERT_EQ(camera->SetMode(&MODE_Input), S_OK);
  setEnum(*camera, 0x400011, 2);
  ASSERT_EQ(camera->SetMode(&MODE_Setup), S_OK);
  EXPECT_EQ(enumerated(*camera, 0x400011), 1) << "set-up mode writes the remembered test mode";
  ASSERT_EQ(camera->SetTestMode(FALSE), S_OK);
  EXPECT_EQ(enumerated(*camera, 0x400011), 2);
}

TEST_F(CameraModes, FramesToInputAreWrittenInTheirOwnUnit) {
  ASSERT_TRUE(camera);
  ASSERT_EQ(camera->SetFramesToInput(321), S_OK);
  EXPECT_EQ(scalar(*camera, 0x400007, 6), 321);
}

TEST_F(CameraModes, VisibleFrameTimeDividesByTheFramePeriodInMicroseconds) {
  ASSERT_TRUE(camera);
  int t = 0, input = 0, period = 0;
  ASSERT_EQ(camera->GetSetupOptions(&t, &input, &period), S_OK);
  EXPECT_EQ(t, 200);
  EXPECT_EQ(input, 7);
  EXPECT_EQ(period, 2);

  // 2 ms frames: a visible frame every 300 * 1000 / 2000 = 150 frames.
  setScalar(*camera, 0x400003, 2000, 2);
  ASSERT_EQ(camera->SetVisibleFrameTime(300), S_OK);
  ASSERT_EQ(camera->GetSetupOptions(&t, &input, &period), S_OK);
  EXPECT_EQ(t, 300);
  EXPECT_EQ(period, 150);
  EXPECT_EQ(input, 155);
  EXPECT_EQ(scalar(*camera, 0x400007, 6), 155);

  // A period of 2 frames gives the input-frame value 7.
  setScalar(*camera, 0x400003, 100000, 2);
  ASSERT_EQ(camera->SetVisibleFrameTime(200), S_OK);
  ASSERT_EQ(camera->GetSetupOptions(&t, &input, &period), S_OK);
  EXPECT_EQ(period, 2);
  EXPECT_EQ(input, 7);
  EXPECT_EQ(scalar(*camera, 0x400007, 6), 7);
}

TEST_F(CameraModes, VisibleFrameTimeGivesTheFramePeriodBackInItsUnit) {
  ASSERT_TRUE(camera);
  ComPtr<IScalarProperty> period;
  ASSERT_EQ(camera->GetScalar(0x400003, 0, period.put()), S_OK);
  ASSERT_EQ(period->SetValue(2000000, 1), S_OK);  // 2 ms in nanoseconds
  ASSERT_EQ(camera->SetVisibleFrameTime(100), S_OK);
  LONG lo = 0;
  ASSERT_EQ(period->GetMinValue(&lo, 0), S_OK);
  EXPECT_EQ(lo, 5000) << "the range is still reported in nanoseconds";
}

TEST_F(CameraModes, FramePeriodBelowOneMicrosecondCountsAsOne) {
  ASSERT_TRUE(camera);
  shim::overrideScalar(0x400003, 0, 2, 0);
  ASSERT_EQ(camera->SetVisibleFrameTime(1), S_OK);
  shim::reset();
  int t = 0, input = 0, period = 0;
  ASSERT_EQ(camera->GetSetupOptions(&t, &input, &period), S_OK);
  EXPECT_EQ(period, 1000);
  EXPECT_EQ(input, 1005);
  EXPECT_EQ(scalar(*camera, 0x400007, 6), 1005);
}

TEST_F(CameraModes, VisibleFrameTimeNeedsBothOptions) {
  ASSERT_TRUE(camera);
  camera.reset();
  shim::hideInterface(0x400007, 0);
  ComPtr<ICamera2> without = host.createCamera();
  shim::reset();
  ASSERT_TRUE(without);
  ASSERT_EQ(without->IsOpened(), 1);
  EXPECT_EQ(without->SetVisibleFrameTime(500), E_FAIL);
  EXPECT_EQ(without->SetFramesToInput(10), E_FAIL);
  int t = 0, input = 0, period = 0;
  ASSERT_EQ(without->GetSetupOptions(&t, &input, &period), S_OK);
  EXPECT_EQ(t, 200) << "nothing is stored when the write cannot happen";
}

TEST_F(CameraModes, PropertyObjectsNeedAnExistingRecord) {
  ASSERT_TRUE(camera);
  ComPtr<IScalarProperty> scalarProperty;
  ComPtr<IEnumProperty> enumProperty;
  ComPtr<IRectProperty> rectProperty;
  EXPECT_EQ(camera->GetScalar(0x400003, 1, scalarProperty.put()), E_NOINTERFACE) << "no shutter on this camera";
  EXPECT_EQ(camera->GetScalar(0x4000ff, 0, scalarProperty.put()), E_NOINTERFACE);
  EXPECT_EQ(camera->GetEnum(0x4000ff, enumProperty.put()), E_NOINTERFACE);
  EXPECT_EQ(camera->GetRect(0x4000ff, rectProperty.put()), E_NOINTERFACE);
  EXPECT_FALSE(scalarProperty || enumProperty || rectProperty);
  EXPECT_EQ(camera->GetScalar(0x400003, 0, nullptr), E_POINTER);
  EXPECT_EQ(camera->GetEnum(0x400011, nullptr), E_POINTER);
  EXPECT_EQ(camera->GetRect(0x400006, nullptr), E_POINTER);
  ASSERT_EQ(camera->GetRect(0x400006, rectProperty.put()), S_OK);
  LONG x = -1, y = -1, w = 0, h = 0;
  ASSERT_EQ(rectProperty->GetValue(&x, &y, &w, &h), S_OK);
  EXPECT_GT(w, 0);
  EXPECT_GT(h, 0);
}

TEST(CameraShutter, SecondFramePeriodInstanceIsReachedByIndex) {
  CaptureHost host{{{"KELLIB3_SHUTTER", "1"}}};
  ComPtr<ICamera2> camera = host.createCamera();
  ASSERT_TRUE(camera);
  ComPtr<IScalarProperty> first, second;
  ASSERT_EQ(camera->GetScalar(0x400003, 0, first.put()), S_OK);
  ASSERT_EQ(camera->GetScalar(0x400003, 1, second.put()), S_OK);
  ASSERT_EQ(first->SetValue(1000, 2), S_OK);
  ASSERT_EQ(second->SetValue(300, 2), S_OK);
  LONG a = 0, b = 0;
  ASSERT_EQ(first->GetValue(&a, 2), S_OK);
  ASSERT_EQ(second->GetValue(&b, 2), S_OK);
  EXPECT_EQ(a, 1000);
  EXPECT_EQ(b, 300);
}

}  // namespace
}  // namespace kel::test
