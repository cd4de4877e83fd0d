#include "shell/settings/FilmMarks.h"

#include <algorithm>

namespace Sett {

void FilmMarks::SetFilm(std::int32_t first, std::int32_t last) {
  auto it = std::find_if(entries_.begin(), entries_.end(), [](const FilmMark& m) { return m.key == kFilmKey; });
  if (it == entries_.end()) entries_.push_back({kFilmKey, first, last});
  else *it = {kFilmKey, first, last};
}

std::optional<FilmMark> FilmMarks::Film() const {
  auto it = std::find_if(entries_.begin(), entries_.end(), [](const FilmMark& m) { return m.key == kFilmKey; });
  if (it == entries_.end()) return std::nullopt;
  return *it;
}

void FilmMarks::ForgetFilm() {
  std::erase_if(entries_, [](const FilmMark& m) { return m.key == kFilmKey; });
}

}  // namespace Sett
