// The library keeps its texts in UTF-8 and hands them out in the encoding the
// caller's list asks for: CP1251 (the ANSI code page of a Russian system) or UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace kellib3 {

enum class TextEncoding { Utf8 = 1, Cp1251 = 2 };

// Characters CP1251 cannot hold become '?'.
std::string utf8ToCp1251(std::string_view utf8);

std::string encodeText(std::string_view utf8, TextEncoding encoding);

}  // namespace kellib3
