#include "shell/settings/PresetStore.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/kernel/text_codec.h"

namespace Sett {

namespace fs = std::filesystem;

PresetStore& PresetStore::Default() {
  static PresetStore store([] {
    std::error_code ec;
    const fs::path here = fs::current_path(ec);
    // Without a current directory the folder stays relative, the best left.
    return (ec ? fs::path() : here) / "PRESETS" / "";
  }());
  return store;
}

std::optional<std::string> PresetStore::NameProblem(const std::string& name) {
  if (name.empty()) return kEmptyPresetNameText;
  // Either separator would reach another folder on one of the systems the
  // presets travel between; "." and ".." name folders, not files.
  if (name == "." || name == ".." || name.find_first_of(std::string("/\\\0", 3)) != std::string::npos)
    return kBadPresetNameText;
  return std::nullopt;
}

std::optional<fs::path> PresetStore::FileOf(const std::string& name) {
  if (auto problem = NameProblem(name)) {
    lastError_ = *problem;
    return std::nullopt;
  }
  return folder_ / name;
}

std::vector<std::string> PresetStore::ListPresets(std::size_t maxCount) const {
  struct Entry {
    fs::file_time_type time;
    std::string name;
  };
  std::vector<Entry> entries;
  std::error_code ec;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code entryError;
    if (it->is_directory(entryError)) continue;
    const auto time = it->last_write_time(entryError);
    if (entryError) continue;  // gone since the folder was read
    entries.push_back({time, it->path().filename().string()});
  }
  // Newest first; equal times in name order so the menus do not shuffle.
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.time != b.time ? a.time > b.time : a.name < b.name; });
  std::vector<std::string> names;
  for (std::size_t i = 0; i < entries.size() && i < maxCount; ++i) names.push_back(std::move(entries[i].name));
  return names;
}

bool PresetStore::Exists(const std::string& name) const {
  std::error_code ec;
  return !NameProblem(name) && fs::exists(folder_ / name, ec);
}

bool PresetStore::SavePreset(const std::string& name, const std::vector<std::string>& lines) {
  const auto file = FileOf(name);
  if (!file) return false;
  std::error_code ec;
  fs::create_directories(folder_, ec);  // an existing folder is fine
  std::ofstream out(*file, std::ios::binary | std::ios::trunc);
  for (const std::string& line : lines) {
    // A text that carries its own line feed gets no second line break.
    const std::string text = line.find('\n') == std::string::npos ? line + "\n" : line;
    out << plat::toCrlf(plat::utf8ToCp1251(text));
  }
  out.close();
  if (!out) {
    lastError_ = "Не удалось записать файл набора " + file->string();
    return false;
  }
  return true;
}

std::optional<std::vector<std::string>> PresetStore::ReadPreset(const std::string& name) {
  const auto file = FileOf(name);
  if (!file) return std::nullopt;
  std::ifstream in(*file, std::ios::binary);
  std::error_code ec;
  if (!in || fs::is_directory(*file, ec)) {
    lastError_ = "Не удалось открыть файл набора " + file->string();
    return std::nullopt;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string text = plat::cp1251ToUtf8(bytes);
  std::vector<std::string> lines;
  for (std::string_view line : plat::splitLines(text)) lines.emplace_back(line);
  return lines;
}

bool PresetStore::ApplyPreset(const std::string& name, const std::function<void(const std::string&)>& offer) {
  const auto lines = ReadPreset(name);
  if (!lines) return false;
  for (const std::string& line : *lines) offer(line);
  std::error_code ec;
  fs::last_write_time(folder_ / name, fs::file_time_type::clock::now(), ec);
  if (ec) {
    lastError_ = "Не удалось обновить время файла набора " + (folder_ / name).string() + ": " + ec.message();
    return false;
  }
  return true;
}

bool PresetStore::DeletePreset(const std::string& name) {
  const auto file = FileOf(name);
  if (!file) return false;
  std::error_code ec;
  if (!fs::remove(*file, ec)) {
    lastError_ = "Не удалось удалить набор " + name + (ec ? ": " + ec.message() : std::string());
    return false;
  }
  return true;
}

}  // namespace Sett
