// Text conversions between the in-memory UTF-8, the code page 1251 of the
// stored "ANSI" files, and the UTF-16 of BSTR. Characters the target cannot
// hold, and invalid input, become '?'; nothing here throws on bad text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plat {

std::string utf8ToCp1251(std::string_view utf8);
std::string cp1251ToUtf8(std::string_view cp1251);

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

std::u16string cp1251ToUtf16(std::string_view cp1251);
std::string utf16ToCp1251(std::u16string_view utf16);

// Every line end (LF, CRLF or a lone CR) becomes CRLF.
std::string toCrlf(std::string_view text);

// Lines split at LF or CRLF, without their ends; a final line end does not
// start another, empty line.
std::vector<std::string_view> splitLines(std::string_view text);

}  // namespace plat
