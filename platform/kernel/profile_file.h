// A parsed private profile (INI) file: sections of key = value lines.
//
// Reading rules, those of the private-profile calls this stands in for:
// - the file is code page 1251 (UTF-8 when it starts with a UTF-8 byte
//   order mark); every text comes back as UTF-8;
// - CRLF and LF line ends; blanks around names, keys and values are trimmed;
// - a line starting with ';' is a comment; a ';' later in a line is part of
//   the value;
// - "[name]" opens a section (text after ']' is ignored; without ']' the
//   rest of the line is the name); lines before the first section are
//   ignored;
// - "key = value" splits at the first '='; a line without '=' is a key with
//   an empty value; a value wholly enclosed in matching ' or " loses them;
// - section and key names compare case-insensitively (Latin and Cyrillic
//   letters); with duplicates, the first section and the first key win.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plat {

class ProfileFile {
 public:
  // A missing or unreadable file gives an empty profile, so every lookup
  // falls back to its default, as the callers expect.
  static ProfileFile load(const std::filesystem::path& file);
  static ProfileFile parse(std::string_view fileBytes);

  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  std::vector<std::string> sectionNames() const;
  // Keys of the section in file order; empty when there is no such section.
  std::vector<std::string> keyNames(std::string_view section) const;

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
  };

  const Section* find(std::string_view section) const;

  std::vector<Section> sections_;
};

// Case-insensitive equality of two UTF-8 names (Latin and Cyrillic).
bool profileNamesEqual(std::string_view a, std::string_view b);

}  // namespace plat
