#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/com/cunknown.h"
#include "platform/com/safearray.h"
#include "platform/com/variant.h"
#include "platform/com/variant_holder.h"

namespace {

class Counted : public CUnknown {
 public:
  Counted() : CUnknown("Counted", nullptr) {}
  ULONG count() const { return RefCount(); }
};

VARIANT bstrVariant(std::u16string_view text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return v;
}

std::u16string textOf(const VARIANT& v) { return {v.bstrVal, SysStringLen(v.bstrVal)}; }

TEST(Variant, CopyDuplicatesTheStringAndClearFreesIt) {
  VARIANT src = bstrVariant(std::u16string_view(u"x\0y", 3));
  VARIANT dest = bstrVariant(u"overwritten and freed");
  ASSERT_EQ(VariantCopy(&dest, &src), S_OK);
  EXPECT_EQ(dest.vt, VT_BSTR);
  EXPECT_NE(dest.bstrVal, src.bstrVal);
  EXPECT_EQ(textOf(dest), std::u16string(u"x\0y", 3));

  EXPECT_EQ(VariantCopy(&dest, &dest), S_OK);  // a self copy leaves it intact
  EXPECT_EQ(textOf(dest), std::u16string(u"x\0y", 3));

  EXPECT_EQ(VariantClear(&src), S_OK);
  EXPECT_EQ(src.vt, VT_EMPTY);
  EXPECT_EQ(textOf(dest), std::u16string(u"x\0y", 3));
  EXPECT_EQ(VariantClear(&dest), S_OK);
  EXPECT_EQ(VariantClear(&dest), S_OK);  // clearing an empty one is harmless
}

TEST(Variant, InterfacesAreReferencedAndReleased) {
  auto* object = new Counted;
  ComPtr<IUnknown> unk(object->GetNonDelegatingUnknown());
  VARIANT a;
  VariantInit(&a);
  a.vt = VT_UNKNOWN;
  a.punkVal = unk.get();
  unk->AddRef();
  VARIANT b;
  VariantInit(&b);
  ASSERT_EQ(VariantCopy(&b, &a), S_OK);
  EXPECT_EQ(object->count(), 3u);
  EXPECT_EQ(VariantClear(&a), S_OK);
  EXPECT_EQ(VariantClear(&b), S_OK);
  EXPECT_EQ(object->count(), 1u);
}

TEST(Variant, BadTagsAndNullArguments) {
  VARIANT bad;
  VariantInit(&bad);
  bad.vt = 0x0FFF;
  EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
  EXPECT_EQ(bad.vt, 0x0FFF);  // left as it was: we cannot know what it owns

  VARIANT dest = bstrVariant(u"kept");
  EXPECT_EQ(VariantCopy(&dest, &bad), DISP_E_BADVARTYPE);
  EXPECT_EQ(textOf(dest), u"kept");
  bad.vt = VT_VARIANT;  // only meaningful by reference or in an array
  EXPECT_EQ(VariantCopy(&dest, &bad), DISP_E_BADVARTYPE);

  EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
  EXPECT_EQ(VariantCopy(nullptr, &dest), E_INVALIDARG);
  EXPECT_EQ(VariantCopy(&dest, nullptr), E_INVALIDARG);
  VariantInit(nullptr);
  EXPECT_EQ(VariantClear(&dest), S_OK);
}

TEST(Variant, ArraysAreCopiedDeeply) {
  SAFEARRAYBOUND bound{2, 0};
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_ARRAY | VT_BSTR;
  v.parray = SafeArrayCreate(VT_BSTR, 1, &bound);
  ASSERT_NE(v.parray, nullptr);
  LONG index = 1;
  BSTR text = SysAllocString(u"row");
  ASSERT_EQ(SafeArrayPutElement(v.parray, &index, text), S_OK);
  SysFreeString(text);

  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(VariantCopy(&copy, &v), S_OK);
  EXPECT_EQ(copy.vt, VT_ARRAY | VT_BSTR);
  EXPECT_NE(copy.parray, v.parray);
  EXPECT_EQ(VariantClear(&v), S_OK);

  BSTR out = nullptr;
  ASSERT_EQ(SafeArrayGetElement(copy.parray, &index, &out), S_OK);
  EXPECT_EQ(std::u16string(out), u"row");
  SysFreeString(out);
  EXPECT_EQ(VariantClear(&copy), S_OK);
}

TEST(VariantHolder, ValuesCopiesAndOutParameters) {
  plat::Variant number(42);
  EXPECT_EQ(number.type(), VT_I4);
  EXPECT_EQ(number.asLong(), 42);
  EXPECT_FALSE(number.asString());

  plat::Variant name(u"Усиление");
  plat::Variant copy = name;
  EXPECT_NE(copy.get().bstrVal, name.get().bstrVal);
  EXPECT_EQ(copy.asString(), u"Усиление");
  EXPECT_FALSE(copy.asLong());

  // put() frees the old string before the callee fills the slot.
  VARIANT* slot = copy.put();
  EXPECT_EQ(slot->vt, VT_EMPTY);
  *slot = bstrVariant(u"filled");
  EXPECT_EQ(copy.asString(), u"filled");

  plat::Variant moved = std::move(copy);
  EXPECT_EQ(copy.type(), VT_EMPTY);
  VARIANT raw = moved.detach();
  EXPECT_EQ(moved.type(), VT_EMPTY);
  plat::Variant back = plat::Variant::attach(raw);
  EXPECT_EQ(raw.vt, VT_EMPTY);
  EXPECT_EQ(back.asString(), u"filled");
}

TEST(VariantHolder, CopyOfABadTagThrows) {
  VARIANT raw;
  VariantInit(&raw);
  raw.vt = 0x0FFF;
  plat::Variant bad = plat::Variant::attach(raw);
  EXPECT_THROW(plat::Variant{bad}, std::invalid_argument);
}

}  // namespace
