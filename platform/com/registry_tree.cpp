#include "platform/com/registry_tree.h"

#include <algorithm>

namespace plat {

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool validKeyName(std::string_view name) {
  if (name.empty()) return false;
  return std::none_of(name.begin(), name.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

}  // namespace

bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) {
                                        return static_cast<unsigned char>(lowerAscii(x)) <
                                               static_cast<unsigned char>(lowerAscii(y));
                                      });
}

std::optional<std::vector<std::string>> splitKeyPath(std::string_view path) {
  std::vector<std::string> names;
  if (path.empty()) return std::nullopt;
  std::size_t start = 0;
  while (true) {
    std::size_t end = path.find('\\', start);
    std::string_view name = path.substr(start, end == std::string_view::npos ? end : end - start);
    if (!validKeyName(name)) return std::nullopt;
    names.emplace_back(name);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return names;
}

const RegKey* findKey(const RegKey& root, const std::vector<std::string>& names) {
  const RegKey* key = &root;
  for (const auto& name : names) {
    auto it = key->subkeys.find(name);
    if (it == key->subkeys.end()) return nullptr;
    key = &it->second;
  }
  return key;
}

RegKey* findKey(RegKey& root, const std::vector<std::string>& names) {
  return const_cast<RegKey*>(findKey(static_cast<const RegKey&>(root), names));
}

RegKey& createKey(RegKey& root, const std::vector<std::string>& names) {
  RegKey* key = &root;
  for (const auto& name : names) key = &key->subkeys[name];
  return *key;
}

bool deleteKey(RegKey& root, const std::vector<std::string>& names) {
  if (names.empty()) return false;
  RegKey* parent = findKey(root, std::vector<std::string>(names.begin(), names.end() - 1));
  return parent && parent->subkeys.erase(names.back()) > 0;
}

void pruneEmptyParents(RegKey& root, const std::vector<std::string>& names) {
  std::vector<std::string> path(names.begin(), names.end());
  while (path.size() > 2) {
    path.pop_back();
    const RegKey* key = findKey(root, path);
    if (!key) continue;
    if (!key->values.empty() || !key->subkeys.empty()) return;
    deleteKey(root, path);
  }
}

}  // namespace plat
