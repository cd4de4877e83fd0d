// IEnumProperty and IRectProperty over their records.
#include <gtest/gtest.h>

#include "platform/com/safearray_holder.h"
#include "tests/filter/camera_env.h"
#include "tests/filter/library_probe.h"
#include "tests/filter/options/property_helpers.h"

namespace {

using kel::test::BoxRecorder;
using kel::test::CameraEnv;
using kel::test::LibraryProbe;

constexpr std::uint32_t kTestMode = 0x400011, kWindow = 0x400006, kExposure = 0x400002;

TEST(EnumProperty, ValueIsReadFreshAndWrittenThrough) {
  CameraEnv camera;
  BoxRecorder boxes;
  auto system = kel::test::openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  auto test = kel::test::enumProperty(*system, kTestMode);
  hw.setEnum(kTestMode, 1);
  LONG v = 0;
  EXPECT_EQ(test->GetValue(&v), S_OK);
  EXPECT_EQ(v, 1);
  EXPECT_EQ(test->SetValue(2), S_OK);
  EXPECT_EQ(hw.enumerated(kTestMode), 2);
  EXPECT_EQ(system->FindOption(kTestMode, 0)->enumerated.Cached().value, 2);
  EXPECT_EQ(boxes.count(), 0u);
}

TEST(EnumProperty, ValueNotOfferedIsRefusedWithTheWriteLine) {
  CameraEnv camera;
  BoxRecorder boxes;
  auto system = kel::test::openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  auto test = kel::test::enumProperty(*system, kTestMode);
  const std::int32_t before = hw.enumerated(kTestMode);
  EXPECT_EQ(test->SetValue(999), E_FAIL);
  EXPECT_EQ(hw.enumerated(kTestMode), before);
  EXPECT_EQ(system->FindOption(kTestMode, 0)->enumerated.Cached().value, 999);
  ASSERT_EQ(boxes.count(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text.rfind("SetValue(const Data& value)\nError: \"KELLIB3 ERROR: 8 - ", 0), 0u);
  EXPECT_NE(boxes.boxes()[0].text.find("in File: ValueManaged Line: 73"), std::string::npos);
}

TEST(EnumProperty, ItemTableAndItemNames) {
  CameraEnv camera;
  auto system = kel::test::openSystem();
  auto test = kel::test::enumProperty(*system, kTestMode);
  SAFEARRAY* raw = nullptr;
  LONG count = 0;
  ASSERT_EQ(test->GetItems(&raw, &count), S_OK);
  plat::SafeArrayPtr table(raw);
  const auto& names = system->FindOption(kTestMode, 0)->names;
  ASSERT_EQ(count, static_cast<LONG>(names.size()));
  ASSERT_GT(count, 0);
  VARIANT text;
  const LONG at[2] = {count - 1, 1};
  ASSERT_EQ(SafeArrayGetElement(raw, at, &text), S_OK);
  EXPECT_EQ(kel::test::utf8(plat::Bstr::attach(text.bstrVal)), names.back().text);

  for (const auto& n : names) {
    plat::Bstr name;
    EXPECT_EQ(test->GetItemName(n.id, name.put()), S_OK);
    EXPECT_EQ(kel::test::utf8(name), kel::test::listText(4, n.id));
    LONG value = 0;
    EXPECT_EQ(test->GetItemValue(name.get(), &value), S_OK);
    EXPECT_EQ(value, n.id);
  }
  BSTR untouched = nullptr;
  EXPECT_EQ(test->GetItemName(999, &untouched), E_FAIL);
  EXPECT_EQ(untouched, nullptr);
  LONG value = 5;
  EXPECT_EQ(test->GetItemValue(nullptr, &value), E_FAIL);
  EXPECT_EQ(value, 5);
}

TEST(EnumProperty, NameAgreesWithTheScalarObjectsName) {
  CameraEnv camera;
  auto system = kel::test::openSystem();
  for (std::uint32_t id : {kTestMode, kExposure}) {
    auto asEnum = kel::test::enumProperty(*system, id);
    auto asScalar = kel::test::scalarProperty(*system, id);
    plat::Bstr e, s;
    ASSERT_EQ(asEnum->GetName(e.put()), S_OK);
    ASSERT_EQ(asScalar->GetName(s.put()), S_OK);
    EXPECT_EQ(e.str(), s.str());
    EXPECT_EQ(kel::test::utf8(e), kel::test::listText(2, static_cast<std::int32_t>(id)));
  }
}

TEST(RectProperty, ValueWriteAndBounds) {
  CameraEnv camera;
  BoxRecorder boxes;
  auto system = kel::test::openSystem();
  auto window = kel::test::rectProperty(*system, kWindow);
  LONG x = -1, y = -1, w = -1, h = -1;
  ASSERT_EQ(window->GetValue(&x, &y, &w, &h), S_OK);
  std::int32_t hx = 0, hy = 0, hw = 0, hh = 0;
  const KL3_HANDLE option = system->FindOption(kWindow, 0)->Handle();
  ASSERT_EQ(KelLib3OptionGetRect(option, &hx, &hy, &hw, &hh, camera.error()), 0);
  EXPECT_EQ((Options::Rect::Value{x, y, w, h}), (Options::Rect::Value{hx, hy, hw, hh}));

  LONG minX, minY, minW, minH, maxX, maxY, maxW, maxH;
  ASSERT_EQ(window->GetMinValue(&minX, &minY, &minW, &minH), S_OK);
  ASSERT_EQ(window->GetMaxValue(&maxX, &maxY, &maxW, &maxH), S_OK);
  ASSERT_EQ(KelLib3OptionMinRect(option, &hx, &hy, &hw, &hh, camera.error()), 0);
  EXPECT_EQ((Options::Rect::Value{minX, minY, minW, minH}), (Options::Rect::Value{hx, hy, hw, hh}));
  ASSERT_LT(minW, maxW);

  // A narrower window, written and read back as the hardware keeps it.
  ASSERT_EQ(window->SetValue(0, 0, maxW / 2, h / 2), S_OK);
  ASSERT_EQ(KelLib3OptionGetRect(option, &hx, &hy, &hw, &hh, camera.error()), 0);
  EXPECT_EQ(system->FindOption(kWindow, 0)->rect.Cached(), (Options::Rect::Value{hx, hy, hw, hh}));
  EXPECT_LT(hw, w);
  EXPECT_EQ(boxes.count(), 0u);

  plat::Bstr name;
  EXPECT_EQ(window->GetName(name.put()), S_OK);
  EXPECT_EQ(kel::test::utf8(name), kel::test::listText(2, kWindow));
}

TEST(RectProperty, NullOutputsAreRefused) {
  CameraEnv camera;
  auto system = kel::test::openSystem();
  auto window = kel::test::rectProperty(*system, kWindow);
  LONG a = 0, b = 0, c = 0;
  EXPECT_EQ(window->GetValue(&a, &b, &c, nullptr), E_POINTER);
  EXPECT_EQ(window->GetMinValue(nullptr, &a, &b, &c), E_POINTER);
  EXPECT_EQ(window->GetMaxValue(&a, nullptr, &b, &c), E_POINTER);
}

}  // namespace
