// Reads a film back with libavformat and libavcodec, as a player would.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kel::test {

struct ReadFilm {
  bool opened = false;
  std::string error;
  std::string codec;
  int width = 0;
  int height = 0;
  double frameRate = 0;
  int packets = 0;
  // Each decoded picture upright as packed BGR24, the top row first.
  std::vector<std::vector<std::uint8_t>> pictures;
};

ReadFilm readFilm(const std::filesystem::path& path);

// Mean absolute difference of two equally long byte runs.
double meanDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b);

}  // namespace kel::test
