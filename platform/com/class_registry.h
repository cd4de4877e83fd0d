// The class registry that stands in for HKEY_CLASSES_ROOT: one per-user
// text file shared by every process of the user. Every call reads the file
// afresh, and every change is one atomic, locked rewrite of it.
//
// Key paths use backslashes: "CLSID\{...}\InprocServer32". The value name
// "" is a key's default value. Failures return an HRESULT and leave their
// reason in lastRegistryError().
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/registry_file.h"
#include "platform/com/registry_tree.h"
#include "platform/com/types.h"

inline constexpr HRESULT REGDB_E_KEYMISSING = kelHresult(0x80040152);

namespace plat {

class ClassRegistry {
 public:
  explicit ClassRegistry(std::filesystem::path file) : file_(std::move(file)) {}
  // The user's registry, as named by the environment at the time of the call.
  static ClassRegistry user() { return ClassRegistry(userRegistryPath()); }

  const std::filesystem::path& path() const { return file_.path(); }

  // Reading. A missing key or value gives REGDB_E_KEYMISSING; a value of
  // the other kind DISP_E_TYPEMISMATCH.
  HRESULT snapshot(RegKey& out) const;
  HRESULT keyExists(std::string_view key) const;  // S_OK or S_FALSE
  HRESULT getValue(std::string_view key, std::string_view name, RegValue& out) const;
  HRESULT getString(std::string_view key, std::string_view name, std::string& out) const;
  HRESULT getDword(std::string_view key, std::string_view name, std::uint32_t& out) const;
  HRESULT subkeys(std::string_view key, std::vector<std::string>& out) const;

  // Writing; the keys above a new key are created as needed.
  HRESULT createKey(std::string_view key);
  HRESULT setValue(std::string_view key, std::string_view name, RegValue value);
  HRESULT deleteValue(std::string_view key, std::string_view name);
  // S_FALSE when the key did not exist.
  HRESULT deleteTree(std::string_view key);
  // Several changes as one atomic rewrite.
  HRESULT update(const RegistryFile::Edit& edit);

 private:
  HRESULT findForRead(std::string_view key, RegKey& tree, const RegKey*& found) const;

  RegistryFile file_;
};

// The reason for the calling thread's last failed registry call.
const std::string& lastRegistryError();

}  // namespace plat
