#include <gtest/gtest.h>

#include <set>

#include "platform/dshow/media_types.h"
#include "platform/graph/filter_names.h"

namespace {

struct Names {
  std::set<std::u16string> taken;
  bool operator()(std::u16string_view n) const { return taken.count(std::u16string(n)) != 0; }
};

TEST(FilterNames, DuplicatesGetTheFirstFreeFourDigitSuffix) {
  Names names;
  EXPECT_EQ(plat::uniqueFilterName(u"Renderer", names), u"Renderer");
  names.taken = {u"Renderer"};
  EXPECT_EQ(plat::uniqueFilterName(u"Renderer", names), u"Renderer 0001");
  names.taken = {u"Renderer", u"Renderer 0001", u"Renderer 0003"};
  EXPECT_EQ(plat::uniqueFilterName(u"Renderer", names), u"Renderer 0002");
}

TEST(FilterNames, LongNamesAreCutSoTheSuffixedNameStillFits) {
  const std::u16string longName(200, u'x');
  Names names;
  const auto plain = plat::uniqueFilterName(longName, names);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->size(), MAX_FILTER_NAME - 1);
  names.taken = {*plain};
  const auto suffixed = plat::uniqueFilterName(longName, names);
  ASSERT_TRUE(suffixed);
  EXPECT_EQ(suffixed->size(), MAX_FILTER_NAME - 1);
  EXPECT_EQ(suffixed->substr(suffixed->size() - 5), u" 0001");
}

TEST(FilterNames, NoNameWhenEverySuffixIsTaken) {
  auto allTaken = [](std::u16string_view) { return true; };
  EXPECT_FALSE(plat::uniqueFilterName(u"Camera", allTaken));
}

}  // namespace
