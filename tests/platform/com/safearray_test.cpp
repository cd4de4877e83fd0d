#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "platform/com/cunknown.h"
#include "platform/com/safearray.h"
#include "platform/com/safearray_holder.h"
#include "platform/com/variant_holder.h"

namespace {

struct Bounds {
  LONG lower;
  LONG upper;
};

Bounds boundsOf(SAFEARRAY* psa, UINT dim) {
  Bounds b{};
  EXPECT_EQ(SafeArrayGetLBound(psa, dim, &b.lower), S_OK);
  EXPECT_EQ(SafeArrayGetUBound(psa, dim, &b.upper), S_OK);
  return b;
}

LONG getLong(SAFEARRAY* psa, const LONG* indices) {
  LONG value = -1;
  EXPECT_EQ(SafeArrayGetElement(psa, indices, &value), S_OK);
  return value;
}

// The table a property object hands out: (rows x 2) VARIANTs, an identifier
// at (i, 0) and its text at (i, 1).
TEST(SafeArray, NameTableOfVariants) {
  const std::vector<std::pair<LONG, std::u16string>> rows{{1, u"нс"}, {2, u"мкс"}, {31, u"к/с"}};
  const SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(rows.size()), 0}, {2, 0}};
  plat::SafeArrayPtr table(SafeArrayCreate(VT_VARIANT, 2, bounds));
  ASSERT_TRUE(table);
  for (LONG i = 0; i < static_cast<LONG>(rows.size()); ++i) {
    plat::Variant id(rows[i].first);
    plat::Variant text(rows[i].second);
    LONG at[2] = {i, 0};
    ASSERT_EQ(SafeArrayPutElement(table.get(), at, const_cast<VARIANT*>(&id.get())), S_OK);
    at[1] = 1;
    ASSERT_EQ(SafeArrayPutElement(table.get(), at, const_cast<VARIANT*>(&text.get())), S_OK);
  }

  EXPECT_EQ(SafeArrayGetDim(table.get()), 2u);
  const Bounds rowBounds = boundsOf(table.get(), 1);
  EXPECT_EQ(rowBounds.lower, 0);
  EXPECT_EQ(rowBounds.upper, 2);
  EXPECT_EQ(boundsOf(table.get(), 2).upper, 1);
  VARTYPE vt = VT_EMPTY;
  ASSERT_EQ(SafeArrayGetVartype(table.get(), &vt), S_OK);
  EXPECT_EQ(vt, VT_VARIANT);

  for (LONG i = rowBounds.lower; i <= rowBounds.upper; ++i) {
    plat::Variant id;
    plat::Variant text;
    LONG at[2] = {i, 0};
    ASSERT_EQ(SafeArrayGetElement(table.get(), at, id.put()), S_OK);
    at[1] = 1;
    ASSERT_EQ(SafeArrayGetElement(table.get(), at, text.put()), S_OK);
    EXPECT_EQ(id.asLong(), rows[i].first);
    EXPECT_EQ(text.asString(), rows[i].second);
  }
}

TEST(SafeArray, ZeroRowsIsAValidEmptyTable) {
  const SAFEARRAYBOUND bounds[2] = {{0, 0}, {2, 0}};
  plat::SafeArrayPtr table(SafeArrayCreate(VT_VARIANT, 2, bounds));
  ASSERT_TRUE(table);
  const Bounds rows = boundsOf(table.get(), 1);
  EXPECT_EQ(rows.lower, 0);
  EXPECT_EQ(rows.upper, -1);
  const LONG at[2] = {0, 0};
  plat::Variant out;
  EXPECT_EQ(SafeArrayGetElement(table.get(), at, out.put()), DISP_E_BADINDEX);
  plat::Variant value(1);
  EXPECT_EQ(SafeArrayPutElement(table.get(), at, const_cast<VARIANT*>(&value.get())), DISP_E_BADINDEX);

  plat::SafeArrayPtr copy;
  SAFEARRAY* raw = nullptr;
  ASSERT_EQ(SafeArrayCopy(table.get(), &raw), S_OK);
  copy.reset(raw);
  EXPECT_EQ(boundsOf(copy.get(), 1).upper, -1);
}

