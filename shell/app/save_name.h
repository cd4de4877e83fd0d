// The save dialog's rule for a film's file name, shared by the shell and the
// command-line host: the extension of the file-name part is replaced by
// ".avi" (everything from its first "." on), folders keep their dots.
#pragma once
#include <optional>
#include <string>

// Shown when a name is refused.
inline constexpr const char* kBadFileNameText = "Некорректное имя файла";

// The name to save under, or nothing when the name is refused: empty, a
// folder without a file name ("dir/"), or a file name that starts with its
// dot (".avi", "dir/.avi").
std::optional<std::string> NormalizeSaveFileName(const std::string& name);
