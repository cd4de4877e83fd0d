// The record text of one setting: fields separated by ";" with no spaces,
// numbers in signed decimal. The same text is a line of a preset file.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace Sett::Record {

inline constexpr char kSeparator = ';';

// Fields in order. Two adjacent separators give an empty field; a separator
// at the very end adds none.
std::vector<std::string_view> Split(std::string_view text);

// Field `i`, or "" when the record is shorter.
std::string_view Field(const std::vector<std::string_view>& fields, std::size_t i);

// Leading decimal number as the C library reads it: stops at the first
// non-digit, 0 for an empty or non-numeric field, clamped to 32 bits.
std::int32_t Number(std::string_view field);

// Whether the whole field is one signed decimal number within 32 bits.
bool IsNumber(std::string_view field);

std::string WithoutLineFeeds(std::string_view text);

std::string Join(std::initializer_list<std::string_view> fields);

// How many separators the text holds.
std::size_t SeparatorCount(std::string_view text);

// The text after separator number `n` (1-based), or "" when there is none.
std::string_view After(std::string_view text, std::size_t n);

}  // namespace Sett::Record