TEST(SafeArray, NonZeroLowerBoundsAddressEveryElementOnce) {
  const SAFEARRAYBOUND bounds[2] = {{3, -2}, {4, 5}};
  plat::SafeArrayPtr psa(SafeArrayCreate(VT_I4, 2, bounds));
  ASSERT_TRUE(psa);
  EXPECT_EQ(boundsOf(psa.get(), 1).lower, -2);
  EXPECT_EQ(boundsOf(psa.get(), 1).upper, 0);
  EXPECT_EQ(boundsOf(psa.get(), 2).lower, 5);
  EXPECT_EQ(boundsOf(psa.get(), 2).upper, 8);

  for (LONG i = -2; i <= 0; ++i) {
    for (LONG j = 5; j <= 8; ++j) {
      const LONG at[2] = {i, j};
      LONG value = i * 100 + j;
      ASSERT_EQ(SafeArrayPutElement(psa.get(), at, &value), S_OK);
    }
  }
  for (LONG i = -2; i <= 0; ++i) {
    for (LONG j = 5; j <= 8; ++j) {
      const LONG at[2] = {i, j};
      EXPECT_EQ(getLong(psa.get(), at), i * 100 + j) << i << "," << j;
    }
  }

  LONG value = 0;
  for (const auto& at : std::vector<std::array<LONG, 2>>{{-3, 5}, {1, 5}, {0, 4}, {0, 9}, {5, -2}}) {
    EXPECT_EQ(SafeArrayGetElement(psa.get(), at.data(), &value), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayPutElement(psa.get(), at.data(), &value), DISP_E_BADINDEX);
  }
}

TEST(SafeArray, ThreeDimensionsLeftMostIndexVariesFastest) {
  const SAFEARRAYBOUND bounds[3] = {{2, 0}, {3, 1}, {4, -1}};
  plat::SafeArrayPtr psa(SafeArrayCreate(VT_I4, 3, bounds));
  ASSERT_TRUE(psa);
  EXPECT_EQ(SafeArrayGetDim(psa.get()), 3u);
  EXPECT_EQ(SafeArrayGetElemsize(psa.get()), 4u);
  EXPECT_EQ(boundsOf(psa.get(), 3).lower, -1);
  EXPECT_EQ(boundsOf(psa.get(), 3).upper, 2);
  // Stored right-most first, as code reading the struct directly expects.
  EXPECT_EQ(psa->rgsabound[0].cElements, 4u);
  EXPECT_EQ(psa->rgsabound[0].lLbound, -1);

  for (LONG i = 0; i < 2; ++i)
    for (LONG j = 1; j < 4; ++j)
      for (LONG k = -1; k < 3; ++k) {
        const LONG at[3] = {i, j, k};
        LONG value = i * 100 + j * 10 + k;
        ASSERT_EQ(SafeArrayPutElement(psa.get(), at, &value), S_OK);
      }
  const auto* data = static_cast<const LONG*>(psa->pvData);
  EXPECT_EQ(data[0], 0 * 100 + 1 * 10 - 1);
  EXPECT_EQ(data[1], 1 * 100 + 1 * 10 - 1);
  EXPECT_EQ(data[2], 0 * 100 + 2 * 10 - 1);
  EXPECT_EQ(data[6], 0 * 100 + 1 * 10 + 0);
  std::set<LONG> distinct(data, data + 24);
  EXPECT_EQ(distinct.size(), 24u);

  const LONG at[3] = {1, 3, 2};
  EXPECT_EQ(getLong(psa.get(), at), 132);
  const LONG outside[3] = {1, 3, 3};
  LONG value = 0;
  EXPECT_EQ(SafeArrayGetElement(psa.get(), outside, &value), DISP_E_BADINDEX);
}

TEST(SafeArray, StringElementsAreCopiedInAndOut) {
  const SAFEARRAYBOUND bound{2, 1};
  plat::SafeArrayPtr psa(SafeArrayCreate(VT_BSTR, 1, &bound));
  ASSERT_TRUE(psa);
  const LONG first = 1;
  const LONG second = 2;
  BSTR text = SysAllocStringLen(u"a\0b", 3);
  ASSERT_EQ(SafeArrayPutElement(psa.get(), &first, text), S_OK);
  ASSERT_EQ(SafeArrayPutElement(psa.get(), &first, text), S_OK);  // replaces, frees the old copy
  SysFreeString(text);
  ASSERT_EQ(SafeArrayPutElement(psa.get(), &second, nullptr), S_OK);

  BSTR out = nullptr;
  ASSERT_EQ(SafeArrayGetElement(psa.get(), &first, &out), S_OK);
  EXPECT_EQ(std::u16string(out, SysStringLen(out)), std::u16string(u"a\0b", 3));
  SysFreeString(out);
  out = SysAllocString(u"overwritten");
  BSTR previous = out;
  ASSERT_EQ(SafeArrayGetElement(psa.get(), &second, &out), S_OK);
  EXPECT_EQ(out, nullptr);
  SysFreeString(previous);
}

