// The process's font handles: each stands for a font description and the
// face opened for it. Handles are never reused, so a deleted handle cannot
// come back as another font; a face in use outlives the deletion of its
// handle through the shared pointer its user holds.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/font/font_face.h"
#include "platform/font/gdi_font.h"

namespace plat {

class FontTable {
 public:
  // The pixel height of the stock font and of descriptions with height 0.
  static constexpr int kDefaultPixelHeight = 12;

  static FontTable& instance();

  // Null when no installed font can stand for the description.
  HFONT create(const LOGFONTW& description);
  // False for an unknown handle; true (and nothing removed) for the stock font.
  bool remove(HFONT font);
  std::optional<LOGFONTW> description(HFONT font) const;
  // The match for "sans-serif", opened on first use; null when none exists.
  HFONT stockFont();

  // The face behind `font`; the stock font's for null, deleted and unknown
  // handles. Null only when not even the stock font can be opened.
  std::shared_ptr<const FontFace> acquire(HFONT font);

 private:
  struct Entry {
    LOGFONTW description;
    std::shared_ptr<const FontFace> face;
  };

  HFONT insert(Entry entry);

  mutable std::mutex mutex_;
  std::unordered_map<std::uintptr_t, Entry> fonts_;
  std::uintptr_t next_ = 0x0F000001;
  std::optional<std::uintptr_t> stock_;
  std::mutex stockCreation_;
};

}  // namespace plat
