#include "platform/kernel/private_profile.h"

#include <cstring>
#include <vector>

#include "platform/kernel/profile_file.h"

namespace plat {
namespace {

// Longest prefix of text that fits in limit bytes without splitting a
// UTF-8 character.
std::size_t fitUtf8(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t n = limit;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return n;
}

DWORD copyValue(std::string_view value, char* buffer, DWORD size) {
  std::size_t n = fitUtf8(value, size - 1);
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

DWORD copyList(const std::vector<std::string>& names, char* buffer, DWORD size) {
  std::string list;
  for (const auto& name : names) {
    list += name;
    list += '\0';
  }
  if (list.size() + 1 <= size) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    return static_cast<DWORD>(list.size());
  }
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  std::size_t n = fitUtf8(list, size - 2);
  std::memcpy(buffer, list.data(), n);
  buffer[n] = '\0';
  buffer[n + 1] = '\0';
  return size - 2;
}

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

}  // namespace

std::uint32_t parseProfileInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  unsigned base = 10;
  if (i + 1 < text.size() && text[i] == '0') {
    char p = text[i + 1];
    base = (p == 'x' || p == 'X') ? 16 : (p == 'o' || p == 'O') ? 8 : (p == 'b' || p == 'B') ? 2 : 10;
    if (base != 10) i += 2;
  }
  std::uint32_t value = 0;
  for (; i < text.size(); ++i) {
    int d = digitValue(text[i]);
    if (d >= static_cast<int>(base)) break;
    value = value * base + static_cast<std::uint32_t>(d);
  }
  return negative ? 0u - value : value;
}

std::string profileString(const std::filesystem::path& file, std::string_view section,
                          std::string_view key, std::string_view defaultValue) {
  auto value = ProfileFile::load(file).value(section, key);
  return value ? *value : std::string(defaultValue);
}

int profileInt(const std::filesystem::path& file, std::string_view section, std::string_view key,
               int defaultValue) {
  auto value = ProfileFile::load(file).value(section, key);
  if (!value || value->empty()) return defaultValue;
  return static_cast<int>(parseProfileInt(*value));
}

}  // namespace plat

UINT GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                           const char* fileName) {
  if (section == nullptr || key == nullptr || fileName == nullptr) {
    return static_cast<UINT>(defaultValue);
  }
  return static_cast<UINT>(plat::profileInt(fileName, section, key, defaultValue));
}

DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                               char* buffer, DWORD size, const char* fileName) {
  if (buffer == nullptr || size == 0) return 0;
  auto profile = fileName == nullptr ? plat::ProfileFile{} : plat::ProfileFile::load(fileName);
  if (section == nullptr) return plat::copyList(profile.sectionNames(), buffer, size);
  if (key == nullptr) return plat::copyList(profile.keyNames(section), buffer, size);
  if (auto value = profile.value(section, key)) return plat::copyValue(*value, buffer, size);
  std::string_view fallback = defaultValue == nullptr ? "" : defaultValue;
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  return plat::copyValue(fallback, buffer, size);
}
