// The private-profile reading calls, over ProfileFile. Texts in and out are
// UTF-8; the file is read afresh on every call, as the shell expects to see
// edits without restarting.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/kernel/handle.h"

// The value as an integer: leading blanks, one optional sign, then digits
// read until the first non-digit ("12abc" is 12, "abc" is 0). A "0x", "0o"
// or "0b" prefix selects base 16, 8 or 2. Arithmetic wraps at 32 bits and a
// negative value comes back as its two's complement ("-1" is 0xFFFFFFFF).
// A missing key, or one with an empty value, gives the default.
UINT GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                           const char* fileName);

// Copies the value (or the default; a null default is empty, and trailing
// blanks of the default are dropped) into the buffer, cut to size - 1 bytes
// and zero-terminated; never leaves half a UTF-8 character. Returns the
// number of bytes copied, without the zero.
// A null key lists the section's keys, a null section lists the sections:
// each name zero-terminated, the list ended by another zero. A list that
// does not fit is cut, ended by two zeros, and size - 2 is returned.
DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                               char* buffer, DWORD size, const char* fileName);

namespace plat {

std::string profileString(const std::filesystem::path& file, std::string_view section,
                          std::string_view key, std::string_view defaultValue);
int profileInt(const std::filesystem::path& file, std::string_view section, std::string_view key,
               int defaultValue);

// The integer rule of GetPrivateProfileIntA applied to a text.
std::uint32_t parseProfileInt(std::string_view text);

}  // namespace plat
