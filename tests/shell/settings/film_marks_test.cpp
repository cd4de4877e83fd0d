// The film's first and last frame kept beside the settings.
#include <gtest/gtest.h>

#include "shell/settings/FilmMarks.h"

namespace kel::test {
namespace {

TEST(FilmMarks, OneFilmEntryIsReplacedNotAddedAndForgottenForANewFilm) {
  Sett::FilmMarks marks;
  EXPECT_FALSE(marks.Film());
  marks.SetFilm(0, 99);
  marks.SetFilm(10, 20);
  ASSERT_TRUE(marks.Film());
  EXPECT_EQ(marks.Film()->first, 10);
  EXPECT_EQ(marks.Film()->last, 20);
  EXPECT_EQ(marks.Entries().size(), 1u);
  marks.ForgetFilm();
  EXPECT_FALSE(marks.Film());
}

}  // namespace
}  // namespace kel::test
