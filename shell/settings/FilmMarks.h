// First and last frame of the recorded film (or of the fragment chosen for
// saving), kept by the application beside the setting store. Only the entry
// with key 0 is used; writers replace it, readers take the first one.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

namespace Sett {

struct FilmMark {
  std::int32_t key = 0;
  std::int32_t first = 0;
  std::int32_t last = 0;
};

class FilmMarks {
 public:
  static constexpr std::int32_t kFilmKey = 0;

  // Replaces the key-0 entry, or appends one when there is none.
  void SetFilm(std::int32_t first, std::int32_t last);
  // The first key-0 entry.
  std::optional<FilmMark> Film() const;
  // Deletes the key-0 entries (a new film is coming).
  void ForgetFilm();

  const std::vector<FilmMark>& Entries() const { return entries_; }

 private:
  std::vector<FilmMark> entries_;
};

}  // namespace Sett