TEST(SafeArray, InterfaceElementsHoldReferences) {
  class Counted : public CUnknown {
   public:
    Counted() : CUnknown("Counted", nullptr) {}
    ULONG count() const { return RefCount(); }
  };
  auto* object = new Counted;
  ComPtr<IUnknown> unk(object->GetNonDelegatingUnknown());
  const SAFEARRAYBOUND bound{3, 0};
  SAFEARRAY* psa = SafeArrayCreate(VT_UNKNOWN, 1, &bound);
  ASSERT_NE(psa, nullptr);
  for (LONG i = 0; i < 2; ++i) ASSERT_EQ(SafeArrayPutElement(psa, &i, unk.get()), S_OK);
  EXPECT_EQ(object->count(), 3u);
  IUnknown* out = nullptr;
  const LONG empty = 2;
  ASSERT_EQ(SafeArrayGetElement(psa, &empty, &out), S_OK);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
  EXPECT_EQ(object->count(), 1u);
}

TEST(SafeArray, RejectsBadArguments) {
  const SAFEARRAYBOUND bound{2, 0};
  EXPECT_EQ(SafeArrayCreate(VT_VARIANT, 0, &bound), nullptr);
  EXPECT_EQ(SafeArrayCreate(VT_VARIANT, 1, nullptr), nullptr);
  EXPECT_EQ(SafeArrayCreate(VT_EMPTY, 1, &bound), nullptr);
  EXPECT_EQ(SafeArrayCreate(VT_ARRAY | VT_I4, 1, &bound), nullptr);
  const SAFEARRAYBOUND pastLong{2, 0x7FFFFFFF};
  EXPECT_EQ(SafeArrayCreate(VT_I4, 1, &pastLong), nullptr);
  const SAFEARRAYBOUND belowLong{0, static_cast<LONG>(0x80000000u)};
  EXPECT_EQ(SafeArrayCreate(VT_I4, 1, &belowLong), nullptr);
  const SAFEARRAYBOUND huge[3] = {{0xFFFFFFFFu, 0}, {0xFFFFFFFFu, 0}, {0xFFFFFFFFu, 0}};
  EXPECT_EQ(SafeArrayCreate(VT_VARIANT, 3, huge), nullptr);

  plat::SafeArrayPtr psa(SafeArrayCreate(VT_VARIANT, 1, &bound));
  ASSERT_TRUE(psa);
  LONG lower = 0;
  EXPECT_EQ(SafeArrayGetLBound(psa.get(), 0, &lower), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArrayGetUBound(psa.get(), 2, &lower), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArrayGetLBound(nullptr, 1, &lower), E_INVALIDARG);
  EXPECT_EQ(SafeArrayGetUBound(psa.get(), 1, nullptr), E_INVALIDARG);
  EXPECT_EQ(SafeArrayGetDim(nullptr), 0u);
  VARTYPE vt;
  EXPECT_EQ(SafeArrayGetVartype(nullptr, &vt), E_INVALIDARG);

  const LONG at = 0;
  plat::Variant value(u"kept");
  ASSERT_EQ(SafeArrayPutElement(psa.get(), &at, const_cast<VARIANT*>(&value.get())), S_OK);
  EXPECT_EQ(SafeArrayPutElement(psa.get(), &at, nullptr), E_INVALIDARG);
  EXPECT_EQ(SafeArrayPutElement(nullptr, &at, const_cast<VARIANT*>(&value.get())), E_INVALIDARG);
  EXPECT_EQ(SafeArrayPutElement(psa.get(), nullptr, const_cast<VARIANT*>(&value.get())), E_INVALIDARG);
  VARIANT bad;
  VariantInit(&bad);
  bad.vt = 0x0FFF;
  EXPECT_EQ(SafeArrayPutElement(psa.get(), &at, &bad), DISP_E_BADVARTYPE);
  plat::Variant out;
  EXPECT_EQ(SafeArrayGetElement(psa.get(), &at, nullptr), E_INVALIDARG);
  ASSERT_EQ(SafeArrayGetElement(psa.get(), &at, out.put()), S_OK);
  EXPECT_EQ(out.asString(), u"kept");  // the failed put left the element alone

  EXPECT_EQ(SafeArrayDestroy(nullptr), S_OK);
}

}  // namespace
