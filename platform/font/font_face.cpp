#include "platform/font/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <string>
#include <unordered_map>

namespace plat {
namespace {

// Enough for every text the overlay and the views print; a text with more
// distinct characters simply renders the rest again next time.
constexpr std::size_t kGlyphCacheLimit = 2048;

constexpr char32_t kReplacement = 0xFFFD;

// Larger text than any screen or frame shows; keeps glyph bitmaps bounded.
constexpr int kMaxPixelHeight = 2000;

// Decodes one code point at `i` and moves past it; malformed sequences give
// U+FFFD and move one byte on.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int length = 0;
  char32_t cp = 0;
  if ((b0 & 0xE0) == 0xC0) {
    length = 2;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    length = 3;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    length = 4;
    cp = b0 & 0x07;
  } else {
    ++i;
    return kReplacement;
  }
  if (i + length > s.size()) {
    ++i;
    return kReplacement;
  }
  for (int k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return kReplacement;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr char32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return kReplacement;
  }
  i += length;
  return cp;
}

int ceil26_6(FT_Pos v) { return static_cast<int>((v + 63) >> 6); }

}  // namespace

struct FontFace::Impl {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  bool embolden = false;
  bool oblique = false;
  std::mutex mutex;
  std::unordered_map<char32_t, GlyphImage> glyphs;

  ~Impl() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }

  // Renders a glyph; a glyph FreeType refuses is drawn as nothing with no
  // advance, so one broken glyph does not stop the rest of the text.
  GlyphImage render(char32_t cp) {
    GlyphImage image;
    const FT_UInt index = FT_Get_Char_Index(face, cp);
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) return image;
    FT_GlyphSlot slot = face->glyph;
    if (embolden) FT_GlyphSlot_Embolden(slot);
    if (oblique) FT_GlyphSlot_Oblique(slot);
    image.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return image;
    const FT_Bitmap& bm = slot->bitmap;
    image.width = static_cast<int>(bm.width);
    image.rows = static_cast<int>(bm.rows);
    image.left = slot->bitmap_left;
    image.top = slot->bitmap_top;
    image.coverage.resize(static_cast<std::size_t>(image.width) * image.rows);
    const int pitch = std::abs(bm.pitch);
    for (int r = 0; r < image.rows; ++r) {
      const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(bm.pitch >= 0 ? r : image.rows - 1 - r) * pitch;
      std::uint8_t* out = image.coverage.data() + static_cast<std::size_t>(r) * image.width;
      for (int c = 0; c < image.width; ++c) {
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
          out[c] = (row[c >> 3] & (0x80 >> (c & 7))) ? 255 : 0;
        else
          out[c] = static_cast<std::uint8_t>(bm.num_grays == 256 || bm.num_grays < 2
                                                 ? row[c]
                                                 : row[c] * 255 / (bm.num_grays - 1));
      }
    }
    return image;
  }

  const GlyphImage& glyph(char32_t cp) {
    auto it = glyphs.find(cp);
    if (it != glyphs.end()) return it->second;
    if (glyphs.size() >= kGlyphCacheLimit) glyphs.clear();
    return glyphs.emplace(cp, render(cp)).first->second;
  }
};

FontFace::FontFace(const FontMatch& match, int cellHeight, int defaultPixelHeight)
    : impl_(std::make_unique<Impl>()), family_(match.family) {
  if (FT_Init_FreeType(&impl_->library) != 0) throw std::runtime_error("FreeType could not start");
  if (FT_New_Face(impl_->library, match.file.c_str(), match.index, &impl_->face) != 0)
    throw std::runtime_error("the font file " + match.file + " could not be opened");
  FT_Face face = impl_->face;
  if (!FT_IS_SCALABLE(face)) throw std::runtime_error("the font file " + match.file + " is not scalable");
  impl_->embolden = match.embolden;
  impl_->oblique = match.oblique;

  if (cellHeight < -kMaxPixelHeight || cellHeight > kMaxPixelHeight)
    throw std::runtime_error("font height " + std::to_string(cellHeight) + " is out of range");
  int pixels = defaultPixelHeight;
  if (cellHeight < 0) {
    pixels = -cellHeight;
  } else if (cellHeight > 0) {
    // A cell height counts ascent and descent; the Windows metrics of the
    // face are the ones that definition uses, the general ones stand in.
    long cellUnits = face->ascender - face->descender;
    if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 && os2->usWinAscent + os2->usWinDescent > 0)
      cellUnits = os2->usWinAscent + os2->usWinDescent;
    if (cellUnits <= 0) cellUnits = face->units_per_EM;
    pixels = static_cast<int>(std::lround(static_cast<double>(cellHeight) * face->units_per_EM / cellUnits));
  }
  pixelHeight_ = pixels < 1 ? 1 : pixels;
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight_)) != 0)
    throw std::runtime_error("the font file " + match.file + " cannot be sized");

  const FT_Size_Metrics& m = face->size->metrics;
  metrics_.ascent = ceil26_6(m.ascender);
  metrics_.descent = ceil26_6(-m.descender);
  metrics_.height = metrics_.ascent + metrics_.descent;
  const int lineSpacing = ceil26_6(m.height);
  metrics_.externalLeading = lineSpacing > metrics_.height ? lineSpacing - metrics_.height : 0;
}

FontFace::~FontFace() = default;

TextExtent FontFace::measure(std::string_view utf8) const {
  TextExtent extent{0, metrics_.height};
  std::lock_guard lock(impl_->mutex);
  for (std::size_t i = 0; i < utf8.size();) extent.width += impl_->glyph(nextCodePoint(utf8, i)).advance;
  return extent;
}

void FontFace::forEachGlyph(std::string_view utf8,
                            const std::function<void(const GlyphImage&, int pen)>& place) const {
  std::lock_guard lock(impl_->mutex);
  int pen = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const GlyphImage& g = impl_->glyph(nextCodePoint(utf8, i));
    place(g, pen);
    pen += g.advance;
  }
}

}  // namespace plat
