#include "tests/support/temp_env.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace kel::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kelorvo-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

ScopedEnv::ScopedEnv(std::string name, const std::string& value) : name_(std::move(name)) {
  if (const char* v = std::getenv(name_.c_str())) old_ = v;
  setenv(name_.c_str(), value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
  if (old_)
    setenv(name_.c_str(), old_->c_str(), 1);
  else
    unsetenv(name_.c_str());
}

std::filesystem::path binDir() {
  if (const char* v = std::getenv("KELORVO_TEST_BIN")) return v;
  throw std::runtime_error("KELORVO_TEST_BIN is not set (run the tests through ctest)");
}

}  // namespace kel::test
