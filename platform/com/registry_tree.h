// The in-memory class registry: a tree of keys, each holding named values
// (the name "" is the key's default value), and its text form on disk.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace plat {

// Key and value names compare without regard to ASCII case, as the class
// registry always has; the spelling first written is the one kept.
struct CaseInsensitiveLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

using RegValue = std::variant<std::string, std::uint32_t>;

struct RegKey {
  std::map<std::string, RegValue, CaseInsensitiveLess> values;
  std::map<std::string, RegKey, CaseInsensitiveLess> subkeys;

  bool operator==(const RegKey&) const = default;
};

// Splits "CLSID\{...}\InprocServer32" into its key names. Returns nothing
// when the path is empty or a name is empty or holds a control character.
std::optional<std::vector<std::string>> splitKeyPath(std::string_view path);

const RegKey* findKey(const RegKey& root, const std::vector<std::string>& names);
RegKey* findKey(RegKey& root, const std::vector<std::string>& names);
RegKey& createKey(RegKey& root, const std::vector<std::string>& names);
// Removes the key with all its subkeys; false when it did not exist.
bool deleteKey(RegKey& root, const std::vector<std::string>& names);
// After a removal: drops the now empty keys above `names`, but never the
// top-level keys, which stand for the registry's fixed roots.
void pruneEmptyParents(RegKey& root, const std::vector<std::string>& names);

// Text form: "[key\path]" section lines, then `@="default"`, `"name"="text"`
// or `"name"=dword:0000abcd` lines; ';' starts a comment line. Inside quotes
// \\ \" \n \r \t and \xHH are the escapes; other bytes (UTF-8) stand as they are.
std::string serializeRegistry(const RegKey& root);

struct RegParseError {
  int line = 0;
  std::string message;
};
// Replaces `out` with the parsed tree, or fills `error` and returns false.
bool parseRegistry(std::string_view text, RegKey& out, RegParseError& error);

}  // namespace plat
