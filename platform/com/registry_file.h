// The class registry's file: loading it, and changing it so that neither a
// crash nor another process writing at the same time ever tears the file or
// loses a change.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "platform/com/registry_tree.h"
#include "platform/com/types.h"

namespace plat {

// $KELORVO_REGISTRY when set, else $XDG_CONFIG_HOME/kelorvo/registry
// (~/.config/kelorvo/registry when XDG_CONFIG_HOME is unset).
std::filesystem::path userRegistryPath();

class RegistryFile {
 public:
  explicit RegistryFile(std::filesystem::path path) : path_(std::move(path)) {}

  const std::filesystem::path& path() const { return path_; }

  // A missing file is an empty registry. A corrupt one gives
  // REGDB_E_READREGDB and a text naming the file and the line.
  HRESULT load(RegKey& out, std::string& error) const;

  // Under an exclusive lock (a side file "<name>.lock"): re-reads the file,
  // runs `edit`, and when the tree changed writes a temporary file in the
  // same folder, syncs it and renames it over the registry. A failing
  // `edit` leaves the file as it was and its HRESULT is returned.
  using Edit = std::function<HRESULT(RegKey&, std::string& error)>;
  HRESULT update(const Edit& edit, std::string& error) const;

 private:
  HRESULT writeAtomically(const RegKey& tree, std::string& error) const;

  std::filesystem::path path_;
};

}  // namespace plat
