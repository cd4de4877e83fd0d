// IScalarProperty: values in units, adjusted and refused writes, ranges in
// the cached unit, unit names and shared records.
#include <gtest/gtest.h>

#include "platform/com/safearray_holder.h"
#include "platform/com/variant_holder.h"
#include "tests/filter/camera_env.h"
#include "tests/filter/library_probe.h"
#include "tests/filter/options/property_helpers.h"

namespace {

using kel::test::BoxRecorder;
using kel::test::CameraEnv;
using kel::test::LibraryProbe;

constexpr std::uint32_t kExposure = 0x400002, kGain = 0x40000a, kBlack = 0x40000d;

TEST(ScalarProperty, ValueIsReadInTheAskedUnit) {
  CameraEnv camera;
  auto system = kel::test::openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  auto exposure = kel::test::scalarProperty(*system, kExposure);
  LONG us = 0, ns = 0;
  EXPECT_EQ(exposure->GetValue(&us, KELLIB3_UNIT_US), S_OK);
  EXPECT_EQ(us, hw.scalar(kExposure, KELLIB3_UNIT_US));
  EXPECT_EQ(exposure->GetValue(&ns, KELLIB3_UNIT_NS), S_OK);
  EXPECT_EQ(ns, hw.scalar(kExposure, KELLIB3_UNIT_NS));
  EXPECT_NE(us, ns);
}

TEST(ScalarProperty, AdjustedWriteComesBackAdjusted) {
  CameraEnv camera;
  BoxRecorder boxes;
  auto system = kel::test::openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  auto black = kel::test::scalarProperty(*system, kBlack);
  const auto [lo, hi] = hw.range(kBlack, 0);
  EXPECT_EQ(black->SetValue(hi + 1000, 0), S_OK);
  LONG v = 0;
  EXPECT_EQ(black->GetValue(&v, 0), S_OK);
  EXPECT_EQ(v, hi);
  EXPECT_EQ(hw.scalar(kBlack, 0), hi);
  EXPECT_EQ(system->FindOption(kBlack, 0)->scalar.Cached().value, hi) << "the read-back is cached";
  EXPECT_EQ(black->SetValue(lo - 5, 0), S_OK);
  EXPECT_EQ(system->FindOption(kBlack, 0)->scalar.Cached().value, lo);
  EXPECT_EQ(boxes.count(), 0u);
}

TEST(ScalarProperty, RefusedUnitShowsTheBoxFailsAndKeepsTheRejectedDataCached) {
  CameraEnv camera;
  BoxRecorder boxes;
  auto system = kel::test::openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  auto exposure = kel::test::scalarProperty(*system, kExposure);
  const std::int32_t before = hw.scalar(kExposure, KELLIB3_UNIT_NS);

  EXPECT_EQ(exposure->SetValue(5, KELLIB3_UNIT_VOLT), E_FAIL);
  EXPECT_EQ(hw.scalar(kExposure, KELLIB3_UNIT_NS), before);
  EXPECT_EQ(system->FindOption(kExposure, 0)->scalar.Cached(), (Options::Scalar::Value{5, KELLIB3_UNIT_VOLT}));
  ASSERT_EQ(boxes.count(), 1u);
  const auto box = boxes.boxes()[0];
  EXPECT_EQ(box.caption, "LIB3 ERROR");
  EXPECT_EQ(box.flags & MB_ICONMASK, MB_ICONERROR);
  const std::string head = "SetValue(const Data& value)\nError: \"KELLIB3 ERROR: 9 - " + kel::test::listText(1, 9);
  EXPECT_EQ(box.text.rfind(head, 0), 0u) << box.text;
  EXPECT_NE(box.text.find("\"\r\r\nin File: ValueManaged Line: 19"), std::string::npos) << box.text;

  // The range comes in the cached unit, which the option refuses too.
  LONG m = 0;
  EXPECT_EQ(exposure->GetMinValue(&m, KELLIB3_UNIT_NS), E_FAIL);
  EXPECT_EQ(boxes.count(), 2u);
  // A good read puts a usable unit back into the cache.
  EXPECT_EQ(exposure->GetValue(&m, KELLIB3_UNIT_NS), S_OK);
  EXPECT_EQ(m, before);
}

TEST(ScalarProperty, RangeIsInTheUnitOfTheLastReadOrWrite) {
  CameraEnv camera;
  auto system = kel::test::openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  auto exposure = kel::test::scalarProperty(*system, kExposure);
  LONG v = 0, lo = 0, hi = 0;
  ASSERT_EQ(exposure->GetValue(&v, KELLIB3_UNIT_NS), S_OK);
  EXPECT_EQ(exposure->GetMinValue(&lo, KELLIB3_UNIT_MS), S_OK);
  EXPECT_EQ(exposure->GetMaxValue(&hi, KELLIB3_UNIT_MS), S_OK);
  EXPECT_EQ(std::make_pair(lo, hi), hw.range(kExposure, KELLIB3_UNIT_NS));

  ASSERT_EQ(exposure->SetValue(v / 1000, KELLIB3_UNIT_US), S_OK);
  EXPECT_EQ(exposure->GetMinValue(&lo, KELLIB3_UNIT_NS), S_OK);
  EXPECT_EQ(exposure->GetMaxValue(&hi, KELLIB3_UNIT_NS), S_OK);
  EXPECT_EQ(std::make_pair(lo, hi), hw.range(kExposure, KELLIB3_UNIT_US));
}

TEST(ScalarProperty, TwoObjectsForOneOptionShareTheRecord) {
  CameraEnv camera;
  auto system = kel::test::openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  auto a = kel::test::scalarProperty(*system, kExposure);
  auto b = kel::test::scalarProperty(*system, kExposure);
  ASSERT_NE(a.get(), b.get());
  LONG v = 0, hi = 0;
  ASSERT_EQ(a->GetValue(&v, KELLIB3_UNIT_US), S_OK);
  ASSERT_EQ(a->SetValue(v, KELLIB3_UNIT_US), S_OK);
  EXPECT_EQ(b->GetMaxValue(&hi, KELLIB3_UNIT_NS), S_OK);
  EXPECT_EQ(hi, hw.range(kExposure, KELLIB3_UNIT_US).second);
}

TEST(ScalarProperty, RelativeStepMovesInTheCachedUnit) {
  CameraEnv camera;
  auto system = kel::test::openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  auto exposure = kel::test::scalarProperty(*system, kExposure);
  LONG us = 0;
  ASSERT_EQ(exposure->GetValue(&us, KELLIB3_UNIT_US), S_OK);
  EXPECT_EQ(exposure->SetRelativeValue(-2, KELLIB3_UNIT_NS), S_OK);
  EXPECT_EQ(hw.scalar(kExposure, KELLIB3_UNIT_US), us - 2);
  EXPECT_EQ(system->FindOption(kExposure, 0)->scalar.Cached(),
            (Options::Scalar::Value{us - 2, KELLIB3_UNIT_US}));
}

TEST(ScalarProperty, UnitTableAndUnitNames) {
  CameraEnv camera;
  auto system = kel::test::openSystem();
  auto exposure = kel::test::scalarProperty(*system, kExposure);
  SAFEARRAY* raw = nullptr;
  LONG count = -1;
  ASSERT_EQ(exposure->GetUnits(&raw, &count), S_OK);
  plat::SafeArrayPtr table(raw);
  const auto& names = system->FindOption(kExposure, 0)->names;
  ASSERT_EQ(count, static_cast<LONG>(names.size()));
  ASSERT_EQ(SafeArrayGetDim(raw), 2u);
  LONG lb = -1, ub = -1;
  SafeArrayGetLBound(raw, 1, &lb);
  SafeArrayGetUBound(raw, 1, &ub);
  EXPECT_EQ(lb, 0);
  EXPECT_EQ(ub, count - 1);
  SafeArrayGetLBound(raw, 2, &lb);
  SafeArrayGetUBound(raw, 2, &ub);
  EXPECT_EQ(lb, 0);
  EXPECT_EQ(ub, 1);
  for (LONG row = 0; row < count; ++row) {
    VARIANT id, text;
    const LONG at0[2] = {row, 0}, at1[2] = {row, 1};
    ASSERT_EQ(SafeArrayGetElement(raw, at0, &id), S_OK);
    ASSERT_EQ(SafeArrayGetElement(raw, at1, &text), S_OK);
    EXPECT_EQ(id.vt, VT_I4);
    EXPECT_EQ(id.lVal, names[static_cast<std::size_t>(row)].id);
    ASSERT_EQ(text.vt, VT_BSTR);
    EXPECT_EQ(kel::test::utf8(plat::Bstr::attach(text.bstrVal)), names[static_cast<std::size_t>(row)].text);
  }
  // The count pointer may be null.
  ASSERT_EQ(exposure->GetUnits(&raw, nullptr), S_OK);
  SafeArrayDestroy(raw);

  plat::Bstr name;
  EXPECT_EQ(exposure->GetUnitName(KELLIB3_UNIT_US, name.put()), S_OK);
  EXPECT_EQ(kel::test::utf8(name), kel::test::listText(3, KELLIB3_UNIT_US));
  LONG unit = 0;
  EXPECT_EQ(exposure->GetUnitId(name.get(), &unit), S_OK);
  EXPECT_EQ(unit, static_cast<LONG>(KELLIB3_UNIT_US));
}

TEST(ScalarProperty, PlainNumberHasAnEmptyUnitTable) {
  CameraEnv camera;
  auto system = kel::test::openSystem();
  auto gain = kel::test::scalarProperty(*system, kGain);
  SAFEARRAY* raw = nullptr;
  LONG count = -1;
  ASSERT_EQ(gain->GetUnits(&raw, &count), S_OK);
  plat::SafeArrayPtr table(raw);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(SafeArrayGetDim(raw), 2u);
  LONG ub = 0;
  SafeArrayGetUBound(raw, 1, &ub);
  EXPECT_EQ(ub, -1);
  EXPECT_EQ(system->FindOption(kGain, 0)->scalar.Cached().unit, 0u);
}

TEST(ScalarProperty, SetValueByUnitName) {
  CameraEnv camera;
  BoxRecorder boxes;
  auto system = kel::test::openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  auto exposure = kel::test::scalarProperty(*system, kExposure);
  const std::int32_t before = hw.scalar(kExposure, KELLIB3_UNIT_NS);

  EXPECT_EQ(exposure->SetValueByUnitName(7, kel::test::bstr("вольт").get()), E_FAIL);
  EXPECT_EQ(exposure->SetValueByUnitName(7, nullptr), E_FAIL);
  EXPECT_EQ(hw.scalar(kExposure, KELLIB3_UNIT_NS), before) << "nothing written";
  EXPECT_EQ(boxes.count(), 0u);

  const auto ms = kel::test::bstr(kel::test::listText(3, KELLIB3_UNIT_MS));
  EXPECT_EQ(exposure->SetValueByUnitName(1, ms.get()), S_OK);
  EXPECT_EQ(hw.scalar(kExposure, KELLIB3_UNIT_MS), 1);
  EXPECT_EQ(system->FindOption(kExposure, 0)->scalar.Cached().unit, KELLIB3_UNIT_MS);
}

TEST(ScalarProperty, NamesNotInTheListFailAndLeaveOutputsUntouched) {
  CameraEnv camera;
  auto system = kel::test::openSystem();
  auto exposure = kel::test::scalarProperty(*system, kExposure);
  BSTR sentinel = reinterpret_cast<BSTR>(0x1);
  BSTR out = sentinel;
  EXPECT_EQ(exposure->GetUnitName(KELLIB3_UNIT_VOLT, &out), E_FAIL);
  EXPECT_EQ(out, sentinel);
  EXPECT_EQ(exposure->GetUnitName(0, &out), E_FAIL) << "unit 0 is never listed";
  LONG unit = -77;
  EXPECT_EQ(exposure->GetUnitId(kel::test::bstr("нет такой").get(), &unit), E_FAIL);
  EXPECT_EQ(exposure->GetUnitId(nullptr, &unit), E_FAIL);
  EXPECT_EQ(unit, -77);
}

}  // namespace
