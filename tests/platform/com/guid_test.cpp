#include <gtest/gtest.h>

#include <string>
#include <unordered_set>

#include "platform/com/guid.h"

namespace {

constexpr GUID kSample{0x829C7176, 0x54AC, 0x499F, {0xB4, 0x95, 0xA5, 0x6B, 0x92, 0x5A, 0x49, 0x4C}};

TEST(Guid, FormatsRegistryFormWithUpperCaseHexInFieldOrder) {
  EXPECT_EQ(plat::guidToString(kSample), "{829C7176-54AC-499F-B495-A56B925A494C}");
  EXPECT_EQ(plat::guidToString(GUID_NULL), "{00000000-0000-0000-0000-000000000000}");
}

TEST(Guid, ParsesEitherCaseAndRoundTrips) {
  EXPECT_EQ(plat::parseGuid("{829c7176-54ac-499f-b495-a56b925a494c}"), kSample);
  EXPECT_EQ(plat::parseGuid("{829C7176-54aC-499F-B495-A56b925A494C}"), kSample);

  // Every byte position with values that expose nibble or byte swaps.
  for (int i = 0; i < 16; ++i) {
    GUID g{};
    g.Data1 = 0x01020304u * static_cast<unsigned>(i + 1);
    g.Data2 = static_cast<std::uint16_t>(0xF00F ^ i);
    g.Data3 = static_cast<std::uint16_t>(0x0FF0 + i);
    for (int b = 0; b < 8; ++b) g.Data4[b] = static_cast<std::uint8_t>(0x1F * (b + i));
    const auto back = plat::parseGuid(plat::guidToString(g));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, g) << plat::guidToString(g);
  }
}

TEST(Guid, RejectsMalformedText) {
  const std::string good = "{829C7176-54AC-499F-B495-A56B925A494C}";
  ASSERT_TRUE(plat::parseGuid(good));
  for (const std::string& bad : {
           std::string(),
           std::string("829C7176-54AC-499F-B495-A56B925A494C"),    // no braces
           std::string("{829C7176-54AC-499F-B495-A56B925A494C"),   // no closing brace
           std::string("{829C7176-54AC-499F-B495-A56B925A494}"),   // one digit short
           std::string("{829C7176-54AC-499F-B495-A56B925A494CC}"), // one digit long
           std::string("{829C717654AC-499F-B495-A56B925A494C0}"),  // dash moved
           std::string("{829C7176-54AC-499F-B495-A56B925A494G}"),  // not hex
           std::string(" {829C7176-54AC-499F-B495-A56B925A494C}"), // leading blank
           std::string("{829C7176-54AC-499F-B495-A56B925A494C} "), // trailing blank
           std::string("{+29C7176-54AC-499F-B495-A56B925A494C}"),  // sign
       }) {
    EXPECT_FALSE(plat::parseGuid(bad).has_value()) << "'" << bad << "'";
  }
}

TEST(Guid, HashSeparatesGuidsDifferingInAnyByte) {
  std::unordered_set<GUID> set{kSample};
  for (int byte = 0; byte < 16; ++byte) {
    GUID g = kSample;
    auto* raw = reinterpret_cast<std::uint8_t*>(&g);
    raw[byte] ^= 0x01;
    set.insert(g);
    EXPECT_NE(std::hash<GUID>{}(g), std::hash<GUID>{}(kSample)) << "byte " << byte;
  }
  EXPECT_EQ(set.size(), 17u);
  EXPECT_EQ(set.count(*plat::parseGuid("{829c7176-54ac-499f-b495-a56b925a494c}")), 1u);
}

}  // namespace
