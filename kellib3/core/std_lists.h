// The library's standard lists: error texts (1), options (2), units (3),
// enumerated values (4) and information items (12), each as (text, id)
// entries. Handles name a list in one encoding; texts live for the process.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "kellib3/core/text_codec.h"

namespace kellib3 {

inline constexpr std::uint32_t kListErrors = 1;
inline constexpr std::uint32_t kListOptions = 2;
inline constexpr std::uint32_t kListUnits = 3;
inline constexpr std::uint32_t kListValues = 4;
inline constexpr std::uint32_t kListInfo = 12;

struct ListEntry {
  const char* text;
  std::int32_t id;
};

// 0 for an unknown list or encoding.
std::uint32_t listHandle(std::uint32_t list, TextEncoding encoding);

// Entry `position` of the list named by `handle`, texts in its encoding.
std::optional<ListEntry> listEntry(std::uint32_t handle, std::uint32_t position);
std::optional<ListEntry> listFind(std::uint32_t handle, std::int32_t id);

// The UTF-8 text of an entry, or empty when the list has no such id.
std::string_view listText(std::uint32_t list, std::int32_t id);

}  // namespace kellib3
