// Test helpers: a temporary folder removed at the end of the test, and an
// environment variable set for the test's scope only.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kel::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

class ScopedEnv {
 public:
  ScopedEnv(std::string name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

// Folder of the built programs and modules (bin/ of the build tree).
std::filesystem::path binDir();

}  // namespace kel::test
