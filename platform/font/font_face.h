// One opened font at one size: its metrics, text measuring and the rendered
// glyphs text drawing places. Safe to use from several threads at once; the
// glyphs are rendered once and kept.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/font/font_match.h"

namespace plat {

struct FontMetrics {
  int ascent = 0;           // baseline below the top of a line
  int descent = 0;          // below the baseline
  int height = 0;           // ascent + descent: the height of a line of text
  int externalLeading = 0;  // extra space the font asks for between lines
  int lineHeight() const { return height + externalLeading; }
};

struct TextExtent {
  int width = 0;
  int height = 0;
};

// Antialiased coverage of one glyph, 0 (none) to 255 (full), row by row.
struct GlyphImage {
  std::vector<std::uint8_t> coverage;
  int width = 0;
  int rows = 0;
  int left = 0;     // from the pen position to the first column
  int top = 0;      // from the baseline up to the first row
  int advance = 0;  // whole pixels to the next pen position
};

class FontFace {
 public:
  // `cellHeight` follows LOGFONT's lfHeight: negative = pixel height of the
  // characters, positive = height of a line, 0 = `defaultPixelHeight`.
  // Throws std::runtime_error when the file cannot be opened or sized, or
  // the height is beyond 2000 pixels either way.
  FontFace(const FontMatch& match, int cellHeight, int defaultPixelHeight);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const FontMetrics& metrics() const { return metrics_; }
  const std::string& family() const { return family_; }
  int pixelHeight() const { return pixelHeight_; }

  // Width is the sum of the advances (no kerning); height is the line height
  // without leading, whatever the text, as for one line of drawn text.
  TextExtent measure(std::string_view utf8) const;

  // Calls `place` with each glyph and its pen position from the start of the
  // text, under the face's lock (so `place` must not use this face).
  // Invalid UTF-8 bytes show as U+FFFD.
  void forEachGlyph(std::string_view utf8, const std::function<void(const GlyphImage&, int pen)>& place) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  FontMetrics metrics_;
  std::string family_;
  int pixelHeight_ = 0;
};

}  // namespace plat
