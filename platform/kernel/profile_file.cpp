#include "platform/kernel/profile_file.h"

#include <fstream>
#include <iterator>

#include "platform/kernel/text_codec.h"

namespace plat {
namespace {

std::string_view trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view unquote(std::string_view s) {
  if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front()) {
    return s.substr(1, s.size() - 2);
  }
  return s;
}

char16_t foldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
  if (c >= 0x0410 && c <= 0x042F) return static_cast<char16_t>(c + 0x20);  // А-Я
  if (c >= 0x0400 && c <= 0x040F) return static_cast<char16_t>(c + 0x50);  // Ё, Ђ, ...
  return c;
}

std::string decodeFile(std::string_view bytes) {
  static constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
  if (bytes.starts_with(kUtf8Bom)) return std::string(bytes.substr(kUtf8Bom.size()));
  return cp1251ToUtf8(bytes);
}

}  // namespace

bool profileNamesEqual(std::string_view a, std::string_view b) {
  std::u16string wa = utf8ToUtf16(a);
  std::u16string wb = utf8ToUtf16(b);
  if (wa.size() != wb.size()) return false;
  for (std::size_t i = 0; i < wa.size(); ++i) {
    if (foldCase(wa[i]) != foldCase(wb[i])) return false;
  }
  return true;
}

ProfileFile ProfileFile::load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return ProfileFile{};
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return parse(bytes);
}

ProfileFile ProfileFile::parse(std::string_view fileBytes) {
  ProfileFile profile;
  std::string text = decodeFile(fileBytes);
  Section* current = nullptr;
  for (std::string_view raw : splitLines(text)) {
    std::string_view line = trim(raw);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      std::string_view name = line.substr(1);
      name = trim(name.substr(0, name.find(']')));
      profile.sections_.push_back(Section{std::string(name), {}});
      current = &profile.sections_.back();
      continue;
    }
    if (current == nullptr) continue;
    std::size_t eq = line.find('=');
    std::string_view key = trim(line.substr(0, eq));
    std::string_view value = eq == std::string_view::npos ? "" : unquote(trim(line.substr(eq + 1)));
    current->entries.emplace_back(std::string(key), std::string(value));
  }
  return profile;
}

const ProfileFile::Section* ProfileFile::find(std::string_view section) const {
  for (const auto& s : sections_) {
    if (profileNamesEqual(s.name, section)) return &s;
  }
  return nullptr;
}

std::optional<std::string> ProfileFile::value(std::string_view section,
                                              std::string_view key) const {
  const Section* s = find(section);
  if (s == nullptr) return std::nullopt;
  for (const auto& [k, v] : s->entries) {
    if (profileNamesEqual(k, key)) return v;
  }
  return std::nullopt;
}

std::vector<std::string> ProfileFile::sectionNames() const {
  std::vector<std::string> names;
  for (const auto& s : sections_) names.push_back(s.name);
  return names;
}

std::vector<std::string> ProfileFile::keyNames(std::string_view section) const {
  std::vector<std::string> names;
  if (const Section* s = find(section)) {
    for (const auto& entry : s->entries) names.push_back(entry.first);
  }
  return names;
}

}  // namespace plat
