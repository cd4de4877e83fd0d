// The shell's private profile WinKelOrvoShell.ini, next to the program. It
// is read where each value is needed (so edits apply without a restart) and
// never written; a missing file or key gives the built-in default.
#pragma once
#include <filesystem>
#include <string>

namespace ShellConfig {

// The program's file name with its extension, if any, replaced by ".ini",
// in the program's folder: ".../bin/WinKelOrvoShell" gives
// ".../bin/WinKelOrvoShell.ini". A dot in a folder name does not count.
std::filesystem::path IniPathFor(const std::filesystem::path& program);

// The running program's own file (empty when it cannot be found).
std::filesystem::path RunningProgram();

// "STRETCH_SEC" / "STRETCH", default 1: stretch the picture by decimation.
int Stretch(const std::filesystem::path& ini);
// "AUTOSAVE_SEC" / "AUTOSAVE", default 0.
int AutoSave(const std::filesystem::path& ini);
// "AUTOSAVE_SEC" / "PATH", default empty, at most 260 characters.
std::string AutoSavePath(const std::filesystem::path& ini);

}  // namespace ShellConfig
