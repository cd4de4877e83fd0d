// GUIDs in their registry text form, "{829C7176-54AC-499F-B495-A56B925A494C}",
// and hashing so that GUIDs can key unordered containers.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/com/types.h"

namespace plat {

// Upper-case hex digits in braces, 38 characters.
std::string guidToString(const GUID& guid);

// Accepts exactly the braced form written by guidToString, hex digits in
// either case. Anything else (missing braces or dashes, wrong length, a
// non-hex digit, surrounding blanks) gives nullopt, never a zero GUID.
std::optional<GUID> parseGuid(std::string_view text);

}  // namespace plat

template <>
struct std::hash<GUID> {
  std::size_t operator()(const GUID& guid) const noexcept;
};
