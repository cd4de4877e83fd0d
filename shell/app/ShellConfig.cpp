#include "shell/app/ShellConfig.h"

#include <system_error>

#include "platform/kernel/private_profile.h"

namespace ShellConfig {

namespace {
constexpr std::size_t kMaxPath = 260;
}

std::filesystem::path IniPathFor(const std::filesystem::path& program) {
  if (program.empty() || !program.has_filename()) return {};
  std::filesystem::path ini = program;
  ini.replace_extension(".ini");
  return ini;
}

std::filesystem::path RunningProgram() {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : self;
}

int Stretch(const std::filesystem::path& ini) { return plat::profileInt(ini, "STRETCH_SEC", "STRETCH", 1); }

int AutoSave(const std::filesystem::path& ini) { return plat::profileInt(ini, "AUTOSAVE_SEC", "AUTOSAVE", 0); }

std::string AutoSavePath(const std::filesystem::path& ini) {
  std::string path = plat::profileString(ini, "AUTOSAVE_SEC", "PATH", "");
  if (path.size() <= kMaxPath) return path;
  // Cut without leaving half a UTF-8 character behind.
  std::size_t end = kMaxPath;
  while (end > 0 && (static_cast<unsigned char>(path[end]) & 0xC0) == 0x80) --end;
  path.resize(end);
  return path;
}

}  // namespace ShellConfig
