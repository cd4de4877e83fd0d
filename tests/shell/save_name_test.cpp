// The film's file name: the extension replaced by ".avi" in the file-name
// part only; names that have no file name before their dot are refused.
#include <gtest/gtest.h>

#include "shell/app/save_name.h"

namespace {

TEST(SaveFileName, TheFileNamesExtensionBecomesAvi) {
  EXPECT_EQ(NormalizeSaveFileName("film.mp4"), "film.avi");
  EXPECT_EQ(NormalizeSaveFileName("film"), "film.avi");
  EXPECT_EQ(NormalizeSaveFileName("film.avi"), "film.avi");
  // Everything from the first dot of the file name goes.
  EXPECT_EQ(NormalizeSaveFileName("film.tar.gz"), "film.avi");
  EXPECT_EQ(NormalizeSaveFileName("/films/2009_03_03_14_05"), "/films/2009_03_03_14_05.avi");
}

TEST(SaveFileName, DotsInFoldersStay) {
  EXPECT_EQ(NormalizeSaveFileName("data.2/film"), "data.2/film.avi");
  EXPECT_EQ(NormalizeSaveFileName("/mnt/disk.1/data.2/film.x"), "/mnt/disk.1/data.2/film.avi");
  EXPECT_EQ(NormalizeSaveFileName("./film"), "./film.avi");
  EXPECT_EQ(NormalizeSaveFileName("../films/take"), "../films/take.avi");
}

TEST(SaveFileName, NamesWithoutAFileNameAreRefused) {
  for (const char* name : {"", ".avi", ".", "dir/.avi", "data.2/.hidden", "films/", "/", "a.b/"})
    EXPECT_EQ(NormalizeSaveFileName(name), std::nullopt) << '"' << name << '"';
}

}  // namespace
