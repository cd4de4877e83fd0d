#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/com/bstr.h"
#include "platform/com/bstr_holder.h"

namespace {

std::uint32_t storedByteLength(BSTR b) {
  std::uint32_t n;
  std::memcpy(&n, reinterpret_cast<const char*>(b) - 4, 4);
  return n;
}

TEST(Bstr, LengthPrefixedAndZeroTerminated) {
  BSTR b = SysAllocString(u"Камера");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(SysStringLen(b), 6u);
  EXPECT_EQ(SysStringByteLen(b), 12u);
  EXPECT_EQ(storedByteLength(b), 12u);
  EXPECT_EQ(b[6], u'\0');
  EXPECT_EQ(std::u16string(b), u"Камера");
  SysFreeString(b);
}

TEST(Bstr, KeepsEmbeddedZeros) {
  const char16_t text[] = {u'a', 0, u'b', 0, 0};
  BSTR b = SysAllocStringLen(text, 4);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(SysStringLen(b), 4u);
  EXPECT_EQ(std::u16string(b, SysStringLen(b)), std::u16string(text, 4));

  plat::Bstr held = plat::Bstr::attach(b);
  plat::Bstr copy = held;
  EXPECT_NE(copy.get(), held.get());
  EXPECT_EQ(copy.view(), std::u16string_view(text, 4));
  EXPECT_EQ(copy.length(), 4u);
}

TEST(Bstr, NullIsTheEmptyString) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);

  plat::Bstr none;
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(none.str(), u"");
  plat::Bstr copyOfNone = none;
  EXPECT_EQ(copyOfNone.get(), nullptr);

  // An empty string is allocated, not null: callers may hand it out as "".
  plat::Bstr empty{std::u16string_view()};
  ASSERT_NE(empty.get(), nullptr);
  EXPECT_EQ(empty.length(), 0u);
  EXPECT_EQ(empty.get()[0], u'\0');
}

TEST(Bstr, ImpossibleSizeFailsWithNull) {
  EXPECT_EQ(SysAllocStringLen(u"", 0xFFFFFFFFu), nullptr);
  EXPECT_EQ(SysAllocStringLen(nullptr, 0x7FFFFFFFu), nullptr);
}

TEST(Bstr, ReAllocFromItsOwnCharacters) {
  BSTR b = SysAllocString(u"prefix-tail");
  ASSERT_TRUE(SysReAllocString(&b, b + 7));
  EXPECT_EQ(std::u16string(b, SysStringLen(b)), u"tail");
  ASSERT_TRUE(SysReAllocStringLen(&b, b + 1, 2));
  EXPECT_EQ(std::u16string(b, SysStringLen(b)), u"ai");
  ASSERT_TRUE(SysReAllocString(&b, nullptr));
  EXPECT_EQ(SysStringLen(b), 0u);
  SysFreeString(b);

  EXPECT_FALSE(SysReAllocString(nullptr, u"x"));
  BSTR kept = SysAllocString(u"kept");
  EXPECT_FALSE(SysReAllocStringLen(&kept, u"", 0xFFFFFFFFu));
  EXPECT_EQ(std::u16string(kept), u"kept");
  SysFreeString(kept);
}

TEST(Bstr, HolderPutFreesThePreviousString) {
  plat::Bstr holder{u"first"};
  BSTR* slot = holder.put();
  EXPECT_EQ(*slot, nullptr);
  *slot = SysAllocString(u"second");
  EXPECT_EQ(holder.str(), u"second");

}

}  // namespace
