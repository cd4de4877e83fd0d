#include "shell/app/save_name.h"

std::optional<std::string> NormalizeSaveFileName(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  const std::size_t fileStart = slash == std::string::npos ? 0 : slash + 1;
  if (fileStart >= name.size() || name[fileStart] == '.') return std::nullopt;
  // Only the file-name part is cut: "data.2/film" keeps its folder.
  const std::size_t dot = name.find('.', fileStart);
  return name.substr(0, dot) + ".avi";
}
