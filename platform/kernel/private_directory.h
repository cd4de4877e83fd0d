// Folders that hold per-user runtime files (locks, saved controller state):
// whatever this code creates is the owner's alone, as a runtime folder must
// be. Header-only so that the hardware library, which links nothing of the
// platform, uses the same rule.
#pragma once

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace plat {

// Creates `dir` and each missing parent with mode 0700; folders that already
// exist are left as they are.
inline std::error_code createPrivateDirectories(const std::filesystem::path& dir) {
  std::error_code ec;
  if (dir.empty() || std::filesystem::is_directory(dir, ec)) return {};
  const auto parent = dir.parent_path();
  if (parent != dir) {
    if (const auto failed = createPrivateDirectories(parent)) return failed;
  }
  if (::mkdir(dir.c_str(), 0700) != 0) {
    const int error = errno;
    if (error == EEXIST && std::filesystem::is_directory(dir, ec)) return {};  // made by a racing creator
    return {error, std::generic_category()};
  }
  // The umask may only take bits away, but the mode must be exactly this.
  if (::chmod(dir.c_str(), 0700) != 0) return {errno, std::generic_category()};
  return {};
}

}  // namespace plat
