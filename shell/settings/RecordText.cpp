#include "shell/settings/RecordText.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace Sett::Record {

std::vector<std::string_view> Split(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find(kSeparator, start);
    if (end == std::string_view::npos) {
      fields.push_back(text.substr(start));
      break;
    }
    fields.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

std::string_view Field(const std::vector<std::string_view>& fields, std::size_t i) {
  return i < fields.size() ? fields[i] : std::string_view{};
}

namespace {
constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
}  // namespace

std::int32_t Number(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && std::isspace(static_cast<unsigned char>(field[i]))) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
  std::int64_t magnitude = 0;
  for (; i < field.size() && std::isdigit(static_cast<unsigned char>(field[i])); ++i)
    magnitude = std::min(kLimit, magnitude * 10 + (field[i] - '0'));
  const std::int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
  return static_cast<std::int32_t>(value);
}

bool IsNumber(std::string_view field) {
  std::size_t i = (!field.empty() && (field[0] == '-' || field[0] == '+')) ? 1 : 0;
  if (i == field.size() || field.size() - i > 10) return false;
  for (std::size_t k = i; k < field.size(); ++k)
    if (!std::isdigit(static_cast<unsigned char>(field[k]))) return false;
  const std::int64_t magnitude = std::stoll(std::string(field.substr(i)));
  return field[0] == '-' ? magnitude <= kLimit : magnitude < kLimit;
}

std::string WithoutLineFeeds(std::string_view text) {
  std::string out(text);
  std::erase(out, '\n');
  return out;
}

std::string Join(std::initializer_list<std::string_view> fields) {
  std::string out;
  bool first = true;
  for (std::string_view f : fields) {
    if (!first) out += kSeparator;
    first = false;
    out += f;
  }
  return out;
}

std::size_t SeparatorCount(std::string_view text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), kSeparator));
}

std::string_view After(std::string_view text, std::size_t n) {
  std::size_t pos = 0;
  for (std::size_t k = 0; k < n; ++k) {
    pos = text.find(kSeparator, pos);
    if (pos == std::string_view::npos) return {};
    ++pos;
  }
  return text.substr(pos);
}

}  // namespace Sett::Record
