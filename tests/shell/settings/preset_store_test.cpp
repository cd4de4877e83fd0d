// The preset folder: listing newest first, saving in code page 1251 with
// CRLF, reading CRLF or LF, applying (which touches the file), deleting, and
// names that would leave the folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "platform/kernel/text_codec.h"
#include "shell/settings/PresetStore.h"
#include "tests/support/temp_env.h"

namespace kel::test {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

std::string bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Presets : public ::testing::Test {
 protected:
  // Writes a preset whose file time is `age` seconds in the past.
  void write(const std::string& name, int age) {
    ASSERT_TRUE(store.SavePreset(name, {"1;x;2"})) << store.GetLastErrorText();
    fs::last_write_time(dir / "PRESETS" / name, now - std::chrono::seconds(age));
  }
  TempDir dir;
  Sett::PresetStore store{dir / "PRESETS" / ""};
  fs::file_time_type now = fs::file_time_type::clock::now();
};

TEST_F(Presets, AnAbsentFolderListsNothing) { EXPECT_TRUE(store.ListPresets(Sett::kListedPresets).empty()); }

TEST_F(Presets, NewestFirstCutForTheMenu) {
  write("c", 30);
  write("a", 10);
  write("f", 60);
  write("b", 20);
  write("e", 50);
  write("d", 40);
  fs::create_directory(dir / "PRESETS" / "folder");
  EXPECT_EQ(store.ListPresets(Sett::kMenuPresets), (Names{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(store.ListPresets(Sett::kListedPresets), (Names{"a", "b", "c", "d", "e", "f"}));
}

TEST_F(Presets, ApplyingOffersTheLinesInOrderAndMovesThePresetToTheTop) {
  write("old", 100);
  write("new", 10);
  ASSERT_TRUE(store.SavePreset("old", {"1;a;2", "3;b;4;5"}));
  fs::last_write_time(dir / "PRESETS" / "old", now - std::chrono::seconds(100));
  ASSERT_EQ(store.ListPresets(1), (Names{"new"}));
  Names offered;
  ASSERT_TRUE(store.ApplyPreset("old", [&](const std::string& line) { offered.push_back(line); }));
  EXPECT_EQ(offered, (Names{"1;a;2", "3;b;4;5"}));
  EXPECT_EQ(store.ListPresets(1), (Names{"old"}));

  offered.clear();
  EXPECT_FALSE(store.ApplyPreset("missing", [&](const std::string& line) { offered.push_back(line); }));
  EXPECT_TRUE(offered.empty());
}

TEST_F(Presets, FilesAreCodePage1251WithCrlfAndReadWithEitherLineEnd) {
  ASSERT_TRUE(store.SavePreset("Набор 1", {"4194314;Усиление;7;Raw", "4194308;Событие;Внешнее\n"}));
  const fs::path file = dir / "PRESETS" / "Набор 1";
  EXPECT_EQ(bytesOf(file), plat::utf8ToCp1251("4194314;Усиление;7;Raw\r\n4194308;Событие;Внешнее\r\n"))
      << "a line with its own line feed gets no second break";

  std::ofstream(file, std::ios::binary) << plat::utf8ToCp1251("1;Окно;2\n3;Кадр;4;Raw\r\n");
  const auto lines = store.ReadPreset("Набор 1");
  ASSERT_TRUE(lines);
  EXPECT_EQ(*lines, (Names{"1;Окно;2", "3;Кадр;4;Raw"}));

  ASSERT_TRUE(store.SavePreset("Набор 1", {"5;x;6"}));
  EXPECT_EQ(bytesOf(file), "5;x;6\r\n") << "saving again truncates";
}

TEST_F(Presets, NamesThatLeaveTheFolderAreRefused) {
  for (const std::string name : {"../outside", "sub/name", "..", ".", "a\\b", ""}) {
    EXPECT_FALSE(store.SavePreset(name, {"1;x;2"})) << name;
    EXPECT_FALSE(store.GetLastErrorText().empty());
    EXPECT_FALSE(store.ReadPreset(name)) << name;
    EXPECT_FALSE(store.DeletePreset(name)) << name;
  }
  EXPECT_EQ(Sett::PresetStore::NameProblem("../outside"), Sett::kBadPresetNameText);
  EXPECT_EQ(Sett::PresetStore::NameProblem(""), Sett::kEmptyPresetNameText);
  EXPECT_FALSE(fs::exists(dir / "outside"));
  EXPECT_TRUE(store.ListPresets(Sett::kListedPresets).empty());
  EXPECT_TRUE(store.SavePreset("..name with dots.", {"1;x;2"})) << "dots inside a name are fine";
}

TEST_F(Presets, DeletingRemovesTheFileOnlyWhenItExists) {
  write("gone", 1);
  EXPECT_TRUE(store.Exists("gone"));
  EXPECT_TRUE(store.DeletePreset("gone"));
  EXPECT_FALSE(store.Exists("gone"));
  EXPECT_FALSE(store.DeletePreset("gone"));
  EXPECT_FALSE(store.GetLastErrorText().empty());
}

TEST(PresetFolder, IsFixedAtFirstUseUnderTheCurrentDirectory) {
  TempDir first, second;
  const fs::path before = fs::current_path();
  fs::current_path(first.path());
  const fs::path folder = Sett::PresetStore::Default().Folder();
  fs::current_path(second.path());
  const fs::path later = Sett::PresetStore::Default().Folder();
  fs::current_path(before);
  EXPECT_EQ(folder, fs::canonical(first.path()) / "PRESETS" / "");
  EXPECT_EQ(later, folder);
}

}  // namespace
}  // namespace kel::test
