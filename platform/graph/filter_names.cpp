#include "platform/graph/filter_names.h"

#include <cstdio>

#include "platform/dshow/media_types.h"

namespace plat {

namespace {

// Room for the characters of a name; the last slot of achName is its zero.
constexpr std::size_t kMaxChars = MAX_FILTER_NAME - 1;
constexpr int kMaxSuffix = 9999;

std::u16string suffixed(std::u16string_view base, int n) {
  char digits[8];
  std::snprintf(digits, sizeof digits, " %04d", n);
  std::u16string suffix;
  for (const char* p = digits; *p; ++p) suffix.push_back(static_cast<char16_t>(*p));
  std::u16string name(base.substr(0, kMaxChars - suffix.size()));
  return name + suffix;
}

}  // namespace

std::optional<std::u16string> uniqueFilterName(std::u16string_view wanted,
                                               const std::function<bool(std::u16string_view)>& taken) {
  const std::u16string_view base = wanted.substr(0, kMaxChars);
  if (!taken(base)) return std::u16string(base);
  for (int n = 1; n <= kMaxSuffix; ++n) {
    std::u16string name = suffixed(base, n);
    if (!taken(name)) return name;
  }
  return std::nullopt;
}

}  // namespace plat
