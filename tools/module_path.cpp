#include "tools/module_path.h"

#include <system_error>

namespace kelorvo {

std::filesystem::path captureModulePath() {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  const fs::path dir = ec ? fs::current_path() : program.parent_path();
  const fs::path beside = dir / "kelorvomt.ax";
  if (fs::exists(beside, ec)) return beside;
  for (const char* lib : {"lib", "lib64", "lib/x86_64-linux-gnu"}) {
    const fs::path installed = dir.parent_path() / lib / "kelorvomt.ax";
    if (fs::exists(installed, ec)) return fs::weakly_canonical(installed, ec);
  }
  return beside;
}

}  // namespace kelorvo
