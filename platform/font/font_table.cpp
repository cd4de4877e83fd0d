#include "platform/font/font_table.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "platform/kernel/text_codec.h"

namespace plat {
namespace {

std::uintptr_t key(HFONT font) { return reinterpret_cast<std::uintptr_t>(font); }

std::string faceName(const LOGFONTW& d) {
  const WCHAR* end = std::find(d.lfFaceName, d.lfFaceName + LF_FACESIZE, u'\0');
  return utf16ToUtf8(std::u16string_view(d.lfFaceName, static_cast<std::size_t>(end - d.lfFaceName)));
}

// Opens the face for a description; null (with the reason on stderr, as
// CreateFontIndirect has no error channel) when it cannot.
std::shared_ptr<const FontFace> openFace(const LOGFONTW& d) {
  const auto match = matchFont(faceName(d), d.lfWeight, d.lfItalic != 0);
  if (!match) {
    std::fprintf(stderr, "font: no installed font can stand for \"%s\"\n", faceName(d).c_str());
    return nullptr;
  }
  try {
    return std::make_shared<const FontFace>(*match, d.lfHeight, FontTable::kDefaultPixelHeight);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "font: %s\n", e.what());
    return nullptr;
  }
}

}  // namespace

FontTable& FontTable::instance() {
  static FontTable table;
  return table;
}

HFONT FontTable::insert(Entry entry) {
  std::lock_guard lock(mutex_);
  const std::uintptr_t id = next_++;
  fonts_.emplace(id, std::move(entry));
  return reinterpret_cast<HFONT>(id);
}

HFONT FontTable::create(const LOGFONTW& description) {
  // Opening a face is slow; the table stays free for drawing meanwhile.
  auto face = openFace(description);
  if (!face) return nullptr;
  return insert(Entry{description, std::move(face)});
}

bool FontTable::remove(HFONT font) {
  std::lock_guard lock(mutex_);
  if (stock_ && *stock_ == key(font)) return true;
  return fonts_.erase(key(font)) != 0;
}

std::optional<LOGFONTW> FontTable::description(HFONT font) const {
  std::lock_guard lock(mutex_);
  const auto it = fonts_.find(key(font));
  if (it == fonts_.end()) return std::nullopt;
  return it->second.description;
}

HFONT FontTable::stockFont() {
  std::lock_guard creation(stockCreation_);
  {
    std::lock_guard lock(mutex_);
    if (stock_) return reinterpret_cast<HFONT>(*stock_);
  }
  LOGFONTW d{};
  d.lfHeight = -kDefaultPixelHeight;
  d.lfWeight = FW_NORMAL;
  auto face = openFace(d);
  if (!face) return nullptr;
  // Read back, the stock font names the family it was matched to.
  const std::u16string family = utf8ToUtf16(face->family());
  std::copy_n(family.begin(), std::min<std::size_t>(family.size(), LF_FACESIZE - 1), d.lfFaceName);
  const HFONT handle = insert(Entry{d, std::move(face)});
  std::lock_guard lock(mutex_);
  stock_ = key(handle);
  return handle;
}

std::shared_ptr<const FontFace> FontTable::acquire(HFONT font) {
  if (font) {
    std::lock_guard lock(mutex_);
    const auto it = fonts_.find(key(font));
    if (it != fonts_.end()) return it->second.face;
  }
  const HFONT stock = stockFont();
  if (!stock) return nullptr;
  std::lock_guard lock(mutex_);
  return fonts_.at(key(stock)).face;
}

}  // namespace plat
