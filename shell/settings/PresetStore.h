// The preset files: one text file per preset in the preset folder, named
// exactly as the preset, holding one record text per line in code page 1251
// with CRLF line ends (read with CRLF or LF). Texts in memory are UTF-8.
// Operations report failure with false and keep the reason as a text.
#pragma once
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Sett {

// How many names the preset menus and the preset list dialog ask for.
inline constexpr std::size_t kMenuPresets = 5;
inline constexpr std::size_t kListedPresets = 1000;

// Shown when a name would leave the preset folder.
inline constexpr const char* kBadPresetNameText =
    "Недопустимое имя набора: имя не может быть \".\" или \"..\" и не может содержать символы \"/\" и \"\\\"";
inline constexpr const char* kEmptyPresetNameText = "Необходимо ввести имя набора";

class PresetStore {
 public:
  explicit PresetStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

  // "PRESETS/" under the current directory as it was when first asked; a
  // later change of the current directory does not move it.
  static PresetStore& Default();

  const std::filesystem::path& Folder() const { return folder_; }

  // The reason a name cannot be a preset's file name, or nothing.
  static std::optional<std::string> NameProblem(const std::string& name);

  // Names, most recently written first, at most `maxCount`.
  std::vector<std::string> ListPresets(std::size_t maxCount) const;
  bool Exists(const std::string& name) const;
  // Creates or truncates the file and writes the lines in order.
  bool SavePreset(const std::string& name, const std::vector<std::string>& lines);
  // The file's lines without their ends; nothing when it cannot be read.
  std::optional<std::vector<std::string>> ReadPreset(const std::string& name);
  // Offers every line in file order, then sets the file's time to now so
  // that the preset is listed first. False, with nothing offered, when the
  // file cannot be read; false after the lines when the time cannot be set.
  bool ApplyPreset(const std::string& name, const std::function<void(const std::string& line)>& offer);
  bool DeletePreset(const std::string& name);

  std::string GetLastErrorText() const { return lastError_; }

 private:
  // The file of a valid name; otherwise the reason becomes the last error.
  std::optional<std::filesystem::path> FileOf(const std::string& name);

  std::filesystem::path folder_;
  std::string lastError_;
};

}  // namespace Sett
